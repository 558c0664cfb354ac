#include "transfer/TransferProgress.h"

#include "link/ByteLink.h"
#include "link/CommandFrames.h"
#include "transfer/TransferView.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace orvane {

namespace {
constexpr double kByteWireSeconds = 10.0 / 115200.0; // 8N1 at 115200 baud
constexpr int kFrameBytes = int(std::tuple_size_v<Frame>);
} // namespace

int expectedMs(double seconds)
{
    return int(std::lround(seconds * 1000.0));
}

int frameMs()
{
    return expectedMs(kFrameBytes * ByteLink::kSendBytePause);
}

int echoedBytesMs(int count)
{
    return expectedMs(count * 2 * kByteWireSeconds);
}

int answerBytesMs(int count)
{
    return expectedMs(count * kByteWireSeconds);
}

void TransferProgress::start(int total)
{
    m_total = std::max(1, total);
    m_done = 0;
    show();
}

void TransferProgress::advance(int units)
{
    m_done = std::clamp(m_done + units, 0, m_total);
    show();
}

void TransferProgress::finish()
{
    m_done = m_total;
    show();
}

void TransferProgress::show()
{
    m_view.setProgress(m_done, m_total);
}

std::string progressLabel(const std::string &phrase, int number, int count)
{
    std::string label = phrase;
    if (!label.empty())
        label[0] = char(std::toupper(static_cast<unsigned char>(label[0])));
    if (count > 0)
        label += " " + std::to_string(number) + " of " + std::to_string(count);
    return label;
}

} // namespace orvane
