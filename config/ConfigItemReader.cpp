#include "config/ConfigItemReader.h"

namespace orvane {

bool ConfigItemReader::atLineEnd(size_t pos) const
{
    return pos >= m_text.size() || m_text[pos] == '\r' || m_text[pos] == '\n';
}

ConfigItemReader::Item ConfigItemReader::next()
{
    // An item after a trailing comma exists (it is empty); otherwise the end
    // of the text means the file ended early.
    if (m_pos >= m_text.size() && !m_afterComma)
        return {{}, m_line, false};
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
        ++m_pos;
    const size_t start = m_pos;
    while (!atLineEnd(m_pos) && m_text[m_pos] != ',')
        ++m_pos;
    Item item{m_text.substr(start, m_pos - start), m_line, true};
    skipTerminator();
    return item;
}

void ConfigItemReader::skipTerminator()
{
    m_afterComma = false;
    if (m_pos >= m_text.size())
        return;
    const char c = m_text[m_pos++];
    if (c == ',') {
        m_afterComma = true;
        return;
    }
    if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
        ++m_pos;
    ++m_line;
}

} // namespace orvane
