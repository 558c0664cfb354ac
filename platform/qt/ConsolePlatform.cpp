#include "platform/qt/ConsolePlatform.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cctype>
#include <cstdio>
#include <filesystem>
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

// One line typed on standard input, without its line end; none at the end of
// the input or when a termination signal arrives first.
std::optional<std::string> readStandardInputLine(const TerminationWatch &termination)
{
    std::string line;
#ifdef Q_OS_UNIX
    // Waits in the event loop, so that Ctrl+C is seen while the user thinks.
    QEventLoop loop;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    bool ended = false;
    QObject::connect(&input, &QSocketNotifier::activated, &loop, [&] {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n <= 0)
            ended = true;
        else if (c != '\n')
            line += c;
        if (n <= 0 || c == '\n')
            loop.quit();
    });
    QObject::connect(&termination, &TerminationWatch::arrived, &loop, &QEventLoop::quit);
    if (termination.received() == 0)
        loop.exec();
    if (ended || termination.received() != 0)
        return std::nullopt;
#else
    (void)termination;
    if (!std::getline(std::cin, line))
        return std::nullopt;
#endif
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

std::string oneLine(const std::string &text)
{
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        std::erase(line, '\r');
        if (!line.empty())
            out += (out.empty() ? "" : " ") + line;
        start = end + 1;
    }
    return out;
}

void ConsoleDialogs::print(const std::string &title,
                           const std::string &text,
                           const std::string &answer)
{
    if (m_beforePrint)
        m_beforePrint();
    std::string line = "orvane: ";
    if (!title.empty())
        line += title + ": ";
    line += oneLine(text);
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
        if (!m_shown || m_shown(text))
            print(title, text, {});
        return MessageAnswer::Ok;
    }
    if (m_termination.received() != 0)
        return MessageAnswer::No;
    if (m_approved == 0 && m_askAtTerminal) {
        print(title, text, {});
        return askYesNo("Yes or no?", m_termination) ? MessageAnswer::Yes : MessageAnswer::No;
    }
    const bool yes = m_approved > 0;
    if (yes)
        --m_approved;
    print(title, text, yes ? "Yes" : "No");
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
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

bool askYesNo(const std::string &question, const TerminationWatch &termination)
{
    std::fprintf(stderr, "%s [y/N] ", question.c_str());
    std::fflush(stderr);
    const auto answer = readStandardInputLine(termination);
    if (!answer) {
        // The prompt's line is left open by the end of input or Ctrl+C.
        std::fputs("\n", stderr);
        return false;
    }
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

std::optional<std::string> environmentValue(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        return std::nullopt;
    return value.toStdString();
}

bool isFolder(const std::string &path)
{
    return QFileInfo(QString::fromStdString(path)).isDir();
}

bool sameFile(const std::string &a, const std::string &b)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error))
        return fs::equivalent(a, b, error);
    const fs::path first = fs::weakly_canonical(a, error);
    if (error)
        return a == b;
    const fs::path second = fs::weakly_canonical(b, error);
    return !error && first == second;
}

} // namespace orvane
