// Every box that asks for a number and every numeric field, fed the answers
// users give by mistake: each is clamped, asked again or refused, nothing
// crashes, and a refused answer sends nothing to the instrument.

#include "PanelTestSupport.h"

#include "editors/DampingAndAlarms.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "factory/ui/frmHalvero.h"

#include <QAction>
#include <QKeyEvent>
#include <QTableWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr uint8_t kRpm = 1;
constexpr uint8_t kOilPressure = 3; // one decimal
constexpr int kNmeaChannel2B = 3;   // damping list position, settings byte 102
constexpr int kMissingPort = 3;

// What users type by mistake. An empty answer and Cancel reach the editor
// alike, as an empty text.
const std::array<std::string, 9> kAnswers = {
    "abc",
    "",
    "   ",
    "-5",
    "1e30",
    "&H10",
    "&O17",
    "1,5",
    std::string(10000, '7'),
};
const std::array<const char *, 9> kAnswerNames = {
    "text",
    "empty or Cancel",
    "blanks",
    "negative",
    "1e30",
    "&H",
    "&O",
    "decimal comma",
    "10,000 characters",
};

constexpr long kKept = -1; // the value before the answer stays

struct Expected
{
    long stored;
    int asks; // 2: refused and asked again (then cancelled)
};

class HostileInputTest : public PanelFixture
{
protected:
    void SetUp() override
    {
        shown();
        configurationButton(1)->click();
        state.document.image.CDC(1, 28) = kRpm;         // display 1: alarms
        state.document.image.CDC(1, 88) = kOilPressure; // display 4: bar limits
        panel().reload();
    }

    // Answers one box with `answer`, then Cancel should it ask again.
    void answer(const std::string &text, const char *button)
    {
        fake.dialogs.inputAnswers = {text, ""};
        clickOrTrigger(button);
    }

    void clickOrTrigger(const char *name)
    {
        if (auto *action = window().findChild<QAction *>(name))
            action->trigger();
        else
            control<QPushButton>(name)->click();
    }

    // A paste over the whole field, as the user replaces its text.
    void paste(QLineEdit *field, const std::string &text)
    {
        field->selectAll();
        field->insert(QString::fromStdString(text));
        emit field->editingFinished();
    }
};

// A box and the word it stores: in the settings, or in configuration 1.
struct BoxCase
{
    const char *button;
    bool inConfiguration;
    int index;
    uint16_t before;
    std::array<Expected, kAnswers.size()> expected;

    long stored(const ConfigImage &image) const
    {
        return inConfiguration ? image.CDC.word(1, index) : image.IntNvm.word(index);
    }
    void reset(ConfigImage &image) const
    {
        if (inConfiguration)
            image.CDC.setWord(1, index, before);
        else
            image.IntNvm.setWord(index, before);
    }
};

} // namespace

