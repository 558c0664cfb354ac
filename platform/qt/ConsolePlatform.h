#pragma once

#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtSerialPort.h"

#include <functional>
#include <optional>
#include <string>

// The platform of a program without windows: message boxes become lines on
// standard error, and nothing waits for a user who may not be there. A
// question is answered Yes when the program approved it beforehand (its user
// gave --yes), asked at the terminal when told to, and otherwise answered No;
// an input box is cancelled.

namespace orvane {

class ConsoleDialogs : public UserDialogs
{
public:
    // The next `count` Yes/No questions are answered Yes.
    void approveQuestions(int count) { m_approved = count; }
    // Questions that were not approved are asked on standard input.
    void setAskAtTerminal(bool ask) { m_askAtTerminal = ask; }
    // Runs before every line printed, e.g. to end a progress bar's line.
    void setBeforePrint(std::function<void()> hook) { m_beforePrint = std::move(hook); }

    void beep() override {}
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string &prompt,
                         const std::string &title,
                         const std::string &defaultText) override;
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override { return {}; }

private:
    void print(const std::string &title, const std::string &text, const std::string &answer);

    int m_approved = 0;
    bool m_askAtTerminal = false;
    std::function<void()> m_beforePrint;
};

// The platform of the command-line tool.
class ConsolePlatform
{
public:
    QtClock clock;
    QtEventPump pump;
    ConsoleDialogs dialogs;
    QtFileSystem files;
    QtSerialPort port;

    Platform platform{clock, pump, dialogs, files, port};
};

// Whether standard input / standard error are a terminal (not a pipe or file).
bool standardInputIsTerminal();
bool standardErrorIsTerminal();
// The terminal's width in columns, 80 where it cannot be told.
int terminalColumns();
// One line typed on standard input, without its line end; none at the end of
// the input.
std::optional<std::string> readStandardInputLine();
// Prints the question on standard error and reads the answer: true for "y"
// or "yes" in any case.
bool askYesNo(const std::string &question);
// The folder the program was started in.
std::string currentFolder();

} // namespace orvane
