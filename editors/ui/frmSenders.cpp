#include "editors/ui/frmSenders.h"
#include "ui_frmSenders.h"

#include "editors/ui/ImageEdit.h"
#include "editors/ui/PickList.h"
#include "editors/ui/Twips.h"
#include "editors/ui/frmChart.h"
#include "platform/Check.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTableWidget>

#include <algorithm>

namespace orvane {

namespace {

// Windows are placed in twips from the main window's corner.
constexpr int kWindowLeftTwips = 2500;
constexpr int kWindowTopTwips = 500;
constexpr int kValueColumnWidth = 84;
constexpr int kRowPadding = 6;
constexpr int kVisibleRows = 16;

// The five pick lists, in SenderList order.
constexpr std::array<std::string_view, kSenderListCount> kSenderListNames = {
    "cboEngineTempSender",
    "cboFuelSender",
    "cboOilPressureSender",
    "cboTrimSender",
    "cbo2ndTankSender",
};

struct CurveCaptions
{
    SenderList list;
    const char *label;        // the list's label, which titles the chart
    const char *readingTitle; // the chart's reading axis, in stored units
};

const CurveCaptions kCurveCaptions[] = {
    {SenderList::EngineTemp, "lblEngineTempSender", "Temperature (\u00b0F)"},
    {SenderList::Fuel, "lblFuelSender", "Fuel level"},
    {SenderList::OilPressure, "lblOilPressureSender", "Pressure (PSI)"},
    {SenderList::Trim, "lblTrimSender", "Trim angle"},
    {SenderList::SecondTank, "lbl2ndTankSender", "Second tank level"},
};

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void placeBeside(QWidget &window, const QWidget *mainWindow)
{
    const QPoint corner = mainWindow ? mainWindow->pos() : QPoint();
    window.move(corner + twipsPoint(kWindowLeftTwips, kWindowTopTwips));
}

// Focus that the user moved, not focus coming back with the window or a popup.
bool userMovedFocus(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
           && reason != Qt::MenuBarFocusReason;
}

} // namespace

frmSenders::frmSenders(ConfigDocument &document,
                       EditorState &editor,
                       UserDialogs &dialogs,
                       QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmSenders>())
    , m_document(document)
    , m_editorState(editor)
    , m_dialogs(dialogs)
    , m_editor(document, editor)
{
    m_ui->setupUi(this);

    for (int i = 0; i < kSenderListCount; ++i) {
        const SenderListInfo &info = kSenderLists[size_t(i)];
        auto *list = findChild<QComboBox *>(qt(kSenderListNames[size_t(i)]));
        auto *button
            = findChild<QPushButton *>(QStringLiteral("cmdEditCurve%1").arg(info.userCurve));
        // A control missing from the form is a programming error; a hidden
        // stand-in keeps the dialog working without it.
        ORVANE_CHECK(list, list = new QComboBox(this); list->hide());
        ORVANE_CHECK(button, button = new QPushButton(this); button->hide());
        m_lists[size_t(i)] = list;
        list->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, curve = info.userCurve, button] {
            cmdEditCurve_Click(curve, button);
        });
    }
    connect(m_ui->cmdSendersView, &QPushButton::clicked, this, &frmSenders::cmdSendersView_Click);
    connect(m_ui->cmdSendersExit, &QPushButton::clicked, this, &frmSenders::cmdSendersExit_Click);

    // Row 0 is the heading row, so table row n is point n.
    QTableWidget *grid = m_ui->MSFlexGrid1;
    for (int row = 0; row < SenderCurveEditor::kRows; ++row) {
        for (int column = 0; column < SenderCurveEditor::kColumns; ++column) {
            auto *item = new QTableWidgetItem;
            if (column == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setTextAlignment(Qt::AlignCenter);
                item->setBackground(palette().window());
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            grid->setItem(row, column, item);
        }
    }
    grid->setRowHidden(0, true);
    grid->setColumnWidth(1, kValueColumnWidth);
    grid->setColumnWidth(2, kValueColumnWidth);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    grid->installEventFilter(this);
    // The area under the buttons holds a whole number of rows.
    m_ui->curveArea->setMinimumHeight(grid->horizontalHeader()->sizeHint().height()
                                      + kVisibleRows * grid->verticalHeader()->defaultSectionSize()
                                      + 2 * grid->frameWidth());
}

frmSenders::~frmSenders() = default;

void frmSenders::showStored()
{
    const SenderListPositions &stored = m_editorState.senderLists;
    const std::array<int, kSenderListCount> positions
        = {stored.engineTemp, stored.fuel, stored.oilPressure, stored.trim, stored.secondTank};
    for (int i = 0; i < kSenderListCount; ++i)
        m_lists[size_t(i)]->setCurrentIndex(positions[size_t(i)]);
    // A new image closed the curve editor; its grid would show the old points.
    if (m_editorState.CurveInEdit == EditorState::kNoCurve)
        closeGrid();
}

void frmSenders::showUnits(const SettingsView &view)
{
    m_ui->lblSendersUofMTemperature->setText(QString::fromStdString(view.temperatureLabel));
    m_ui->lblSendersUofMPressure->setText(QString::fromStdString(view.pressureLabel));
}

void frmSenders::fillPickList(std::string_view list,
                              std::span<const std::string_view> items,
                              int initialSelection)
{
    orvane::fillPickList(*this, list, items, initialSelection);
}

