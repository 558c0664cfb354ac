# Fails, naming file and line, when a source file includes a layer that
# Layers.cmake does not allow it, or a POSIX-only header outside the layers
# that may have one.
#
#   cmake -DSOURCE_DIR=<tree> -DLAYERS_FILE=<Layers.cmake> -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR OR NOT LAYERS_FILE)
    message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<tree> -DLAYERS_FILE=<file> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
include(${LAYERS_FILE})

# The layer a path inside the tree belongs to: a file with a row of its own,
# else its folder or <folder>/<sub-folder> where that is a layer; empty when
# the path is in no layer.
function(layer_of path result)
    if(DEFINED ORVANE_MAY_INCLUDE_${path})
        set(${result} ${path} PARENT_SCOPE)
        return()
    endif()
    string(REPLACE "/" ";" pieces "${path}")
    list(LENGTH pieces count)
    set(layer "")
    if(count GREATER 1)
        list(GET pieces 0 top)
        if(top IN_LIST ORVANE_LAYERS)
            set(layer ${top})
        endif()
    endif()
    if(count GREATER 2)
        list(GET pieces 1 sub)
        if("${top}/${sub}" IN_LIST ORVANE_LAYERS)
            set(layer ${top}/${sub})
        endif()
    endif()
    set(${result} "${layer}" PARENT_SCOPE)
endfunction()

set(top_folders "")
foreach(layer IN LISTS ORVANE_LAYERS)
    string(REGEX REPLACE "/.*" "" top ${layer})
    list(APPEND top_folders ${top})
endforeach()
list(REMOVE_DUPLICATES top_folders)

set(globs "")
foreach(top IN LISTS top_folders)
    list(APPEND globs ${SOURCE_DIR}/${top}/*.h ${SOURCE_DIR}/${top}/*.cpp)
endforeach()
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${globs})
list(SORT files)

set(violations "")
set(checked 0)
foreach(file IN LISTS files)
    layer_of(${file} own)
    if(NOT own)
        continue()
    endif()
    get_filename_component(folder ${file} DIRECTORY)
    set(allowed ${own} ${ORVANE_MAY_INCLUDE_${own}})
    # One list element per line: the characters that CMake's lists treat
    # specially are neutralised first.
    file(READ ${SOURCE_DIR}/${file} text)
    string(REGEX REPLACE "[][;\\]" "_" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>")
            set(header ${CMAKE_MATCH_1})
            if(header MATCHES "${ORVANE_POSIX_HEADERS}" AND NOT own IN_LIST ORVANE_POSIX_LAYERS)
                list(APPEND violations
                     "${file}:${number}: includes <${header}>, a POSIX header: ${own} must build for Windows too")
            endif()
            continue()
        endif()
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
            continue()
        endif()
        set(included ${CMAKE_MATCH_1})
        math(EXPR checked "${checked} + 1")
        if(included MATCHES "^ui_(.+)\\.h$")
            # A window's form belongs to the window.
            if(NOT EXISTS ${SOURCE_DIR}/${folder}/${CMAKE_MATCH_1}.ui)
                list(APPEND violations
                     "${file}:${number}: includes ${included}, the form of a window in another folder")
            endif()
            continue()
        endif()
        layer_of(${included} target)
        if(NOT target)
            list(APPEND violations "${file}:${number}: includes ${included}, which is in no layer")
        elseif(NOT target IN_LIST allowed)
            list(APPEND violations
                 "${file}:${number}: includes ${included}: ${own} may not include ${target}")
        endif()
    endforeach()
endforeach()

list(LENGTH files file_count)
if(violations)
    # One unwrapped line each, so that editors can jump to file and line.
    foreach(violation IN LISTS violations)
        message("${violation}")
    endforeach()
    list(LENGTH violations violation_count)
    message(FATAL_ERROR "${violation_count} include(s) against the layers in ${LAYERS_FILE}")
endif()
message(STATUS "${checked} includes in ${file_count} files follow the layers")
