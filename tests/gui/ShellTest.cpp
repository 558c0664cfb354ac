#include "MainWindowFixture.h"

#include "app/ui/EditorOptions.h"
#include "app/ui/frmAbout.h"
#include "config/ConfigFile.h"
#include "config/ConfigTestSupport.h"
#include "config/Defaults.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "factory/ui/frmHalvero.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

using namespace orvane;
using namespace orvane::test;

namespace {

std::string defaultsFileText(const LocalDateTime &when)
{
    ConfigState defaults;
    WriteDefaultsToRam(defaults.document, false);
    defaults.comPortNumber = 0;
    return fileTextOf(defaults, when);
}

} // namespace

using StartupTest = MainWindowFixture;

TEST_F(StartupTest, EmptyFolderGetsTheFactoryDefaultsFile)
{
    frmMain &w = started();

    EXPECT_EQ(readAll(programFile("DEFAULT.CFG")), defaultsFileText(fake.clock.local));
    EXPECT_EQ(control<QLabel>("lblCommsPort")->text(), "COM Port = 0");
    EXPECT_EQ(w.windowTitle(), "Halvero Orvane Display Configuration Editor");
    EXPECT_EQ(control<QLabel>("lblConnected")->text(), "Not Connected to Orvane");
    EXPECT_EQ(control<QLabel>("lblOrvaneSN")->text(), "  Orvane SN#:  Unknown");
    EXPECT_EQ(control<QGroupBox>("fraData")->title(), "Data for Current Configuration #1 ");
    EXPECT_EQ(test::control<QLineEdit>(*w.factoryWindow(), "txtU401SwVer").text(), "Unknown");
    EXPECT_FALSE(w.factoryWindow()->isVisible());
    EXPECT_EQ(fake.dialogs.calls.size(), 0u) << "the first start asks nothing";
}

TEST_F(StartupTest, ReadsTheWorkingFileAndShowsItsPort)
{
    ConfigState saved;
    WriteDefaultsToRam(saved.document, false);
    saved.comPortNumber = 3;
    saved.document.image.IntNvm[106] = 42; // boat speed damping
    saved.document.image.IntNvm[46] = 7;   // first alarm 07:05
    saved.document.image.IntNvm[47] = 5;
    saved.document.image.IntNvm[98] = 9; // fuel sender: user curve
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary)
        << fileTextOf(saved, fake.clock.local);

    frmMain &w = started();

    EXPECT_EQ(control<QLabel>("lblCommsPort")->text(), "COM Port =  3");
    EXPECT_EQ(link().linkState().ComPortNumber, 3);
    EXPECT_EQ(control<QLineEdit>(*w.dampingWindow(), "txtDampingValue")->text(), "42");
    EXPECT_EQ(control<QLineEdit>(*w.todAlarmsWindow(), "txtTodHours")->text(), "07");
    EXPECT_EQ(control<QLineEdit>(*w.todAlarmsWindow(), "txtTodMinutes")->text(), "05");
    EXPECT_EQ(control<QComboBox>(*w.sendersWindow(), "cboFuelSender")->currentIndex(), 3);
    EXPECT_EQ(state.document.image.IntNvm[6], 1);
}

TEST_F(StartupTest, PortOnTheCommandLineIsUsedButNotStoredUntilSaved)
{
    ConfigState saved;
    WriteDefaultsToRam(saved.document, false);
    saved.comPortNumber = 3;
    const std::string text = fileTextOf(saved, fake.clock.local);
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary) << text;

    const Result<EditorOptions> options = parseEditorOptions({"orvane-editor", "--port", "1"});
    ASSERT_TRUE(options.ok()) << options.error();
    frmMain &w = started();
    w.usePort(*options->port);

    EXPECT_EQ(control<QLabel>("lblCommsPort")->text(), "COM Port =  1");
    EXPECT_EQ(link().linkState().ComPortNumber, 1);
    EXPECT_EQ(readAll(programFile("DEFAULT.CFG")), text);
    EXPECT_EQ(w.windowTitle(), "Halvero Orvane Display Configuration Editor");

    for (const QStringList &bad : {QStringList{"orvane-editor", "--port", "17"},
                                   {"orvane-editor", "--port", "0"},
                                   {"orvane-editor", "--port", "COM1"},
                                   {"orvane-editor", "--port"},
                                   {"orvane-editor", "BOAT.CFG"}})
        EXPECT_FALSE(parseEditorOptions(bad).ok()) << bad.join(' ').toStdString();
    EXPECT_FALSE(parseEditorOptions({"orvane-editor"})->port);
}

