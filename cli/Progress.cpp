#include "cli/Progress.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace orvane::cli {

namespace {
constexpr int kBarCells = 30;
} // namespace

std::string progressBar(int percent, const std::string &text, int columns)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kBarCells / 100;
    std::string line = "[" + std::string(size_t(filled), '#')
                       + std::string(size_t(kBarCells - filled), '.') + "] ";
    const std::string number = std::to_string(percent) + "%";
    line += std::string(4 - std::min<size_t>(4, number.size()), ' ') + number + "  " + text;
    if (columns > 1 && int(line.size()) >= columns)
        line.resize(size_t(columns - 1));
    return line;
}

void Progress::setText(const std::string &text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (m_text.empty())
        return;
    m_lastStep = m_text;
    if (m_style == Style::Silent)
        return;
    if (m_style == Style::Bar) {
        redraw();
        return;
    }
    // Plain lines: one per step, with how far the command had come.
    std::fprintf(m_out, "%3d%%  %s\n", m_percent, m_text.c_str());
    std::fflush(m_out);
}

void Progress::setProgress(int value, int maximum)
{
    const int percent = maximum > 0 ? int(int64_t(value) * 100 / maximum) : 0;
    if (percent == m_percent)
        return;
    m_percent = std::clamp(percent, 0, 100);
    if (m_style == Style::Bar && !m_text.empty())
        redraw();
}

void Progress::redraw()
{
    const std::string line = progressBar(m_percent, m_text, m_columns);
    // Clear the rest of the line: the text may have become shorter.
    std::fprintf(m_out, "\r%s\033[K", line.c_str());
    std::fflush(m_out);
    m_lineOpen = true;
}

void Progress::endLine()
{
    if (m_lineOpen) {
        std::fputs("\n", m_out);
        std::fflush(m_out);
    }
    m_lineOpen = false;
    m_text.clear();
}

std::string Progress::lastStep() const
{
    std::string step = m_lastStep;
    if (!step.empty())
        step[0] = char(std::tolower(static_cast<unsigned char>(step[0])));
    return step;
}

} // namespace orvane::cli
