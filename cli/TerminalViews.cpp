#include "cli/TerminalViews.h"

#include "app/ImageComparison.h"

#include <cstdio>

namespace orvane::cli {

bool TerminalReview::confirmUpload(const Comparison &comparison)
{
    m_progress.endLine();
    std::printf("The upload will change:\n%s", reportText(describeDifferences(comparison)).c_str());
    std::fflush(stdout);
    m_refused = !m_approve();
    return !m_refused;
}

bool TerminalReview::uploadUnchanged()
{
    m_unchanged = true;
    return m_writeUnchanged;
}

} // namespace orvane::cli
