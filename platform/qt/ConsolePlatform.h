#pragma once

#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/TerminationWatch.h"

#include <functional>
#include <optional>
#include <string>

// The platform of a program without windows: message boxes become lines on
// standard error, and nothing waits for a user who may not be there. A
// question is answered Yes when the program approved it beforehand (its user
// gave --yes), asked at the terminal when told to, and otherwise answered No;
// an input box is cancelled without a word (the program says what failed).
// Once a termination signal has arrived, questions are answered No.

namespace orvane {

class ConsoleDialogs : public UserDialogs
{
public:
    explicit ConsoleDialogs(const TerminationWatch &termination)
        : m_termination(termination)
    {}

    // The next `count` Yes/No questions are answered Yes.
    void approveQuestions(int count) { m_approved = count; }
    // Questions that were not approved are asked on standard input.
    void setAskAtTerminal(bool ask) { m_askAtTerminal = ask; }
    // Runs before every line printed, e.g. to end a progress bar's line.
    void setBeforePrint(std::function<void()> hook) { m_beforePrint = std::move(hook); }
    // Decides which messages (boxes with only OK) are printed, by their text;
    // all are without one.
    void setMessageFilter(std::function<bool(const std::string &)> shown)
    {
        m_shown = std::move(shown);
    }

    void beep() override {}
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string &, const std::string &, const std::string &) override
    {
        return {};
    }
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override { return {}; }

private:
    void print(const std::string &title, const std::string &text, const std::string &answer);

    const TerminationWatch &m_termination;
    int m_approved = 0;
    bool m_askAtTerminal = false;
    std::function<void()> m_beforePrint;
    std::function<bool(const std::string &)> m_shown;
};

// The platform of the command-line tool.
class ConsolePlatform
{
public:
    TerminationWatch termination;
    QtClock clock;
    QtEventPump pump;
    ConsoleDialogs dialogs{termination};
    QtFileSystem files;
    QtSerialPort port;

    Platform platform{clock, pump, dialogs, files, port};
};

// Whether standard input / standard error are a terminal (not a pipe or file).
bool standardInputIsTerminal();
bool standardErrorIsTerminal();
// The terminal's width in columns, 80 where it cannot be told.
int terminalColumns();
// Prints the question on standard error and reads the answer: true for "y"
// or "yes" in any case; false for anything else, the end of the input or a
// termination signal arriving meanwhile.
bool askYesNo(const std::string &question, const TerminationWatch &termination);
// The folder the program was started in.
std::string currentFolder();
// The variable's value; none when it is unset or empty.
std::optional<std::string> environmentValue(const char *name);
// Whether the path names an existing folder.
bool isFolder(const std::string &path);
// Whether two paths name one file: the same file reached through a link or
// another spelling ("./x" and "x"), also one that does not exist yet.
bool sameFile(const std::string &a, const std::string &b);
// A message's lines as one line for a terminal: carriage returns and empty
// lines dropped, the lines joined with a blank.
std::string oneLine(const std::string &text);

} // namespace orvane
