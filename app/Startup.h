#pragma once

#include "app/AppState.h"
#include "link/ByteLink.h"
#include "platform/Platform.h"

#include <string>

namespace orvane {

// What the start-up sequence, New and Exit need of the windows.
class ShellView
{
public:
    virtual ~ShellView() = default;
    // Creates the factory window hidden and places it, once.
    virtual void createFactoryWindow() = 0;
    // True once the first display list holds more than one item.
    virtual bool pickListsFilled() = 0;
    // Fills every pick list once, in their fixed order, and selects the
    // first entry of the lists that start selected.
    virtual void fillPickLists() = 0;
    // Copies the identification values into the windows that show them.
    virtual void showIdentity() = 0;
    virtual void setDataFrameCaption(const std::string &caption) = 0;
    virtual void setCommsPortLabel(const std::string &caption) = 0;
    // Shows the first damping value and the first time-of-day alarm.
    virtual void showFirstDampingAndAlarm() = 0;
    // Reloads the preview, the panel and the limit labels from the image.
    virtual void redraw() = 0;
    // Selects configuration 1 with its captions and focus, after New.
    virtual void selectFirstConfiguration() = 0;
    // Closes every window, the most recently opened first.
    virtual void closeAllWindows() = 0;
};

// The start values of every run of the start-up sequence.
void setStartValues(AppState &state, ByteLink &link);

// Values set only on the first run, when the lists are still empty.
void setFirstRunValues(AppState &state, ByteLink &link);

// Chooses the folder that relative file names resolve against: the program's
// folder, or the per-user data folder for an installed copy or when the
// program's folder is not writable.
std::string chooseWorkingFolder(FileSystem &files);

struct StartupResult
{
    bool readDefaultFile = false; // false: factory defaults were used
    Result<> rewrite;             // outcome of rewriting the working file, when it was
};

// The main window's load: start values, factory window, working folder, pick
// lists on the first run, then the working file or the factory defaults.
StartupResult runStartup(AppState &state, ByteLink &link, Platform &platform, ShellView &view);

// File New: asks, then reloads the start state and applies the factory
// defaults. Returns false when the user said No.
bool newConfiguration(AppState &state, ByteLink &link, Platform &platform, ShellView &view);

// Asks once whether to save the working file, then closes the windows and the
// port; the caller ends the process. False when the program must stay open:
// an exchange is running, or the save the user asked for failed.
bool QuitProgram(AppState &state, ByteLink &link, Platform &platform, ShellView &view);

} // namespace orvane
