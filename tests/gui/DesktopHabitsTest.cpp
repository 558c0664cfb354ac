#include "MainWindowFixture.h"

#include "app/ui/DesktopHabits.h"
#include "app/ui/frmHelp.h"
#include "config/ConfigTestSupport.h"
#include "transfer/TransferCategories.h"
#include "transfer/ui/TransferController.h"
#include "transfer/ui/frmBeingSentReceived.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

using namespace orvane;
using namespace orvane::test;

namespace {

// A file dropped on the main window, a recent file, and the menus and tips
// every desktop program has.
class DesktopHabitsTest : public MainWindowFixture
{
protected:
    // A whole configuration file naming port 5 and a fuel tank of 1234.
    std::string boatFile(const std::string &name)
    {
        ConfigState boat = defaultState();
        boat.comPortNumber = 5;
        boat.document.setIntNvmWord(21, 1234);
        const std::string path = programFile(name).string();
        writeText(path, fileTextOf(boat));
        return path;
    }

    // Drags the files over the main window and drops them if it accepts;
    // the window opens a dropped file once the drop has ended.
    bool drop(const std::vector<std::string> &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string &path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        mime.setUrls(urls);
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window(), &dropped);
        settle();
        return true;
    }

    // The open that follows a drop, then the menu that follows an open.
    static void settle()
    {
        QApplication::processEvents();
        QApplication::processEvents();
    }

    QAction *recentFile(int number)
    {
        return window().findChild<QAction *>(QStringLiteral("RecentFile%1").arg(number));
    }
};

} // namespace

TEST_F(DesktopHabitsTest, ADroppedFileOpensAsOpenDoesAndJoinsTheRecentFiles)
{
    started();
    const std::string boat = boatFile("BOAT.CFG");

    EXPECT_FALSE(drop({programFile("NOTES.TXT").string()})) << "only configuration files";
    EXPECT_FALSE(drop({boat, boat})) << "one file at a time";
    ASSERT_TRUE(drop({boat}));

    EXPECT_EQ(state.document.image.IntNvm.word(21), 1234);
    EXPECT_EQ(link().linkState().ComPortNumber, 5);
    EXPECT_EQ(control<QLabel>("lblCommsPort")->text(), "COM Port =  5");
    ASSERT_NE(recentFile(1), nullptr);
    EXPECT_TRUE(recentFile(1)->text().endsWith(QString::fromStdString(boat)));
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(DesktopHabitsTest, AMalformedDroppedFileLeavesTheImageAsItWasAndNamesTheLine)
{
    started();
    state.document.setIntNvmWord(21, 777);
    const ConfigImage before = state.document.image;
    const std::string bad = programFile("BAD.CFG").string();
    writeText(bad, withLine(readText(boatFile("GOOD.CFG")), intNvmLine(200), " 200 , 256 "));
    // The image holds an edit not yet saved: first the question.
    fake.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Ok};

    ASSERT_TRUE(drop({bad}));
    EXPECT_TRUE(state.document.image == before) << "No keeps the edits";
    ASSERT_TRUE(drop({bad}));

    EXPECT_TRUE(state.document.image == before);
    EXPECT_TRUE(state.document.changed);
    const auto messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages[2].title, "Configuration file not read");
    EXPECT_NE(messages[2].text.find("Line " + std::to_string(intNvmLine(200)) + ": expected"),
              std::string::npos)
        << messages[2].text;
    EXPECT_EQ(recentFile(1), nullptr) << "a file not read is not a recent file";
}

