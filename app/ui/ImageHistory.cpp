#include "app/ui/ImageHistory.h"

#include <QUndoCommand>

namespace orvane {

class ImageHistory::Step : public QUndoCommand
{
public:
    Step(ImageHistory &history,
         const QString &what,
         const ConfigImage &before,
         const ConfigImage &after)
        : QUndoCommand(what)
        , m_history(history)
        , m_before(before)
        , m_after(after)
    {}

    void undo() override { m_history.restore(m_before); }
    void redo() override
    {
        // The push's own redo: the user's action has already changed the image.
        if (m_pushed) {
            m_pushed = false;
            return;
        }
        m_history.restore(m_after);
    }

private:
    ImageHistory &m_history;
    const ConfigImage m_before;
    const ConfigImage m_after;
    bool m_pushed = true;
};

ImageHistory::ImageHistory(ConfigDocument &document, std::function<void()> show, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_show(std::move(show))
    , m_current(document.image)
{
    m_stack.setUndoLimit(kUndoLimit);
    connect(&m_stack, &QUndoStack::indexChanged, this, &ImageHistory::followCleanState);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &ImageHistory::followCleanState);
}

ImageHistory::~ImageHistory() = default;

void ImageHistory::record(const QString &what)
{
    if (sameBits(m_document.image, m_current))
        return;
    const bool unsaved = m_document.changed;
    m_stack.push(new Step(*this, what, m_current, m_document.image));
    m_current = m_document.image;
    if (!unsaved)
        m_stack.setClean();
}

void ImageHistory::rebase()
{
    m_current = m_document.image;
    if (!m_document.changed)
        m_stack.setClean();
}

void ImageHistory::saved()
{
    // Saving writes the check bytes into the image.
    m_current = m_document.image;
    m_stack.setClean();
}

void ImageHistory::restore(const ConfigImage &image)
{
    m_document.image = image;
    m_current = image;
    m_show();
}

void ImageHistory::followCleanState()
{
    m_document.changed = !m_stack.isClean();
    emit changedStateChanged();
}

} // namespace orvane
