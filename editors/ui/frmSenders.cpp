#include "editors/ui/frmSenders.h"

#include "app/ui/Twips.h"
#include "editors/ui/frmChart.h"
#include "platform/Check.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
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

frmSenders::frmSenders(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
    , m_editor(state.document, state.editor)
{
    ui.setupUi(this);

    for (int i = 0; i < kSenderListCount; ++i) {
        const SenderListInfo &info = kSenderLists[size_t(i)];
        auto *list = findChild<QComboBox *>(qt(info.list));
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
    connect(ui.cmdSendersView, &QPushButton::clicked, this, &frmSenders::cmdSendersView_Click);
    connect(ui.cmdSendersExit, &QPushButton::clicked, this, &frmSenders::cmdSendersExit_Click);

    // Row 0 is the heading row, so table row n is point n.
    QTableWidget *grid = ui.MSFlexGrid1;
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
    ui.curveArea->setMinimumHeight(grid->horizontalHeader()->sizeHint().height()
                                   + kVisibleRows * grid->verticalHeader()->defaultSectionSize()
                                   + 2 * grid->frameWidth());
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
    if (watched == ui.MSFlexGrid1 && event->type() == QEvent::KeyPress) {
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
    QTableWidget *grid = ui.MSFlexGrid1;
    if (grid->currentRow() < 1)
        grid->setCurrentCell(1, 1);
    grid->show();
    grid->setFocus(Qt::OtherFocusReason);
    ui.cmdSendersView->setEnabled(true);
}

void frmSenders::senderList_GotFocus()
{
    m_editor.storeGrid();
    closeGrid();
    reportChanges();
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
    QTableWidget *grid = ui.MSFlexGrid1;
    const int row = grid->currentRow();
    const int column = grid->currentColumn();
    switch (m_editor.editKey(row, column, key)) {
    case SenderCurveEditor::KeyResult::Applied:
        grid->item(row, column)->setText(qt(m_editor.cell(row, column)));
        reportChanges();
        break;
    case SenderCurveEditor::KeyResult::Rejected:
        m_platform.dialogs.beep();
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
    m_chart->showCurve(curveChartTable(m_state.document.image.CalCurve, curve),
                       title,
                       readingTitle);
}

void frmSenders::cmdSendersExit_Click()
{
    std::array<int, kSenderListCount> positions{};
    for (int i = 0; i < kSenderListCount; ++i)
        positions[size_t(i)] = m_lists[size_t(i)]->currentIndex();
    m_editor.done(positions);
    hide();
    closeGrid();
    reportChanges();
}

void frmSenders::reject()
{
    m_editor.close();
    closeGrid();
    QDialog::reject();
}

void frmSenders::closeGrid()
{
    ui.MSFlexGrid1->hide();
    ui.cmdSendersView->setEnabled(false);
}

void frmSenders::showGridCells()
{
    QTableWidget *grid = ui.MSFlexGrid1;
    for (int row = 1; row < SenderCurveEditor::kRows; ++row)
        for (int column = 0; column < SenderCurveEditor::kColumns; ++column)
            grid->item(row, column)->setText(qt(m_editor.cell(row, column)));
}

void frmSenders::placeGrid(QPushButton *button)
{
    QTableWidget *grid = ui.MSFlexGrid1;
    // The heading must stay readable in fonts wider than the 500 twips allow.
    grid->setColumnWidth(
        0,
        std::max(grid->columnWidth(0), grid->horizontalHeader()->sectionSizeHint(0)));
    const int width = grid->horizontalHeader()->length()
                      + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth();
    const int area = ui.curveArea->width();
    const int under = button->mapTo(this, QPoint()).x() - ui.curveArea->mapTo(this, QPoint()).x();
    const int left = std::max(0, std::min(under, area - width));
    grid->setGeometry(left, 0, width, ui.curveArea->height());
}

void frmSenders::reportChanges()
{
    if (m_state.document.changed)
        emit imageEdited();
}

} // namespace orvane
