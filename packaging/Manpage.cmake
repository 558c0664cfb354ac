# Writes a gzipped manual page, run at build time with cmake -P.
#
#   -DOUTPUT=dir/name.1.gz -DNAME=name -DVERSION=x.y.z
#   and either -DTEMPLATE=page.1.in   (a hand-written page; @VERSION@, @DATE@)
#   or         -DPROGRAM=path         (the page is made from `PROGRAM --help`,
#                                       or from the option in HELP_OPTION)
#
# The --help layout this understands: a "Usage: ..." line, a paragraph that
# describes the program (its first sentence becomes the NAME line), then
# blocks of lines; a line ending in ':' at the left margin heads a block, a
# line indented by two spaces starts an entry whose text follows after two
# or more blanks, and deeper indented lines continue that text.

cmake_minimum_required(VERSION 3.25)

foreach(required OUTPUT NAME VERSION)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "Manpage.cmake: ${required} is not set")
    endif()
endforeach()

# SOURCE_DATE_EPOCH, when set, makes the date reproducible.
string(TIMESTAMP DATE "%Y-%m-%d" UTC)
string(TOUPPER "${NAME}" TITLE)

# Roff treats backslashes and a leading dot or quote specially; options read
# better, and copy correctly, with their dashes as minus signs.
function(roff_text out text)
    string(REPLACE "\\" "\\e" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    string(REPLACE "--" "\\-\\-" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(roff_term out text)
    roff_text(text "${text}")
    string(REGEX REPLACE "([^\\])-" "\\1\\\\-" text "${text}")
    if(text MATCHES "^-")
        set(text "\\${text}")
    endif()
    set(${out} "\\fB${text}\\fR" PARENT_SCOPE)
endfunction()

if(DEFINED TEMPLATE)
    configure_file(${TEMPLATE} ${OUTPUT}.tmp @ONLY)
    file(READ ${OUTPUT}.tmp page)
    file(REMOVE ${OUTPUT}.tmp)
elseif(DEFINED PROGRAM)
    # Printing help must need no display.
    set(ENV{QT_QPA_PLATFORM} offscreen)
    if(NOT DEFINED HELP_OPTION)
        set(HELP_OPTION --help)
    endif()
    execute_process(COMMAND ${PROGRAM} ${HELP_OPTION}
                    OUTPUT_VARIABLE help ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR help STREQUAL "")
        message(FATAL_ERROR "${PROGRAM} ${HELP_OPTION} failed (${status}): ${errors}")
    endif()

    string(REPLACE ";" "\\;" help "${help}")
    string(REPLACE "\n" ";" lines "${help}")

    set(synopsis "")
    set(summary "")
    set(description "")
    set(body "")
    set(state start) # start -> description -> blocks
    set(in_entry OFF)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "[ \t]+$" "" line "${line}")
        if(state STREQUAL "start")
            if(line MATCHES "^Usage: *(.*)$")
                roff_text(usage "${CMAKE_MATCH_1}")
                set(synopsis ".SH SYNOPSIS\n${usage}\n")
                set(state description)
                continue()
            endif()
            set(state description)
        endif()
        if(state STREQUAL "description")
            if(line STREQUAL "")
                if(NOT description STREQUAL "")
                    set(state blocks)
                endif()
                continue()
            endif()
            string(APPEND description "${line} ")
            continue()
        endif()

        if(line STREQUAL "")
            string(APPEND body ".PP\n")
            set(in_entry OFF)
        elseif(line MATCHES "^([^ ].*):$")
            # "Heading (a remark):" becomes the heading and the remark below it.
            set(heading "${CMAKE_MATCH_1}")
            set(remark "")
            if(heading MATCHES "^([^(]*[^ (]) +\\((.*)\\)$")
                set(heading "${CMAKE_MATCH_1}")
                set(remark "${CMAKE_MATCH_2}")
            endif()
            string(TOUPPER "${heading}" heading)
            string(APPEND body ".SH \"${heading}\"\n")
            if(NOT remark STREQUAL "")
                string(SUBSTRING "${remark}" 0 1 first)
                string(SUBSTRING "${remark}" 1 -1 rest)
                string(TOUPPER "${first}" first)
                roff_text(remark "${first}${rest}")
                string(APPEND body "${remark}.\n")
            endif()
            set(in_entry OFF)
        elseif(line MATCHES "^  ([^ ]([^ ]| [^ ])*)(  +(.*))?$")
            roff_term(term "${CMAKE_MATCH_1}")
            string(APPEND body ".TP\n${term}\n")
            # An entry without text on its line leaves the group unset, not empty.
            if(NOT "${CMAKE_MATCH_4}" STREQUAL "")
                roff_text(text "${CMAKE_MATCH_4}")
                string(APPEND body "${text}\n")
            endif()
            set(in_entry ON)
        elseif(line MATCHES "^ ")
            string(REGEX REPLACE "^ +" "" line "${line}")
            roff_text(text "${line}")
            string(APPEND body "${text}\n")
        else()
            # Text at the left margin after an entry is a paragraph of its own.
            if(in_entry)
                string(APPEND body ".PP\n")
                set(in_entry OFF)
            endif()
            roff_text(text "${line}")
            string(APPEND body "${text}\n")
        endif()
    endforeach()

    string(STRIP "${description}" description)
    set(summary "${description}")
    if(description MATCHES "^([^.]*)\\.( |$)")
        set(summary "${CMAKE_MATCH_1}")
    endif()
    if(summary MATCHES "^(A|An|The) (.*)$")
        set(summary "${CMAKE_MATCH_2}")
    endif()
    string(SUBSTRING "${summary}" 0 1 first)
    string(SUBSTRING "${summary}" 1 -1 rest)
    string(TOLOWER "${first}" first)
    set(summary "${first}${rest}")
    roff_text(summary "${summary}")
    roff_text(description "${description}")
    # A block heading right after the description would otherwise be missing.
    if(NOT body MATCHES "^\\.SH")
        set(body ".SH OPTIONS\n${body}")
    endif()

    set(page ".TH ${TITLE} 1 \"${DATE}\" \"${NAME} ${VERSION}\" \"User Commands\"\n")
    string(APPEND page ".SH NAME\n${NAME} \\- ${summary}\n")
    string(APPEND page "${synopsis}")
    string(APPEND page ".SH DESCRIPTION\n${description}\n")
    string(REGEX REPLACE "\\.PP\n(\\.SH|$)" "\\1" body "${body}")
    string(APPEND page "${body}")
else()
    message(FATAL_ERROR "Manpage.cmake: set TEMPLATE or PROGRAM")
endif()

# Debian installs manual pages gzipped at the highest level.
get_filename_component(folder ${OUTPUT} DIRECTORY)
get_filename_component(plain ${OUTPUT} NAME_WLE)
file(WRITE ${folder}/${plain} "${page}")
file(ARCHIVE_CREATE OUTPUT ${OUTPUT} PATHS ${folder}/${plain}
     FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
