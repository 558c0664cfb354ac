// Help > Serial Traffic…: the window shows the connect's bytes, logs nothing
// while paused or closed, clears, and saves what it shows.

#include "MainWindowFixture.h"

#include "link/ui/frmSerialTraffic.h"

#include <QPlainTextEdit>

namespace orvane::test {
namespace {

class SerialTrafficTest : public MainWindowFixture
{
protected:
    frmSerialTraffic &open()
    {
        started();
        control<QAction>("SerialTraffic")->trigger();
        frmSerialTraffic *traffic = window().serialTrafficWindow();
        EXPECT_NE(traffic, nullptr);
        EXPECT_TRUE(traffic->isVisible());
        return *traffic;
    }

    void connectAndEnd()
    {
        ASSERT_TRUE(window().linkView().connection().ConnectToTessaro());
        window().linkView().connection().endExchange(CommandCode::SoftReset);
    }

    QString shown(frmSerialTraffic &traffic)
    {
        return control<QPlainTextEdit>(traffic, "txtTraffic")->toPlainText();
    }
};

TEST_F(SerialTrafficTest, ShowsTheConnectAndLogsNothingWhilePausedOrClosed)
{
    frmSerialTraffic &traffic = open();
    link().setComPortNumber(1);
    connectAndEnd();
    auto *pause = control<QPushButton>(traffic, "cmdPause");
    pause->click(); // pausing shows what came so far
    const QString text = shown(traffic);
    EXPECT_TRUE(text.contains("echo        3D  =")) << text.toStdString();
    EXPECT_TRUE(text.contains("PC->Orvane  3D 0E 00 00 00")) << text.toStdString();
    EXPECT_TRUE(text.contains("PC->Orvane  3D FB 00 00 00")) << "the soft reset, last";

    const size_t logged = traffic.log().entries().size();
    connectAndEnd();
    EXPECT_EQ(traffic.log().entries().size(), logged) << "paused";
    pause->click();
    traffic.close();
    connectAndEnd();
    EXPECT_EQ(traffic.log().entries().size(), logged) << "closed";

    control<QPushButton>(traffic, "cmdClear")->click();
    EXPECT_TRUE(traffic.log().entries().empty());
    EXPECT_TRUE(shown(traffic).isEmpty());
}

TEST_F(SerialTrafficTest, SaveWritesTheLogAsText)
{
    frmSerialTraffic &traffic = open();
    link().setComPortNumber(1);
    connectAndEnd();
    const std::string path = (programDir.path() + "/traffic.txt").toStdString();
    fake.dialogs.fileAnswers.push_back(path);
    control<QPushButton>(traffic, "cmdSave")->click();
    const std::string saved = readAll(path);
    EXPECT_EQ(saved.rfind("Orvane serial traffic, saved ", 0), 0u) << saved;
    EXPECT_NE(saved.find("echo        3D  ="), std::string::npos);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'),
              std::ptrdiff_t(traffic.log().entries().size() + 2));
}

} // namespace
} // namespace orvane::test