void frmSenders::setGridHeadings(std::span<const std::string_view> headings, int indexColumnTwips)
{
    QStringList texts;
    for (std::string_view text : headings)
        texts << qt(text);
    m_ui->MSFlexGrid1->setHorizontalHeaderLabels(texts);
    m_ui->MSFlexGrid1->setColumnWidth(0, twipsToPixels(indexColumnTwips));
}

void frmSenders::showBeside(QWidget &mainWindow)
{
    placeBeside(*this, &mainWindow);
    show();
    raise();
    activateWindow();
}

bool frmSenders::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->MSFlexGrid1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Keys without a character (arrows, page keys) and Tab move as usual.
        if (key->key() == Qt::Key_Backspace
            || (!key->text().isEmpty() && key->key() != Qt::Key_Tab
                && key->key() != Qt::Key_Backtab)) {
            MSFlexGrid1_KeyPress(key);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn
        && std::find(m_lists.begin(), m_lists.end(), watched) != m_lists.end()
        && userMovedFocus(static_cast<QFocusEvent *>(event)->reason()))
        senderList_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void frmSenders::cmdEditCurve_Click(int curve, QPushButton *button)
{
    m_editor.openCurve(curve);
    placeGrid(button);
    showGridCells();
    QTableWidget *grid = m_ui->MSFlexGrid1;
    if (grid->currentRow() < 1)
        grid->setCurrentCell(1, 1);
    grid->show();
    grid->setFocus(Qt::OtherFocusReason);
    m_ui->cmdSendersView->setEnabled(true);
}

void frmSenders::senderList_GotFocus()
{
    const ImageEdit edit(m_document);
    m_editor.storeGrid();
    closeGrid();
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("Sender curve %1").arg(m_editor.lastOpenedCurve()));
}

void frmSenders::MSFlexGrid1_KeyPress(QKeyEvent *event)
{
    char key = '\b';
    if (event->key() != Qt::Key_Backspace) {
        const QString text = event->text();
        // Anything but one plain character is a key the grid does not take.
        key = text.size() == 1 && text.front().unicode() < 0x80 ? char(text.front().unicode())
                                                                : '\x7f';
    }
    QTableWidget *grid = m_ui->MSFlexGrid1;
    const int row = grid->currentRow();
    const int column = grid->currentColumn();
    const ImageEdit edit(m_document);
    switch (m_editor.editKey(row, column, key)) {
    case SenderCurveEditor::KeyResult::Applied:
        grid->item(row, column)->setText(qt(m_editor.cell(row, column)));
        if (edit.changedImage())
            emit imageEdited(QStringLiteral("Sender curve %1").arg(m_editor.lastOpenedCurve()));
        break;
    case SenderCurveEditor::KeyResult::Rejected:
        m_dialogs.beep();
        break;
    case SenderCurveEditor::KeyResult::Ignored:
        break;
    }
}

void frmSenders::cmdSendersView_Click()
{
    const int curve = m_editor.lastOpenedCurve();
    const auto list = listOfUserCurve(curve);
    if (!list)
        return; // nothing was opened: the button is disabled then
    if (!m_chart)
        m_chart = new frmChart(this);
    placeBeside(*m_chart, parentWidget());
    m_chart->show();
    m_chart->raise();

    QString title;
    QString readingTitle;
    for (const CurveCaptions &captions : kCurveCaptions) {
        if (captions.list == *list) {
            if (auto *label = findChild<QLabel *>(QString::fromLatin1(captions.label)))
                title = label->text();
            readingTitle = QString::fromUtf8(captions.readingTitle);
        }
    }
    m_chart->showCurve(curveChartTable(m_document.image.CalCurve, curve), title, readingTitle);
}

void frmSenders::cmdSendersExit_Click()
{
    const ImageEdit edit(m_document);
    std::array<int, kSenderListCount> positions{};
    for (int i = 0; i < kSenderListCount; ++i)
        positions[size_t(i)] = m_lists[size_t(i)]->currentIndex();
    m_editor.done(positions);
    hide();
    closeGrid();
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("Sender types"));
}

void frmSenders::reject()
{
    m_editor.close();
    closeGrid();
    QDialog::reject();
}

void frmSenders::closeGrid()
{
    m_ui->MSFlexGrid1->hide();
    m_ui->cmdSendersView->setEnabled(false);
}

void frmSenders::showGridCells()
{
    QTableWidget *grid = m_ui->MSFlexGrid1;
    for (int row = 1; row < SenderCurveEditor::kRows; ++row)
        for (int column = 0; column < SenderCurveEditor::kColumns; ++column)
            grid->item(row, column)->setText(qt(m_editor.cell(row, column)));
}

void frmSenders::placeGrid(QPushButton *button)
{
    QTableWidget *grid = m_ui->MSFlexGrid1;
    // The heading must stay readable in fonts wider than the 500 twips allow.
    grid->setColumnWidth(
        0,
        std::max(grid->columnWidth(0), grid->horizontalHeader()->sectionSizeHint(0)));
    const int width = grid->horizontalHeader()->length()
                      + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth();
    const int area = m_ui->curveArea->width();
    const int under
        = button->mapTo(this, QPoint()).x() - m_ui->curveArea->mapTo(this, QPoint()).x();
    const int left = std::max(0, std::min(under, area - width));
    grid->setGeometry(left, 0, width, m_ui->curveArea->height());
}

} // namespace orvane
