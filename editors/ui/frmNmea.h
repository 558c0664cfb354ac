#pragma once

#include "config/ConfigDocument.h"
#include "editors/ConfigPanel.h"
#include "editors/EditorState.h"
#include "platform/Platform.h"

#include <QDialog>
#include <QPoint>
#include <QString>

#include <memory>
#include <span>
#include <string_view>

namespace Ui {
class frmNmea;
}

namespace orvane {

class frmNmeaData;

// Talker, sentence and field of one NMEA input; created once, then shown and
// hidden. Owns the live data window that shows what the input hears.
class frmNmea : public QDialog
{
    Q_OBJECT
public:
    frmNmea(ConfigDocument &document,
            EditorState &editor,
            Platform &platform,
            QWidget *parent = nullptr);
    ~frmNmea() override;

    frmNmeaData *dataWindow() const { return m_data; }

    // Shows the selector at `at` with the request's choices selected, and
    // places the data window at `dataAt` for when the user opens it.
    void showSelection(const NmeaSelectorRequest &request, QPoint at, QPoint dataAt);
    // Hides the selector and the data window.
    void hideWithData();

    void fillPickList(std::string_view list,
                      std::span<const std::string_view> items,
                      int initialSelection);

signals:
    // One user action changed the image; `what` names the change.
    void imageEdited(const QString &what);

private:
    void cmdNmeaAccept_Click();
    void cmdNmeaCancel_Click();

    std::unique_ptr<Ui::frmNmea> m_ui;
    ConfigDocument &m_document;
    EditorState &m_editor;
    frmNmeaData *m_data = nullptr;
};

} // namespace orvane