TEST_F(StartupTest, FillsEveryPickListOnceInItsWindow)
{
    frmMain &w = started();
    const std::pair<QComboBox *, int> lists[] = {
        {control<QComboBox>(*w.dampingWindow(), "cboDamping"), 9},
        {control<QComboBox>(*w.sendersWindow(), "cboEngineTempSender"), 7},
        {control<QComboBox>(*w.sendersWindow(), "cboFuelSender"), 4},
        {control<QComboBox>(*w.sendersWindow(), "cboOilPressureSender"), 8},
        {control<QComboBox>(*w.sendersWindow(), "cboTrimSender"), 6},
        {control<QComboBox>(*w.sendersWindow(), "cbo2ndTankSender"), 4},
        {control<QComboBox>("ComboDisplay1"), 29},
        {control<QComboBox>("ComboDisplay2"), 29},
        {control<QComboBox>("ComboDisplay3"), 33},
        {control<QComboBox>("ComboDisplayLeftBar"), 29},
        {control<QComboBox>("ComboDisplayRightBar"), 29},
        {control<QComboBox>(*w.nmeaWindow(), "cmbNmeaTalker"), 49},
        {control<QComboBox>(*w.nmeaWindow(), "cmbNmeaID"), 120},
        {control<QComboBox>(*w.nmeaWindow(), "cmdNmeaCommas"), 25},
        {control<QComboBox>(*w.todAlarmsWindow(), "cboTodAlarms"), 8},
    };
    for (const auto &[list, count] : lists)
        EXPECT_EQ(list->count(), count) << list->objectName().toStdString();
    EXPECT_EQ(control<QComboBox>(*w.nmeaWindow(), "cmbNmeaTalker")->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>("ComboDisplay3")->itemText(20), "Race Timer #1");
    EXPECT_EQ(
        control<QTableWidget>(*w.sendersWindow(), "MSFlexGrid1")->horizontalHeaderItem(1)->text(),
        "Ohms");

    // New runs the start-up again but never refills a list.
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    control<QAction>("New")->trigger();
    for (const auto &[list, count] : lists)
        EXPECT_EQ(list->count(), count) << list->objectName().toStdString();
}

TEST_F(StartupTest, TruncatedWorkingFileKeepsCurvesAlreadyRead)
{
    ConfigState saved;
    WriteDefaultsToRam(saved.document, false);
    saved.comPortNumber = 5;
    saved.document.image.CalCurve(1, 1, 1) = 77; // curve 1 is full and non-default
    saved.document.image.CalCurve(1, 2, 2) = 555;
    saved.document.image.IntNvm[7] = 50;
    std::string text = fileTextOf(saved, fake.clock.local);
    // Keep the lines up to and including the first curve's 32 points.
    size_t cut = 0;
    for (int line = 0; line < 2326 + 32; ++line)
        cut = text.find("\r\n", cut) + 2;
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary) << text.substr(0, cut);

    started();

    EXPECT_EQ(readAll(programFile("DEFAULT.CFG.bad")), text.substr(0, cut))
        << "the damaged file is kept before it is replaced";

    EXPECT_EQ(state.document.image.CalCurve(1, 1, 1), 77.0f);
    EXPECT_EQ(state.document.image.CalCurve(1, 2, 2), 555.0f);
    EXPECT_EQ(state.document.image.IntNvm[7], 5) << "settings fall back to the factory defaults";
    EXPECT_EQ(link().linkState().ComPortNumber, 0);
    EXPECT_EQ(control<QLabel>("lblCommsPort")->text(), "COM Port = 0");
    const std::string rewritten = readAll(programFile("DEFAULT.CFG"));
    EXPECT_EQ(std::count(rewritten.begin(), rewritten.end(), '\n'), 3351);
}

TEST_F(StartupTest, WorkingFileLivesBesideTheProgramWhateverTheCurrentFolder)
{
    QTemporaryDir elsewhere;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path().toStdString());
    started();
    std::filesystem::current_path(before);

    EXPECT_TRUE(std::filesystem::exists(programFile("DEFAULT.CFG")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(elsewhere.path().toStdString())
                                         / "DEFAULT.CFG"));
}

TEST_F(StartupTest, ReadOnlyProgramFolderUsesTheUserDataFolder)
{
    // A program folder that cannot hold files: a path below a regular file.
    std::ofstream(programFile("not-a-folder")) << "x";
    fake.files.programDir = programFile("not-a-folder").string();

    frmMain &w = started();

    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(userDataDir.path().toStdString())
                                        / "DEFAULT.CFG"));
    control<QAction>("About")->trigger();
    EXPECT_TRUE(
        control<QLabel>(*w.aboutWindow(), "lblWorkingFolder")->text().contains(userDataDir.path()));
    EXPECT_EQ(control<QLineEdit>(*w.aboutWindow(), "txtOrvaneSN")->text(), "Unknown");
    EXPECT_EQ(control<QLineEdit>(*w.aboutWindow(), "txtPcSoftwareVer")->text(), "Ver 1.4.31");
}

