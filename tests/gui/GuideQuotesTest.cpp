#include "app/ExceptionGuard.h"
#include "app/GuideIndex.h"
#include "app/RecentFiles.h"
#include "app/Startup.h"
#include "config/FileCommands.h"
#include "editors/ConfigPanel.h"
#include "link/LinkTestSupport.h"
#include "platform/posix/SerialPortDoctor.h"
#include "support/TempFolder.h"
#include "transfer/TransferTestSupport.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <fstream>

// Every text the guide quotes is one the program shows. A quote is an
// element with class "msg"; inside it, <var> and "..." stand for what the
// program fills in. Each scene below makes the program show some of its
// texts, through the code that shows them, and every quote must be found
// among them.

namespace orvane::test {
namespace {

struct Quote
{
    std::string page;
    std::string shown;               // as the guide shows it
    std::vector<std::string> pieces; // the fixed parts, in order
};

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Line breaks and runs of blanks count as one blank, as the guide shows them.
std::string oneLine(const std::string &text)
{
    std::string line;
    appendShownText(line, text);
    return trimmed(line);
}

std::vector<Quote> quotesOf(const std::string &page, const std::string &html)
{
    std::vector<Quote> quotes;
    std::string element; // the quote's own element, while inside one
    int depth = 0;
    bool inVar = false;
    scanGuideHtml(
        html,
        [&](const HtmlTag &tag) {
            const auto cls = tag.attributes.find("class");
            if (depth == 0 && !tag.closing && cls != tag.attributes.end()
                && (" " + cls->second + " ").find(" msg ") != std::string::npos) {
                quotes.push_back({page, {}, {{}}});
                element = tag.name;
                depth = 1;
            } else if (depth > 0 && tag.name == "var") {
                inVar = !tag.closing;
                quotes.back().pieces.emplace_back();
            } else if (depth > 0 && tag.name == element) {
                depth += tag.closing ? -1 : 1;
            }
        },
        [&](const std::string &text) {
            if (depth == 0)
                return;
            Quote &quote = quotes.back();
            appendShownText(quote.shown, text);
            if (inVar)
                return;
            size_t at = 0;
            for (size_t gap; (gap = text.find("...", at)) != std::string::npos; at = gap + 3) {
                appendShownText(quote.pieces.back(), text.substr(at, gap - at));
                quote.pieces.emplace_back();
            }
            appendShownText(quote.pieces.back(), text.substr(at));
        });
    for (Quote &quote : quotes) {
        quote.shown = trimmed(quote.shown);
        for (std::string &piece : quote.pieces)
            piece = trimmed(piece);
    }
    return quotes;
}

bool quotedIn(const Quote &quote, const std::string &text)
{
    size_t at = 0;
    for (const std::string &piece : quote.pieces) {
        if (piece.empty())
            continue;
        if ((at = text.find(piece, at)) == std::string::npos)
            return false;
        at += piece.size();
    }
    return true;
}

class NullShellView : public ShellView
{
public:
    void createFactoryWindow() override {}
    bool pickListsFilled() override { return true; }
    void fillPickLists() override {}
    void showIdentity() override {}
    void setDataFrameCaption(const std::string &) override {}
    void setCommsPortLabel(const std::string &) override {}
    void showFirstDampingAndAlarm() override {}
    void redraw() override {}
    void selectFirstConfiguration() override {}
    void closeAllWindows() override {}
};

// Keeps half of every configuration file it is given.
class TruncatingFiles : public FakeFileSystem
{
public:
    Result<> writeFileAtomically(const std::string &path, const std::string &content) override
    {
        return FakeFileSystem::writeFileAtomically(
            path,
            path.ends_with(".CFG") ? content.substr(0, content.size() / 2) : content);
    }
};

class AlwaysUpload : public UploadReviewView
{
public:
    bool confirmUpload(const Comparison &) override { return true; }
    bool uploadUnchanged() override { return true; }
};

// The editor's logic on the fake platform, its image at the factory
// defaults, the selection dialog answering CONTINUE.
struct Rig
{
    Rig()
    {
        link.setComPortNumber(1);
        loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
        state.transfer.UploadSelection.fill(1);
        view.onShowSelection = [this] {
            state.transfer.TransferChoice = choice;
        };
    }

    // What the program has shown so far: boxes, captions, and `more`.
    std::vector<std::string> texts(const std::vector<std::string> &more) const
    {
        std::vector<std::string> shown = more;
        for (const DialogCall &call : fake.dialogs.calls)
            shown.insert(shown.end(), {call.text, call.title});
        shown.insert(shown.end(),
                     {connectionView.commsPortCaption,
                      connectionView.connectedCaption,
                      connectionView.connectingCaption,
                      view.selectionCaption});
        return shown;
    }

    void everyTenthOfASecond(std::function<void()> change)
    {
        fake.scheduler.schedule(fake.scheduler.now() + 0.1, [this, change] {
            change();
            everyTenthOfASecond(change);
        });
    }

