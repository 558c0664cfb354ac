#pragma once

#include "editors/EditorState.h"
#include "editors/NmeaSelection.h"
#include "platform/Platform.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmNmeaData;
}

namespace orvane {

// Makes the line to the instrument when the live view first needs it (the
// main window's link exists only after its windows).
using NmeaLineFactory = std::function<std::unique_ptr<NmeaLine>()>;

// The characters the instrument hears on one NMEA channel; created once,
// then shown and hidden, keeping its text.
class frmNmeaData : public QDialog, private LiveNmeaView
{
    Q_OBJECT
public:
    frmNmeaData(EditorState &editor, Platform &platform, QWidget *parent = nullptr);
    ~frmNmeaData() override;

    void setLineFactory(NmeaLineFactory factory) { m_lineFactory = std::move(factory); }

    // cmdNmeaViewData of the selector: runs the live view until this window
    // is hidden.
    void ViewData();

    // Ends a running live view as Cancel does and runs `next` once the view
    // has ended its exchange (the command runs after the loop, not inside it).
    void stopThen(std::function<void()> next);

    LiveNmeaData &live() { return m_live; }

private:
    // LiveNmeaView
    void setCaption(const std::string &caption) override;
    void showWindow() override;
    void hideWindow() override;
    bool windowShown() const override;
    void showText(const std::string &text) override;

    std::unique_ptr<Ui::frmNmeaData> m_ui;
    LiveNmeaData m_live;
    NmeaLineFactory m_lineFactory;
    std::unique_ptr<NmeaLine> m_line;
    std::function<void()> m_afterStop;
};

} // namespace orvane