TEST_F(HostileInputTest, NumberBoxesClampOrAskAgainAndNeverTakeAnUnreadableValue)
{
    // Tank sizes in tenths, the maintenance alarm in minutes, a bar limit in
    // tenths of the oil pressure; RPM alarms are whole numbers.
    const std::vector<BoxCase> boxes = {
        {"FuelTankSize",
         false,
         21,
         1234,
         {{{0, 1},
           {kKept, 1},
           {0, 1},
           {kKept, 2},
           {kKept, 2},
           {160, 1},
           {150, 1},
           {10, 1},
           {kKept, 2}}}},
        {"Tank2Size",
         false,
         23,
         4321,
         {{{0, 1},
           {kKept, 1},
           {0, 1},
           {kKept, 2},
           {kKept, 2},
           {160, 1},
           {150, 1},
           {10, 1},
           {kKept, 2}}}},
        {"ViewMaintenanceAlarm",
         false,
         114,
         600,
         {{{0, 1},
           {kKept, 1},
           {0, 1},
           {kKept, 2},
           {kKept, 2},
           {960, 1},
           {900, 1},
           {60, 1},
           {kKept, 2}}}},
        {"cmdDD1HiAlarm",
         false,
         130,
         9999,
         {{{0, 1}, {kKept, 1}, {0, 1}, {0, 1}, {65535, 1}, {16, 1}, {15, 1}, {1, 1}, {65535, 1}}}},
        {"cmdDD1LoAlarm",
         false,
         128,
         1111,
         {{{0, 1}, {kKept, 1}, {0, 1}, {0, 1}, {65535, 1}, {16, 1}, {15, 1}, {1, 1}, {65535, 1}}}},
        {"cmdDD4HiBar",
         true,
         91,
         3333,
         {{{0, 1},
           {kKept, 1},
           {0, 1},
           {0, 1},
           {65535, 1},
           {160, 1},
           {150, 1},
           {10, 1},
           {65535, 1}}}},
        {"cmdDD4LoBar",
         true,
         89,
         2222,
         {{{0, 1},
           {kKept, 1},
           {0, 1},
           {0, 1},
           {65535, 1},
           {160, 1},
           {150, 1},
           {10, 1},
           {65535, 1}}}},
    };

    for (const BoxCase &box : boxes) {
        for (size_t a = 0; a < kAnswers.size(); ++a) {
            SCOPED_TRACE(std::string(box.button) + ", " + kAnswerNames[a]);
            const Expected &expected = box.expected[a];
            ConfigImage &image = state.document.image;
            box.reset(image);
            panel().reload();
            const size_t asksBefore = fake.dialogs.inputs().size();

            answer(kAnswers[a], box.button);

            EXPECT_EQ(box.stored(image),
                      expected.stored == kKept ? long(box.before) : expected.stored);
            EXPECT_EQ(int(fake.dialogs.inputs().size() - asksBefore), expected.asks);
        }
    }
    EXPECT_EQ(fake.dialogs.unexpected, 0);
    EXPECT_TRUE(fake.dialogs.messages().empty()) << "out-of-range answers are not reported";
    EXPECT_TRUE(fake.port.written.empty());
}

TEST_F(HostileInputTest, PortNumberBoxSendsNothingUntilItHasAPortThatOpens)
{
    // Refused answers ask again about the same port; a port number read from
    // the answer is tried, and only then do bytes go to the instrument.
    const std::array<std::optional<int>, kAnswers.size()> chosen = {std::nullopt,
                                                                    std::nullopt,
                                                                    std::nullopt,
                                                                    std::nullopt,
                                                                    std::nullopt,
                                                                    16,
                                                                    15,
                                                                    1,
                                                                    std::nullopt};
    for (size_t a = 0; a < kAnswers.size(); ++a) {
        SCOPED_TRACE(kAnswerNames[a]);
        fake.port.close();
        fake.port.written.clear();
        fake.port.missingPorts = {kMissingPort};
        link().setConnected(false);
        link().setComPortNumber(kMissingPort);
        fake.dialogs.messageAnswers = {MessageAnswer::Yes};
        answer(kAnswers[a], "CreateBackup");

        const auto inputs = fake.dialogs.inputs();
        ASSERT_FALSE(inputs.empty());
        EXPECT_EQ(inputs.back().title, "Communications Error");
        if (chosen[a]) {
            EXPECT_EQ(link().linkState().ComPortNumber, *chosen[a]);
            EXPECT_FALSE(fake.port.written.empty());
        } else {
            EXPECT_EQ(link().linkState().ComPortNumber, kMissingPort);
            EXPECT_TRUE(fake.port.written.empty());
        }
    }
}

