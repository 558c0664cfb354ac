# Runs the layer check over a small tree with one include of each kind it
# must refuse, and expects exactly those, each with its file and line (the
# simulator's POSIX header is allowed).
#
#   cmake -DCHECK=<CheckLayers.cmake> -DLAYERS_FILE=<Layers.cmake> -DTREE=<tree> -P ...

cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -DLAYERS_FILE=${LAYERS_FILE}
                        -P ${CHECK}
                RESULT_VARIABLE result
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)

set(expected
    "editors/Panel.cpp:3: includes app/AppState.h: editors may not include app"
    "editors/Panel.cpp:4: includes editors/ui/Window.h: editors may not include editors/ui"
    "editors/ui/Window.cpp:4: includes app/ui/frmMain.h: editors/ui may not include app/ui"
    "editors/ui/Window.cpp:5: includes ui_frmMain.h, the form of a window in another folder"
    "link/Frames.cpp:2: includes gtest/gtest.h, which is in no layer"
    "link/Frames.cpp:4: includes <unistd.h>, a POSIX header: link must build for Windows too"
    "sim/Core.cpp:3: includes link/Commands.h: sim may not include link"
    "transfer/ui/Dialog.cpp:2: includes editors/ui/Window.h: transfer/ui may not include editors/ui"
    "transfer/ui/Dialog.cpp:4: includes factory/Tools.h: transfer/ui may not include factory")

if(result EQUAL 0)
    message(FATAL_ERROR "the check passed a tree with upward includes:\n${output}")
endif()
string(REGEX MATCHALL "[^\n]*: includes [^\n]*" reported "${output}")
if(NOT reported STREQUAL expected)
    string(REPLACE ";" "\n" reported "${reported}")
    string(REPLACE ";" "\n" expected "${expected}")
    message(FATAL_ERROR "reported:\n${reported}\nexpected:\n${expected}")
endif()
