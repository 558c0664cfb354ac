#include "platform/qt/ConsolePlatform.h"

#include <QDir>

#include <cctype>
#include <cstdio>
#include <iostream>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#endif

namespace orvane {

namespace {

constexpr int kDefaultColumns = 80;

// Message texts end lines with CR LF, as the windows want them.
std::string plainLines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != '\r')
            out += c;
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace

void ConsoleDialogs::print(const std::string &title,
                           const std::string &text,
                           const std::string &answer)
{
    if (m_beforePrint)
        m_beforePrint();
    std::string line = "orvane: ";
    if (!title.empty())
        line += title + ": ";
    line += plainLines(text);
    if (!answer.empty())
        line += " [" + answer + "]";
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

MessageAnswer ConsoleDialogs::messageBox(const std::string &text,
                                         const std::string &title,
                                         MessageIcon,
                                         MessageButtons buttons)
{
    if (buttons == MessageButtons::Ok) {
        print(title, text, {});
        return MessageAnswer::Ok;
    }
    if (m_approved == 0 && m_askAtTerminal) {
        print(title, text, {});
        return askYesNo("Yes or no?") ? MessageAnswer::Yes : MessageAnswer::No;
    }
    const bool yes = m_approved > 0;
    if (yes)
        --m_approved;
    print(title, text, yes ? "Yes" : "No");
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string
ConsoleDialogs::inputBox(const std::string &prompt, const std::string &title, const std::string &)
{
    print(title, prompt, "Cancel");
    return {};
}

bool standardInputIsTerminal()
{
#ifdef Q_OS_UNIX
    return isatty(STDIN_FILENO) == 1;
#elif defined(Q_OS_WIN)
    return _isatty(_fileno(stdin)) != 0;
#else
    return false;
#endif
}

bool standardErrorIsTerminal()
{
#ifdef Q_OS_UNIX
    return isatty(STDERR_FILENO) == 1;
#elif defined(Q_OS_WIN)
    return _isatty(_fileno(stderr)) != 0;
#else
    return false;
#endif
}

int terminalColumns()
{
#ifdef Q_OS_UNIX
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return kDefaultColumns;
}

std::optional<std::string> readStandardInputLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool askYesNo(const std::string &question)
{
    std::fprintf(stderr, "%s [y/N] ", question.c_str());
    std::fflush(stderr);
    const auto answer = readStandardInputLine();
    if (!answer)
        return false;
    std::string word;
    for (const char c : *answer)
        if (c != ' ')
            word += char(std::tolower(static_cast<unsigned char>(c)));
    return word == "y" || word == "yes";
}

std::string currentFolder()
{
    return QDir::currentPath().toStdString();
}

} // namespace orvane