TEST_F(StartupTest, InstalledCopyStartsOnceFromTheShippedWorkingFileThenFromItsOwn)
{
    ConfigState shipped;
    WriteDefaultsToRam(shipped.document, false);
    shipped.comPortNumber = 4;
    shipped.document.image.IntNvm[106] = 42;
    const std::string shippedText = fileTextOf(shipped, fake.clock.local);
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary) << shippedText;
    fake.files.programDirWritable = false;

    started();
    EXPECT_EQ(link().linkState().ComPortNumber, 4);
    EXPECT_EQ(state.document.image.IntNvm[106], 42);
    const auto userFile = std::filesystem::path(userDataDir.path().toStdString()) / "DEFAULT.CFG";
    EXPECT_EQ(readAll(userFile), shippedText);

    // Later starts keep to the per-user file, whatever ships beside the program.
    shipped.comPortNumber = 9;
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary)
        << fileTextOf(shipped, fake.clock.local);
    window().startup();
    EXPECT_EQ(link().linkState().ComPortNumber, 4);
}

using FileMenuTest = MainWindowFixture;

TEST_F(FileMenuTest, NewAnsweredNoChangesNothing)
{
    started();
    state.document.image.IntNvm[7] = 200;
    fake.dialogs.messageAnswers = {MessageAnswer::No};

    control<QAction>("New")->trigger();

    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].title, "Load default display configurations");
    EXPECT_EQ(fake.dialogs.messages()[0].text,
              "Are you sure?\r\nThis will overwrite all the current display configurations and "
              "settings!");
    EXPECT_EQ(state.document.image.IntNvm[7], 200);
}

TEST_F(FileMenuTest, NewAnsweredYesKeepsPortAndLoadsDefaults)
{
    ConfigState saved;
    WriteDefaultsToRam(saved.document, false);
    saved.comPortNumber = 4;
    std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary)
        << fileTextOf(saved, fake.clock.local);
    started();
    state.document.image.CDC(3, 28) = 0;
    link().setConnected(true);
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    control<QAction>("New")->trigger();

    EXPECT_EQ(link().linkState().ComPortNumber, 4);
    EXPECT_EQ(state.document.image.CDC(3, 28), 1);
    EXPECT_FALSE(link().linkState().IsConnected);
    EXPECT_EQ(control<QPushButton>("cmdSetCurrentConfig")->text(), "Set # 1  Icons");
    EXPECT_EQ(control<QPushButton>("cmdResetCurrentConfig")->text(), "Clear # 1  Icons");
    EXPECT_EQ(control<QPushButton>("cmdClearConfig")->text(), "Clear Configuration # 1");
    EXPECT_EQ(control<QGroupBox>("fraData")->title(), "Data for Current Configuration # 1 ");
}

TEST_F(FileMenuTest, ExitAnsweredNoWritesNothingAndAsksOnce)
{
    frmMain &w = started();
    std::filesystem::remove(programFile("DEFAULT.CFG"));
    fake.dialogs.messageAnswers = {MessageAnswer::No};

    control<QAction>("Exit")->trigger();

    EXPECT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].title, "Quit Program");
    EXPECT_FALSE(std::filesystem::exists(programFile("DEFAULT.CFG")));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FileMenuTest, CloseBoxAsksTheSameSingleQuestionAndSaves)
{
    frmMain &w = started();
    w.show();
    state.document.image.IntNvm[7] = 20;
    state.files.ConfigFileName = "OTHER.CFG";
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    w.close();

    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text,
              "Save setup data to default setup file before exiting program?");
    EXPECT_EQ(state.files.ConfigFileName, "DEFAULT.CFG");
    EXPECT_NE(readAll(programFile("DEFAULT.CFG")).find(" 7 , 20 \r\n"), std::string::npos);
}

TEST_F(FileMenuTest, ExitWhoseSaveFailsStaysOpenAndAsksAgainNextTime)
{
    frmMain &w = started();
    w.show();
    // A folder where the file should be: the save cannot replace it.
    std::filesystem::remove(programFile("DEFAULT.CFG"));
    std::filesystem::create_directory(programFile("DEFAULT.CFG"));
    fake.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};

    w.close();

    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(fake.dialogs.messages().size(), 2u);
    EXPECT_EQ(fake.dialogs.messages()[1].buttons, MessageButtons::Ok) << "the failure is reported";
    EXPECT_FALSE(state.files.ExitPromptDone);

    std::filesystem::remove(programFile("DEFAULT.CFG"));
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(std::filesystem::is_regular_file(programFile("DEFAULT.CFG")));
}

TEST_F(FileMenuTest, ExitNewAndOpenWaitForARunningExchangeAndSayWhy)
{
    frmMain &w = started();
    w.show();
    link().setLineUser(LineUser::Upload);
    state.document.image.IntNvm[7] = 200;

    w.close();
    control<QAction>("New")->trigger();
    control<QAction>("Open")->trigger();

    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(state.document.image.IntNvm[7], 200);
    const auto messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 3u) << "only the explanations, no save question";
    EXPECT_EQ(messages[0].title, "Quit Program");
    for (const DialogCall &message : messages)
        EXPECT_EQ(message.text, "An upload to the Orvane is running. Wait for it to finish.");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}
