#pragma once

#include <cstdio>
#include <string>

// Progress on standard error: a bar redrawn in place on a terminal, plain
// lines otherwise (one per step, never one per byte), or nothing.

namespace orvane::cli {

class Progress
{
public:
    enum class Style { Bar, Lines, Silent };

    Progress(std::FILE *out, Style style, int columns)
        : m_out(out)
        , m_style(style)
        , m_columns(columns)
    {}

    void setText(const std::string &text);
    void setProgress(int value, int maximum);
    // Ends the bar's line before other output; the next update starts afresh.
    void endLine();
    // The step shown last, in lower case ("reading the Orvane's settings").
    std::string lastStep() const;

private:
    void redraw();

    std::FILE *m_out;
    Style m_style;
    int m_columns;
    std::string m_text;
    std::string m_lastStep;
    int m_percent = 0;
    bool m_lineOpen = false;
};

// "[#####.....]  50%  text", cut to `columns` characters.
std::string progressBar(int percent, const std::string &text, int columns);

} // namespace orvane::cli
