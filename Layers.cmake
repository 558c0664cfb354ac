# The subsystems and what each layer may include. Read by the top
# CMakeLists.txt and by scripts/CheckLayers.cmake, which the test
# "layers.IncludesPointDown" runs over every source file.

# Each subsystem is a folder of plain C++ logic, with its windows in
# <subsystem>/ui.
set(ORVANE_SUBSYSTEMS app config link transfer editors factory)

# A file's layer is its folder (platform/qt, platform/posix and <subsystem>/ui
# are layers of their own), or the file itself where it has a row below. A
# file may include its own layer and the layers of its row; a window's
# generated form (ui_frmX.h) only from the folder that holds frmX.ui.
#
# Dependencies point down: platform <- config <- {link, editors} <- transfer
# <- factory <- app, each X/ui over X. No logic layer includes app/ or a ui/
# folder; windows include no other folder's windows except app/ui, which
# wires them; the simulator keeps its own reading of the protocol (no link/,
# no editors/).
set(ORVANE_LAYERS
    platform platform/posix platform/qt platform/sql sim
    config link editors transfer factory app
    link/ui editors/ui transfer/ui factory/ui app/ui cli)

# Headers that only POSIX systems have. Only these layers may include them
# (platform/qt behind its operating system's #ifdef, sim for the program
# orvane-sim); everything else also builds for Windows.
set(ORVANE_POSIX_HEADERS
    "^(unistd|fcntl|termios|pty|poll|dirent|dlfcn|grp|pwd|pthread|(sys|linux|arpa|netinet)/.+)\\.h$")
set(ORVANE_POSIX_LAYERS platform/posix platform/qt sim)

set(ORVANE_MAY_INCLUDE_platform "")
set(ORVANE_MAY_INCLUDE_platform/posix platform)
set(ORVANE_MAY_INCLUDE_platform/qt platform platform/posix)
# The production register on Qt SQL: the programs that keep records take it.
set(ORVANE_MAY_INCLUDE_platform/sql platform)
set(ORVANE_MAY_INCLUDE_sim platform platform/posix)

set(ORVANE_MAY_INCLUDE_config platform)
set(ORVANE_MAY_INCLUDE_link platform config)
set(ORVANE_MAY_INCLUDE_editors platform config)
set(ORVANE_MAY_INCLUDE_transfer platform config link editors)
set(ORVANE_MAY_INCLUDE_factory platform config link editors transfer)
set(ORVANE_MAY_INCLUDE_app platform config link editors transfer factory)

set(ORVANE_MAY_INCLUDE_link/ui ${ORVANE_MAY_INCLUDE_link} link)
set(ORVANE_MAY_INCLUDE_editors/ui ${ORVANE_MAY_INCLUDE_editors} editors)
set(ORVANE_MAY_INCLUDE_transfer/ui ${ORVANE_MAY_INCLUDE_transfer} transfer)
set(ORVANE_MAY_INCLUDE_factory/ui ${ORVANE_MAY_INCLUDE_factory} factory)
set(ORVANE_MAY_INCLUDE_app/ui ${ORVANE_MAY_INCLUDE_app} app
    link/ui editors/ui transfer/ui factory/ui)

# The editor's main(): makes the Qt platform, the production database and
# the main window.
set(ORVANE_MAY_INCLUDE_app/main.cpp app app/ui platform platform/qt platform/sql)

# The command-line tool: the logic of every subsystem and app's plain logic,
# over the platform of a program without windows, and the production
# records' database; never a window.
set(ORVANE_MAY_INCLUDE_cli
    platform platform/qt platform/posix platform/sql config link editors transfer factory app)