TEST_F(DesktopHabitsTest, TheRecentFilesSurviveARestartAndAGoneFileLeavesThem)
{
    const std::string boat = boatFile("BOAT.CFG");
    const std::string other = boatFile("OTHER.CFG");
    {
        AppState firstRun;
        frmMain first(firstRun, fake.platform);
        first.startup();
        first.habits().fileOpened(other);
        first.habits().fileOpened(boat);
        settle();
    }

    started();
    ASSERT_NE(recentFile(2), nullptr);
    EXPECT_EQ(recentFile(1)->text(), QStringLiteral("&1 %1").arg(QString::fromStdString(boat)));
    EXPECT_EQ(recentFile(2)->text(), QStringLiteral("&2 %1").arg(QString::fromStdString(other)));

    recentFile(2)->trigger();
    settle();
    EXPECT_EQ(state.document.image.IntNvm.word(21), 1234);
    EXPECT_TRUE(recentFile(1)->text().endsWith(QString::fromStdString(other)));

    std::filesystem::remove(boat);
    fake.dialogs.messageAnswers = {MessageAnswer::Ok};
    recentFile(2)->trigger();
    settle();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text,
              "The file " + boat
                  + " no longer exists. It was removed from the list of recent "
                    "files.");
    EXPECT_EQ(recentFile(2), nullptr);
    EXPECT_EQ(fake.settings.textList(RecentFiles::kSettingsKey), std::vector<std::string>{other});
}

TEST_F(DesktopHabitsTest, StandardKeysJoinTheMenusAndEveryChangeButtonAndCategoryHasATip)
{
    started();
    const std::pair<const char *, QKeySequence::StandardKey> keys[] = {
        {"New", QKeySequence::New},
        {"Open", QKeySequence::Open},
        {"Save", QKeySequence::Save},
        {"SaveAs", QKeySequence::SaveAs},
        {"Exit", QKeySequence::Quit},
        {"Contents", QKeySequence::HelpContents},
    };
    for (const auto &[name, key] : keys)
        for (const QKeySequence &standard : QKeySequence::keyBindings(key))
            EXPECT_TRUE(control<QAction>(name)->shortcuts().contains(standard)) << name;
    EXPECT_EQ(control<QAction>("Open")->text(), "&Open") << "captions stay";

    int changeButtons = 0;
    for (QPushButton *button : window().findChildren<QPushButton *>()) {
        if (button->text() != QStringLiteral("Change"))
            continue;
        ++changeButtons;
        EXPECT_TRUE(button->toolTip().endsWith(QLatin1Char('.')))
            << button->objectName().toStdString();
    }
    EXPECT_EQ(changeButtons, 14);
    frmBeingSentReceived &selection = *window().transfers().selectionWindow();
    for (int k = 0; k < kCategoryCount; ++k)
        EXPECT_FALSE(selection.box(k)->toolTip().isEmpty()) << k;
}

TEST_F(DesktopHabitsTest, OrvaneHelpOpensTheGuideAndItsSearchLeadsToASection)
{
    started();
    control<QAction>("Contents")->trigger();
    frmHelp *help = window().habits().helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    auto *page = &orvane::test::control<QTextBrowser>(*help, "txtGuide");
    EXPECT_EQ(page->source().toString(), frmHelp::guideUrl("index.html"));
    EXPECT_TRUE(page->toPlainText().contains("User's Guide"));

    orvane::test::control<QLineEdit>(*help, "txtSearch").setText("LATENCY timer");
    auto &found = orvane::test::control<QTreeWidget>(*help, "tvwContents");
    ASSERT_GT(found.topLevelItemCount(), 0);
    EXPECT_TRUE(found.topLevelItem(0)->text(0).startsWith("The latency timer"));
    found.setCurrentItem(found.topLevelItem(0));
    emit found.itemClicked(found.topLevelItem(0), 0);
    EXPECT_EQ(page->source().toString(),
              frmHelp::guideUrl("first-connection.html") + QStringLiteral("#latency"));

    orvane::test::control<QLineEdit>(*help, "txtSearch").setText("zzznotthere");
    EXPECT_EQ(found.topLevelItemCount(), 0);
    EXPECT_TRUE(
        orvane::test::control<QLabel>(*help, "lblSearchResult").text().startsWith("No section"));
    orvane::test::control<QLineEdit>(*help, "txtSearch").clear();
    EXPECT_GE(found.topLevelItemCount(), 4) << "the contents again, a page per top item";
}
