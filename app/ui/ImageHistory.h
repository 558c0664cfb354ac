#pragma once

#include "config/ConfigDocument.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace orvane {

// Undo and redo of the image. Each user action that changed the image is one
// step holding the whole image before and after it, named as the action was
// reported ("Damping", "Open SETUP.CFG"); undo and redo put that image back
// and let the windows show it. The stack's clean state is "the working file
// holds the image", and the document's changed flag follows it.
class ImageHistory : public QObject
{
    Q_OBJECT
public:
    // The most steps kept; each holds two images of about 15 KB.
    static constexpr int kUndoLimit = 500;

    // `show` redraws every window after undo or redo replaced the image.
    ImageHistory(ConfigDocument &document, std::function<void()> show, QObject *parent = nullptr);
    ~ImageHistory() override;

    QUndoStack &stack() { return m_stack; }

    // One user action is over: if it changed the image it becomes a step
    // named `what`. An action that left the image unsaved-free (New reloads
    // the working file) leaves the stack clean there.
    void record(const QString &what);
    // The image changed without a user action (a connection stored the
    // upload counter) or was taken as it stands (start-up): the next step
    // starts from it. A document that is not changed is clean here.
    void rebase();
    // The working file now holds the image; the history stays.
    void saved();

signals:
    // The document's changed flag may have moved: the caption follows it.
    void changedStateChanged();

private:
    class Step;
    void restore(const ConfigImage &image);
    void followCleanState();

    ConfigDocument &m_document;
    std::function<void()> m_show;
    QUndoStack m_stack;
    // The image as the last step (or rebase) left it: the next step's "before".
    ConfigImage m_current;
};

} // namespace orvane
