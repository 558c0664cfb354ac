#include "editors/ui/frmNmea.h"
#include "ui_frmNmea.h"

#include "editors/NmeaSelection.h"
#include "editors/ui/ImageEdit.h"
#include "editors/ui/PickList.h"
#include "editors/ui/frmNmeaData.h"

namespace orvane {

frmNmea::frmNmea(ConfigDocument &document, EditorState &editor, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmNmea>())
    , m_document(document)
    , m_editor(editor)
{
    m_ui->setupUi(this);
    // A sibling window of the main window, so that closing the main window's
    // windows on exit closes it too and ends its loop.
    m_data = new frmNmeaData(editor, platform, parent ? parent : this);
    connect(m_ui->cmdNmeaAccept, &QPushButton::clicked, this, &frmNmea::cmdNmeaAccept_Click);
    connect(m_ui->cmdNmeaCancel, &QPushButton::clicked, this, &frmNmea::cmdNmeaCancel_Click);
    connect(m_ui->cmdNmeaViewData, &QPushButton::clicked, m_data, &frmNmeaData::ViewData);
}

frmNmea::~frmNmea() = default;

void frmNmea::showSelection(const NmeaSelectorRequest &request, QPoint at, QPoint dataAt)
{
    m_ui->cmbNmeaTalker->setCurrentIndex(request.talkerPosition);
    m_ui->cmbNmeaID->setCurrentIndex(request.sentencePosition);
    m_ui->cmdNmeaCommas->setCurrentIndex(request.commasPosition);
    move(at);
    m_data->move(dataAt);
    show();
    raise();
}

void frmNmea::hideWithData()
{
    hide();
    m_data->hide();
}

void frmNmea::fillPickList(std::string_view list,
                           std::span<const std::string_view> items,
                           int initialSelection)
{
    orvane::fillPickList(*this, list, items, initialSelection);
}

void frmNmea::cmdNmeaAccept_Click()
{
    const ImageEdit edit(m_document);
    AcceptNmeaChoices(m_document,
                      m_editor,
                      {m_ui->cmbNmeaTalker->currentIndex(),
                       m_ui->cmbNmeaID->currentIndex(),
                       m_ui->cmdNmeaCommas->currentIndex()});
    hideWithData();
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("NMEA input %1 sentence").arg(m_editor.nmeaInputNumber));
}

void frmNmea::cmdNmeaCancel_Click()
{
    hideWithData();
}

} // namespace orvane