TEST_F(HostileInputTest, NumericFieldsClampWhatIsPastedAndShowWhatWasStored)
{
    frmMain &w = window();
    frmDamping *damping = w.dampingWindow();
    frmTimeOfDayAlarms *alarms = w.todAlarmsWindow();
    control<QAction>("ViewDamping")->trigger();
    control<QComboBox>(*damping, "cboDamping")->setCurrentIndex(kNmeaChannel2B);
    control<QAction>("ViewTodAlarms")->trigger();
    control<QComboBox>(*alarms, "cboTodAlarms")->setCurrentIndex(0);

    struct FieldCase
    {
        QLineEdit *field;
        std::function<long()> stored;
        std::array<long, kAnswers.size()> expected;
    };
    const ConfigImage &image = state.document.image;
    const std::vector<FieldCase> fields = {
        {control<QLineEdit>(*damping, "txtDampingValue"),
         [&] { return long(dampingValue(image, kNmeaChannel2B)); },
         {0, 0, 0, 0, 250, 16, 15, 1, 250}},
        {control<QLineEdit>(*alarms, "txtTodHours"),
         [&] { return long(image.IntNvm[kFirstTodAlarmByte]); },
         {0, 0, 0, 0, 23, 16, 15, 1, 23}},
        {control<QLineEdit>(*alarms, "txtTodMinutes"),
         [&] { return long(image.IntNvm[kFirstTodAlarmByte + 1]); },
         {0, 0, 0, 0, 59, 16, 15, 1, 59}},
    };
    for (const FieldCase &f : fields) {
        for (size_t a = 0; a < kAnswers.size(); ++a) {
            SCOPED_TRACE(f.field->objectName().toStdString() + ", " + kAnswerNames[a]);
            paste(f.field, kAnswers[a]);
            EXPECT_EQ(f.stored(), f.expected[a]);
        }
    }
    // The damping box shows the stored value once left.
    EXPECT_EQ(control<QLineEdit>(*damping, "txtDampingValue")->text(), "250");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(HostileInputTest, SenderGridTakesOnlyDigitsAndAPointAndClampsWhatIsTyped)
{
    control<QAction>("Senders")->trigger();
    frmSenders &senders = *window().sendersWindow();
    control<QPushButton>(senders, "cmdEditCurve6")->click();
    auto *grid = control<QTableWidget>(senders, "MSFlexGrid1");
    grid->setCurrentCell(1, 1);
    const auto type = [grid](int key, const QString &text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(grid, &event);
    };

    // Ohms of point 1; every key but a digit or '.' is refused with a beep.
    constexpr float kLargest = std::numeric_limits<float>::max();
    const std::array<float, kAnswers.size()> ohms = {0, 0, 0, 5, 130, 10, 17, 15, kLargest};
    const std::array<int, kAnswers.size()> beeps = {3, 0, 3, 1, 1, 2, 2, 1, 0};
    for (size_t a = 0; a < kAnswers.size(); ++a) {
        SCOPED_TRACE(kAnswerNames[a]);
        while (!grid->item(1, 1)->text().isEmpty())
            type(Qt::Key_Backspace, QStringLiteral("\b"));
        const int beepsBefore = fake.dialogs.beeps();
        for (const char c : kAnswers[a])
            type(Qt::Key_unknown, QString(QChar(c)));
        EXPECT_EQ(state.document.image.CalCurve(6, 1, 1), ohms[a]);
        EXPECT_EQ(fake.dialogs.beeps() - beepsBefore, beeps[a]);
    }
    EXPECT_EQ(grid->item(1, 1)->text().size(), 10000);
}

TEST_F(HostileInputTest, FactoryPromptsRefuseWhatTheyCannotUseBeforeAnythingIsSent)
{
    link().setFactoryMode(true);
    link().setComPortNumber(1);
    frmHalvero &factory = *window().factoryWindow();
    const std::string codeFile
        = (std::filesystem::path(fake.files.programDir) / "CODE.COD").string();
    std::filesystem::copy_file(ORVANE_FACTORY_FIXTURES "/CODE.COD", codeFile);

    // Per answer, in the order of kAnswers: R refused with a message, C
    // cancelled without one, T taken (the tool goes on). Earlier prompts
    // get `before`; later ones are cancelled.
    struct PromptCase
    {
        const char *button;
        const char *title;
        std::vector<std::string> before;
        bool confirms;
        const char *expected;
    };
    const std::vector<PromptCase> prompts = {
        {"cmdDisplayRam", "Get Data from Internal RAM", {}, false, "RCCRRTTRR"},
        {"cmdDisplayRam", "How Many bytes from Internal RAM?", {"0"}, false, "RCCRRTTRR"},
        {"cmdDisplayXram", "Get Data from Internal XRAM", {}, false, "RCCRRTTRR"},
        {"cmdDisplayIntNvmData", "How Many bytes from Internal NVM?", {"0"}, false, "RCCRRTTRR"},
        {"cmdDisplayExtNvmData", "Get Data from 24C512 NVM", {}, false, "RCCRRTTRR"},
        {"cmdDisplayFlashRom", "How many bytes of flash ROM?", {"32760"}, false, "RCCRRRRRR"},
        {"cmdProgByte24C512", "Get 24C512 NVM ADdress to program", {}, true, "RCCRRTTRR"},
        {"cmdProgByte24C512", "Get data byte", {"16"}, true, "RCCRRTTRR"},
        {"cmdProgByteIntNvm", "Get internal NVM address to program", {}, true, "RCCRRTTRR"},
        {"cmdProgByteIntNvm", "Get data byte", {"16"}, true, "RCCRRTTRR"},
        {"cmdHalveroNewSN", "Get new Orvane Serial Number", {}, true, "RCCRRRRRR"},
        {"cmdHalveroNewTessaro", "Get new Tessaro Serial Number", {}, true, "RCCRRRRRR"},
        {"cmdHalveroNewTessaro", "Get new Tessaro Product Code", {"100330001"}, true, "RCCRRRRRR"},
        {"cmdHalveroNewTessaro",
         "Get new Tessaro Firmware # (Sw_Ver)",
         {"100330001", "1"},
         true,
         "RCCRRTTRR"},
        {"cmdSaveFlashCode2File",
         "Flash ROM location to read from or 7,168",
         {},
         false,
         "RTTRRTTRR"},
        {"cmdSaveFlashCode2File",
         "Read ROM Sectors from Flash at location 7,168",
         {"7168"},
         false,
         "RCCRRTTRR"},
        {"cmdHalveroCopyCodeToFlash",
         "Copy program code from 24C512 NVM to flash ROM at 7,168",
         {},
         false,
         "RCCRRTTRR"},
        {"cmdHalveroCopyCodeToFlash",
         "Copy how many 64 byte Sectors from 24C512 NVM?",
         {"16384"},
         false,
         "RCCRRTTRR"},
        {"cmdSaveFileTo24C512", "24C512 ROM location to save ROM data to", {}, true, "RCCRRRRRR"},
    };
    for (const PromptCase &prompt : prompts) {
        for (size_t a = 0; a < kAnswers.size(); ++a) {
            SCOPED_TRACE(std::string(prompt.title) + ", " + kAnswerNames[a]);
            const char expected = prompt.expected[a];
            fake.dialogs.messageAnswers.clear();
            if (prompt.confirms)
                fake.dialogs.messageAnswers = {MessageAnswer::Yes};
            fake.dialogs.inputAnswers.assign(prompt.before.begin(), prompt.before.end());
            fake.dialogs.inputAnswers.push_back(kAnswers[a]);
            fake.dialogs.inputAnswers.insert(fake.dialogs.inputAnswers.end(), 3, "");
            // The code file for the store; a cancelled save box for the flash read.
            fake.dialogs.fileAnswers = {codeFile};
            link().setConnected(false);
            fake.port.written.clear();
            // Make NEW's serial number is free again for every answer.
            fake.production.store = std::make_shared<test::FakeRegisterStore>();
            const size_t messagesBefore = fake.dialogs.messages().size();

            control<QPushButton>(factory, prompt.button)->click();

            const auto messages = fake.dialogs.messages();
            const bool refused
                = std::any_of(messages.begin() + long(messagesBefore),
                              messages.end(),
                              [&prompt](const DialogCall &m) { return m.title == prompt.title; });
            const std::optional<FactoryResult> &result = factory.lastResult();
            ASSERT_TRUE(result.has_value());
            switch (expected) {
            case 'R':
                EXPECT_TRUE(refused);
                EXPECT_FALSE(result->ok());
                EXPECT_TRUE(fake.port.written.empty());
                break;
            case 'C':
                EXPECT_FALSE(refused);
                EXPECT_TRUE(result->ok() && **result == FactoryOutcome::Cancelled);
                EXPECT_TRUE(fake.port.written.empty());
                break;
            default:
                EXPECT_FALSE(refused);
            }
        }
    }
}
