#include "PanelTestSupport.h"

#include "app/ui/frmComparison.h"
#include "app/ui/frmUnitHistory.h"
#include "config/ConfigFile.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "transfer/ui/TransferController.h"
#include "transfer/ui/frmBeingSentReceived.h"

#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr int kEngineHoursPosition = 5;
constexpr int kNmea1APosition = 10;
constexpr int kAlarm8 = 7;
constexpr int kSpeedUnitsByte = 1;

// Every line of a tree, depth first, as "title" and "    line".
std::vector<std::string> treeLines(QTreeWidget &tree)
{
    std::vector<std::string> lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem *group = tree.topLevelItem(i);
        lines.push_back(group->text(0).toStdString());
        for (int j = 0; j < group->childCount(); ++j)
            lines.push_back("    " + group->child(j)->text(0).toStdString());
    }
    return lines;
}

} // namespace

class UndoRedoTest : public PanelFixture
{
protected:
    void key(QWidget *widget, Qt::Key code, const QString &text)
    {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(widget, &event);
    }

    void typeOver(QLineEdit *box, char c)
    {
        box->selectAll();
        key(box, Qt::Key(c), QString(QChar(c)));
    }

    QAction *undo() { return control<QAction>("Undo"); }
    QAction *redo() { return control<QAction>("Redo"); }

    // Clicks `button` of the transfer selection dialog once the transfer waits for it.
    void answerSelection(const char *button)
    {
        fake.scheduler.schedule(fake.scheduler.now() + 0.5, [this, button] {
            frmBeingSentReceived *dialog = window().transfers().selectionWindow();
            EXPECT_TRUE(dialog->isVisible());
            control<QPushButton>(*dialog, button)->click();
        });
    }

    // Runs `act` on the comparison window once it is shown (it waits modally).
    void whenComparisonShown(std::function<void(frmComparison &)> act)
    {
        QTimer::singleShot(10, &window(), [this, act] {
            frmComparison *dialog = window().comparisonWindow();
            if (!dialog->isVisible())
                return whenComparisonShown(act);
            act(*dialog);
        });
    }

    std::vector<uint8_t> instrumentMemories()
    {
        std::vector<uint8_t> bytes(fake.instrument.internalNvm().begin(),
                                   fake.instrument.internalNvm().end());
        bytes.insert(bytes.end(), fake.instrument.eeprom().begin(), fake.instrument.eeprom().end());
        return bytes;
    }
};

