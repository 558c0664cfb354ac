#pragma once

#include <cstdio>
#include <string>

// Progress on standard error: a bar redrawn in place on a terminal, plain
// lines otherwise (one per step, never one per byte).

namespace orvane::cli {

class Progress
{
public:
    Progress(std::FILE *out, bool bar, int columns)
        : m_out(out)
        , m_bar(bar)
        , m_columns(columns)
    {}

    void setText(const std::string &text);
    void setProgress(int value, int maximum);
    // Ends the bar's line before other output; the next update starts afresh.
    void endLine();

private:
    void redraw();

    std::FILE *m_out;
    bool m_bar;
    int m_columns;
    std::string m_text;
    int m_percent = 0;
    bool m_lineOpen = false;
};

// "[#####.....]  50%  text", cut to `columns` characters.
std::string progressBar(int percent, const std::string &text, int columns);

} // namespace orvane::cli