    FakePlatform fake;
    AppState state;
    RecordingView connectionView;
    ByteLink link{fake.platform};
    Connection connection{fake.platform, link, connectionView};
    RecordingTransferView view;
    Transfers transfers{state.document,
                        state.transfer,
                        state.editor,
                        fake.platform,
                        link,
                        connection,
                        view};
    int choice = 2; // CONTINUE
};

// Each scene runs on a fresh rig and returns what else the program said.
struct Scene
{
    const char *what;
    std::function<std::vector<std::string>(Rig &)> show;
};

const Scene kScenes[] = {
    {"the port dialog's Test and Accept",
     [](Rig &r) {
         std::vector<std::string> said;
         const auto test = [&](int port) {
             const Result<std::string> result = r.connection.testPort(port, {});
             said.push_back(result ? *result : result.error());
         };
         test(1);
         r.fake.instrument.faults().blankIdentity = true;
         test(1);
         test(0);
         r.fake.port.missingPorts = {2};
         r.fake.dialogs.inputAnswers = {""};
         test(2);
         r.fake.instrument.setProductCode(2);
         r.fake.dialogs.messageAnswers = {MessageAnswer::No};
         test(1);
         r.fake.instrument.faults().noAnswer = true;
         r.fake.dialogs.messageAnswers = {MessageAnswer::No};
         test(1);
         r.connection.acceptCommsChoice(1);
         return said;
     }},
    {"the adapter pulled while connecting",
     [](Rig &r) {
         r.fake.instrument.faults().noAnswer = true;
         r.fake.scheduler.schedule(r.fake.scheduler.now() + 2, [&r] { r.fake.port.pullCable(); });
         r.connection.ConnectToTessaro();
         return std::vector<std::string>{};
     }},
    {"commands refused while the line is busy",
     [](Rig &r) {
         {
             const LineClaim claim = r.link.claimLine(LineUser::Download);
             (void)r.transfers.cmdUpload();
         }
         r.view.selectionShown = true;
         (void)r.transfers.cmdDownload();
         return std::vector<std::string>{kStopLiveNmeaQuestion};
     }},
    {"echoes that stop in a configuration record, a curve and the settings",
     [](Rig &r) {
         for (const int echoes : {300, 256 + 16 * 128 + 10, 100}) {
             r.fake.instrument.faults().echoesStopAfter = echoes;
             r.fake.instrument.restartEchoCount();
             (void)r.transfers.cmdUpload();
             r.fake.instrument.faults() = {};
             (void)r.connection.testPort(1, {});
         }
         return std::vector<std::string>{};
     }},
    {"the cable pulled during an upload",
     [](Rig &r) {
         r.fake.scheduler.schedule(r.fake.scheduler.now() + 12, [&r] { r.fake.port.pullCable(); });
         (void)r.transfers.cmdUpload();
         return std::vector<std::string>{};
     }},
    {"reads that fail: silence, short answers, settings that never verify",
     [](Rig &r) {
         connectToInstrument(r.connection, r.state.document.image);
         r.fake.instrument.faults().noAnswer = true;
         (void)r.transfers.cmdDownload();
         r.fake.instrument.faults() = {};
         r.fake.instrument.faults().shortReadBytes = 100;
         (void)r.transfers.cmdDownload();
         r.fake.instrument.faults() = {};
         r.fake.instrument.faults().badCheckByteReads = sim::kEveryTime;
         (void)r.transfers.cmdUpload();
         return std::vector<std::string>{};
     }},
    {"a configuration record that reads back different every time",
     [](Rig &r) {
         r.everyTenthOfASecond([&r] { ++r.fake.instrument.eeprom()[4096 + 1]; });
         (void)r.transfers.ReadEverything();
         return std::vector<std::string>{};
     }},
    {"a configuration record damaged in the unit",
     [](Rig &r) {
         r.fake.instrument.eeprom()[4096 + 2 * 128] ^= 1;
         (void)r.transfers.ReadEverything();
         return std::vector<std::string>{};
     }},
    {"a copy of the unit that cannot be saved",
     [](Rig &r) {
         AlwaysUpload review;
         r.transfers.setUploadReview(&review);
         const TempFolder folder;
         r.fake.files.userDataDir = folder.path();
         std::ofstream(folder.file("units")) << "in the way";
         (void)r.transfers.cmdUpload();
         r.transfers.setUploadReview(nullptr);
         return std::vector<std::string>{};
     }},
    {"a copy of the unit that does not read back",
     [](Rig &r) {
         TruncatingFiles files;
         const TempFolder folder;
         files.userDataDir = folder.path();
         InstrumentSnapshot held;
         std::copy_n(r.fake.instrument.internalNvm().begin(), 256, held.settings.begin());
         const Result<UnitCopy> copy = saveUnitCopy(files, held, "", {2026, 7, 4, 14, 5, 9}, 1);
         return std::vector<std::string>{copyNotKeptMessage(copy.error())};
     }},
    {"a unit restored exactly from a copy of another, or from no raw copy",
     [](Rig &r) {
         AlwaysUpload review;
         r.transfers.setUploadReview(&review);
         const TempFolder folder;
         r.fake.files.userDataDir = folder.path();
         (void)r.transfers.cmdUpload();
         const UnitCopy copy = listUnitHistory(r.fake.files).at(0).copies.at(0);
         r.fake.instrument.setSerial(24, 5, 30, 8);
         (void)r.transfers.RestoreUnitExactly(copy);
         (void)r.transfers.RestoreUnitExactly(UnitCopy{copy.serial, copy.taken, {}, {}, {}});
         r.transfers.setUploadReview(nullptr);
         return std::vector<std::string>{};
     }},
    {"the questions before the commands, answered No or CANCEL",
     [](Rig &r) {
         r.choice = 1;
         (void)r.transfers.cmdUpload();
         const std::vector<std::string> said = {r.view.selectionCaption};
         (void)r.transfers.cmdDownload();
         r.fake.dialogs.messageAnswers.assign(9, MessageAnswer::No);
         (void)r.transfers.ResetDefaults();
         (void)r.transfers.CreateBackup();
         (void)r.transfers.RestoreBackup();
         (void)r.transfers.UpdateFirmware();
         (void)r.transfers.cmdClearConfig();
         NullShellView shell;
         newConfiguration(r.state, r.link, r.fake.platform, shell);
         ClearAllIcons(r.state.document, r.fake.dialogs);
         SetAllIcons(r.state.document, r.fake.dialogs);
         QuitProgram(r.state, r.link, r.fake.platform, shell);
         return said;
     }},
    {"configuration files that cannot be read or written",
     [](Rig &r) {
         const TempFolder folder;
         std::ofstream(folder.file("BAD.CFG")) << "not a configuration\n";
         openConfigPath(r.state.document, r.state.files, r.fake.platform, folder.file("BAD.CFG"));
         openConfigPath(r.state.document, r.state.files, r.fake.platform, folder.file("NO.CFG"));
         r.state.files.ConfigFileName = folder.file("missing/BOAT.CFG");
         fileSave(r.state.document, r.state.files, 1, r.fake.platform);
         return std::vector<std::string>{missingRecentFileMessage(folder.file("GONE.CFG")),
                                         kRecentFilesTitle};
     }},
    {"an internal error",
     [](Rig &) {
         return std::vector<std::string>{internalErrorMessage("x"), kInternalErrorTitle};
     }},
    {"the port dialog's warnings",
     [](Rig &) {
         const TempFolder folder;
         const std::string sys = folder.file("sys");
         std::filesystem::create_directories(sys + "/class/tty/ttyUSB7/device");
         std::ofstream(sys + "/class/tty/ttyUSB7/device/latency_timer") << "16\n";
         std::ofstream(folder.file("ttyUSB7")) << "";
         std::vector<std::string> said = serialPortAdvice(folder.file("ttyUSB7"), sys);
         for (const std::string &line : serialPortAdvice(folder.file("ttyUSB9"), sys))
             said.push_back(line);
         said.push_back(permissionAdvice("/dev/ttyUSB0", "dialout"));
         return said;
     }},
};

std::string shipped(const QString &page)
{
    QFile file(QStringLiteral(":/guide/") + page);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(GuideQuotes, EveryQuotedTextIsOneTheProgramShows)
{
    std::vector<Quote> quotes;
    for (const QString &page : QDir(QStringLiteral(":/guide/")).entryList({"*.html"})) {
        const std::vector<Quote> found = quotesOf(page.toStdString(), shipped(page));
        quotes.insert(quotes.end(), found.begin(), found.end());
    }
    ASSERT_GE(quotes.size(), 60u) << "the quotes are no longer found";

    std::vector<bool> used(std::size(kScenes), false);
    std::vector<std::vector<std::string>> shown;
    for (const Scene &scene : kScenes) {
        Rig rig;
        shown.emplace_back();
        for (const std::string &text : rig.texts(scene.show(rig)))
            shown.back().push_back(oneLine(text));
    }
    for (const Quote &quote : quotes) {
        bool found = false;
        for (size_t s = 0; s < shown.size(); ++s)
            for (const std::string &text : shown[s])
                if (quotedIn(quote, text))
                    found = used[s] = true;
        EXPECT_TRUE(found) << quote.page << " quotes \"" << quote.shown
                           << "\", which the program never shows";
    }
    for (size_t s = 0; s < shown.size(); ++s)
        EXPECT_TRUE(used[s]) << "no quote of what " << kScenes[s].what << " shows";
}

} // namespace
} // namespace orvane::test
