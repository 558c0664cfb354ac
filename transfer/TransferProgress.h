#pragma once

#include <string>

// Progress of one whole transfer on `frmProgress`: the bar fills from empty to
// full over the transfer, each step weighted by the time it is expected to
// take, and the label says what is being done, so that a long backup can be
// told from a hung one.

namespace orvane {

class TransferView;

// Expected time of the parts of an exchange, in milliseconds: the bar's units.
int expectedMs(double seconds);
int frameMs();                // five frame bytes, each followed by its pause
int echoedBytesMs(int count); // data bytes out and their echoes back
int answerBytesMs(int count); // bytes of an answer coming in

class TransferProgress
{
public:
    explicit TransferProgress(TransferView &view)
        : m_view(view)
    {}

    // A new transfer of `total` units; the bar goes back to empty.
    void start(int total);
    void advance(int units);
    void finish();
    int done() const { return m_done; }
    int total() const { return m_total; }

private:
    void show();

    TransferView &m_view;
    int m_total = 1;
    int m_done = 0;
};

// "Writing display configuration 5 of 16", or the phrase alone without a count.
std::string progressLabel(const std::string &phrase, int number, int count);

} // namespace orvane
