#include "cli/TerminalViews.h"

#include "app/ImageComparison.h"

#include <cstdio>

namespace orvane::cli {

bool TerminalReview::confirm(const char *heading, const Comparison &comparison)
{
    m_progress.endLine();
    std::printf("%s\n%s", heading, reportText(describeDifferences(comparison)).c_str());
    std::fflush(stdout);
    m_refused = !m_approve();
    return !m_refused;
}

bool TerminalReview::confirmUpload(const Comparison &comparison)
{
    return confirm("The upload will change:", comparison);
}

bool TerminalReview::confirmRestore(const Comparison &comparison)
{
    return confirm("The restore will change:", comparison);
}

bool TerminalReview::uploadUnchanged()
{
    m_unchanged = true;
    return m_writeUnchanged;
}

} // namespace orvane::cli