// Each kind of change is one step: undo gives back the image exactly as it
// was before it, redo the image exactly as the change left it, and the
// windows show what is restored.
TEST_F(UndoRedoTest, UndoRestoresTheImageBeforeEachKindOfChangeAndRedoReappliesIt)
{
    frmMain &w = shown();
    const std::string otherFile = programFile("OTHER.CFG").string();
    {
        ConfigImage other = state.document.image;
        other.CDC(2, 28) = 7;
        other.IntNvm[kSpeedUnitsByte] ^= 0x40;
        ASSERT_TRUE(saveConfigsFileAs(other, state.files, 1, fake.platform, otherFile).ok());
    }
    auto *damping = control<QLineEdit>(*w.dampingWindow(), "txtDampingValue");

    struct Step
    {
        const char *action;
        std::function<void()> act;
        std::string what; // names the step in the Edit menu
    };
    const Step steps[] = {
        {"panel choice",
         [&] { pick("ComboDisplay1", kEngineHoursPosition); },
         "Configuration 1 digital display 1"},
        {"icon",
         [&] { control<QCheckBox>("ChkIconsUpperDeg")->click(); },
         "Configuration 1 icon DEG"},
        {"Change box",
         [&] {
             fake.dialogs.inputAnswers = {"7000"};
             control<QPushButton>("cmdDD4HiBar")->click();
         },
         "Configuration 1 left bar graph upper bar limit"},
        {"Edit menu setting", [&] { control<QAction>("MPH")->trigger(); }, "Speed units"},
        {"damping",
         [&] {
             control<QAction>("ViewDamping")->trigger();
             typeOver(damping, '7');
         },
         "Damping"},
        {"time-of-day alarm",
         [&] {
             control<QAction>("ViewTodAlarms")->trigger();
             control<QComboBox>(*w.todAlarmsWindow(), "cboTodAlarms")->setCurrentIndex(kAlarm8);
             typeOver(control<QLineEdit>(*w.todAlarmsWindow(), "txtTodHours"), '9');
         },
         "Time of day alarm 8"},
        {"sender choice",
         [&] {
             control<QAction>("Senders")->trigger();
             pick("cboTrimSender", 3);
             control<QPushButton>(*w.sendersWindow(), "cmdSendersExit")->click();
         },
         "Sender types"},
        {"curve grid edit",
         [&] {
             control<QAction>("Senders")->trigger();
             control<QPushButton>(*w.sendersWindow(), "cmdEditCurve6")->click();
             auto *grid = control<QTableWidget>(*w.sendersWindow(), "MSFlexGrid1");
             grid->setCurrentCell(1, 1);
             key(grid, Qt::Key_5, QStringLiteral("5"));
         },
         "Sender curve 6"},
        {"NMEA input chosen",
         [&] { pick("ComboDisplay2", kNmea1APosition); },
         "Configuration 1 digital display 2"},
        {"NMEA selection",
         [&] {
             control<QComboBox>(*w.nmeaWindow(), "cmbNmeaTalker")->setCurrentIndex(3);
             control<QPushButton>(*w.nmeaWindow(), "cmdNmeaAccept")->click();
         },
         "NMEA input 1 sentence"},
        {"New",
         [&] {
             fake.dialogs.messageAnswers = {MessageAnswer::Yes};
             control<QAction>("New")->trigger();
         },
         "New"},
        {"Open",
         [&] {
             fake.dialogs.fileAnswers = {otherFile};
             fake.dialogs.messageAnswers = {MessageAnswer::Yes}; // lose the unsaved changes
             control<QAction>("Open")->trigger();
         },
         "Open OTHER.CFG"},
        {"Read Everything",
         [&] {
             fake.dialogs.messageAnswers = {MessageAnswer::Ok};
             control<QPushButton>("cmdReadEverything")->click();
         },
         "Read Everything"},
    };

    // What the windows showed before each step.
    struct Shown
    {
        QString damping;
        int display1 = 0;
        bool knots = false;
        bool operator==(const Shown &) const = default;
    };
    const auto shownNow = [&] {
        return Shown{damping->text(),
                     control<QComboBox>("ComboDisplay1")->currentIndex(),
                     control<QAction>("Knots")->isChecked()};
    };
    std::vector<ConfigImage> befores;
    std::vector<Shown> shownBefore;
    for (const Step &step : steps) {
        const ConfigImage before = state.document.image;
        befores.push_back(before);
        shownBefore.push_back(shownNow());
        step.act();
        const ConfigImage after = state.document.image;
        ASSERT_FALSE(sameBits(before, after))
            << step.action << " changed nothing; last dialog: " << fake.dialogs.calls.back().text;
        EXPECT_EQ(undo()->text().toStdString(), "&Undo " + step.what) << step.action;

        undo()->trigger();
        EXPECT_TRUE(sameBits(state.document.image, before)) << "undo of " << step.action;
        EXPECT_EQ(redo()->text().toStdString(), "&Redo " + step.what) << step.action;
        redo()->trigger();
        EXPECT_TRUE(sameBits(state.document.image, after)) << "redo of " << step.action;
    }

    // Undoing every step in turn goes back through each earlier image, and
    // the windows show each as they did.
    for (size_t i = std::size(steps); i-- > 0;) {
        undo()->trigger();
        EXPECT_TRUE(sameBits(state.document.image, befores[i]))
            << "back before " << steps[i].action;
        EXPECT_TRUE(shownNow() == shownBefore[i]) << "shown before " << steps[i].action;
    }
    EXPECT_FALSE(undo()->isEnabled());
}

// The caption's unsaved marker follows the stack: saving marks the image
// clean without forgetting the history, and undo or redo to the saved image
// clears the marker again.
TEST_F(UndoRedoTest, TheTitleMarkerFollowsTheSavedImage)
{
    shown();
    ASSERT_FALSE(titleMarksChanges());
    control<QAction>("MPH")->trigger();
    EXPECT_TRUE(titleMarksChanges());
    undo()->trigger();
    EXPECT_FALSE(titleMarksChanges()) << "back at the image the working file holds";
    EXPECT_FALSE(state.document.changed);
    redo()->trigger();
    EXPECT_TRUE(titleMarksChanges());

    control<QAction>("Save")->trigger();
    EXPECT_FALSE(titleMarksChanges());
    EXPECT_TRUE(undo()->isEnabled()) << "saving keeps the history";
    undo()->trigger();
    EXPECT_TRUE(titleMarksChanges());
    EXPECT_TRUE(state.document.changed) << "the exit question must know";
    redo()->trigger();
    EXPECT_FALSE(titleMarksChanges());

    fake.dialogs.inputAnswers = {"1234.5"};
    control<QAction>("FuelTankSize")->trigger();
    EXPECT_TRUE(titleMarksChanges());
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

// Before an upload writes anything the user sees what it changes. Cancel
// leaves the instrument as it was; Upload writes and keeps a copy of what the
// unit held, which Unit History opens as the working image or restores to
// the unit exactly.
TEST_F(UndoRedoTest, UploadShowsItsChangesCancelWritesNothingAndTheKeptCopyOpensAndRestores)
{
    frmMain &w = shown();
    link().setComPortNumber(1);
    control<QAction>("MPH")->trigger();
    const std::vector<uint8_t> held = instrumentMemories();
    const uint8_t heldSpeedUnits = fake.instrument.internalNvm()[kSpeedUnitsByte];

    std::vector<std::string> shownLines;
    answerSelection("cmdWarningContinue");
    whenComparisonShown([&](frmComparison &dialog) {
        shownLines = treeLines(*control<QTreeWidget>(dialog, "treDifferences"));
        EXPECT_FALSE(control<QPushButton>(dialog, "cmdClose")->isVisible());
        control<QPushButton>(dialog, "cmdCancel")->click();
    });
    control<QPushButton>("cmdUpload")->click();
    EXPECT_EQ(instrumentMemories(), held) << "Cancel wrote to the instrument";
    EXPECT_NE(std::find(shownLines.begin(), shownLines.end(), "Units of Measure"),
              shownLines.end());
    EXPECT_TRUE(std::any_of(shownLines.begin(), shownLines.end(), [](const std::string &line) {
        return line.starts_with("    Speed units: ") && line.ends_with(" → MPH/Miles");
    }));
    EXPECT_TRUE(fake.dialogs.messages().empty());

    answerSelection("cmdWarningContinue");
    whenComparisonShown(
        [&](frmComparison &dialog) { control<QPushButton>(dialog, "cmdUpload")->click(); });
    control<QPushButton>("cmdUpload")->click();
    ASSERT_NE(instrumentMemories(), held);
    const ConfigImage uploaded = state.document.image;

    control<QAction>("UnitHistory")->trigger();
    frmUnitHistory *history = w.unitHistoryWindow();
    ASSERT_TRUE(history && history->isVisible());
    auto *tree = control<QTreeWidget>(*history, "treUnitCopies");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("2026-07-04 14:05:09"));
    EXPECT_FALSE(control<QPushButton>(*history, "cmdOpenCopy")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(*history, "txtFolder")->text().isEmpty());
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    // The edit to MPH is not saved: Open asks first, as File > Open does.
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    control<QPushButton>(*history, "cmdOpenCopy")->click();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].title, "Unsaved Changes");
    EXPECT_TRUE(sameBits(state.document.image, uploaded));
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    control<QPushButton>(*history, "cmdOpenCopy")->click();

    EXPECT_EQ(state.document.image.IntNvm[kSpeedUnitsByte], heldSpeedUnits)
        << "the copy holds what the unit held before the upload";
    EXPECT_TRUE(titleMarksChanges());
    undo()->trigger();
    EXPECT_TRUE(sameBits(state.document.image, uploaded));

    // Restoring exactly shows what goes back, then gives the unit every byte
    // it held before the upload, its upload counter included.
    QString restoreTitle;
    QString restoreButton;
    whenComparisonShown([&](frmComparison &dialog) {
        restoreTitle = dialog.windowTitle();
        restoreButton = control<QPushButton>(dialog, "cmdUpload")->text();
        control<QPushButton>(dialog, "cmdUpload")->click();
    });
    control<QPushButton>(*history, "cmdRestoreExactly")->click();
    EXPECT_EQ(restoreTitle, QStringLiteral("Restore This Unit Exactly"));
    EXPECT_EQ(restoreButton, QStringLiteral("Restore"));
    EXPECT_EQ(instrumentMemories(), held);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2) << "what the unit held just before is kept";
    // The PC's image keeps its edits (connecting only reads the counter into it).
    EXPECT_EQ(state.document.image.IntNvm[kSpeedUnitsByte], uploaded.IntNvm[kSpeedUnitsByte]);
    EXPECT_EQ(state.document.image.CDC, uploaded.CDC);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

// The comparisons on their own only show: against the Orvane nothing is
// written, between two files a file that cannot be read is named, and each
// window offers Close alone.
TEST_F(UndoRedoTest, ComparisonsOnTheirOwnShowTheDifferencesAndWriteNothing)
{
    frmMain &w = shown();
    link().setComPortNumber(1);
    const std::string before = programFile("BEFORE.CFG").string();
    const std::string after = programFile("AFTER.CFG").string();
    ASSERT_TRUE(
        saveConfigsFileAs(state.document.image, state.files, 1, fake.platform, before).ok());
    control<QAction>("MPH")->trigger();
    ASSERT_TRUE(saveConfigsFileAs(state.document.image, state.files, 1, fake.platform, after).ok());
    frmComparison &dialog = *w.comparisonWindow();
    auto *differences = control<QTreeWidget>(dialog, "treDifferences");

    fake.dialogs.fileAnswers = {before, programFile("MISSING.CFG").string()};
    control<QAction>("CompareFiles")->trigger();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].text.find("MISSING.CFG"), std::string::npos);
    EXPECT_FALSE(dialog.isVisible());

    fake.dialogs.fileAnswers = {before, after};
    control<QAction>("CompareFiles")->trigger();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(
        treeLines(*differences),
        (std::vector<std::string>{"Units of Measure", "    Speed units: Knots/NM → MPH/Miles"}));
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdClose")->isVisible());
    EXPECT_FALSE(control<QPushButton>(dialog, "cmdUpload")->isVisible());
    control<QPushButton>(dialog, "cmdClose")->click();

    const std::vector<uint8_t> held = instrumentMemories();
    control<QAction>("CompareWithOrvane")->trigger();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(treeLines(*differences).empty());
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdClose")->isVisible());
    EXPECT_EQ(instrumentMemories(), held);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}
