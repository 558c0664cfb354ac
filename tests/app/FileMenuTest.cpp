#include "app/FileMenu.h"

#include "config/ConfigTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// The File menu over the whole working state: what a read brings beyond the
// image reaches the link and the editors only when the whole file was read.
class FileMenu : public ::testing::Test
{
protected:
    FileMenu()
    {
        fake.files.programDir = folder.path();
        fake.files.userDataDir = folder.path();
        state.files.WorkingFolder = folder.path();
        loadFactoryDefaults(state.document, state.editor, false);
        link.setComPortNumber(2);
        state.editor.CurveInEdit = 6;
    }

    // A file naming port 5, with the fuel sender's user curve (list position 3).
    std::string otherFileText()
    {
        ConfigState other = defaultState();
        other.comPortNumber = 5;
        other.document.image.IntNvm[98] = 9;
        other.document.image.IntNvm[100] = 4;
        return fileTextOf(other);
    }

    TempFolder folder;
    FakePlatform fake;
    AppState state;
    ByteLink link{fake.platform};
};

} // namespace

TEST_F(FileMenu, OpenGivesThePortToTheLinkAndTheNewImageToTheEditors)
{
    writeText(folder.file("BOAT.CFG"), otherFileText());
    fake.dialogs.fileAnswers.push_back(folder.file("BOAT.CFG"));

    EXPECT_EQ(openConfigFile(state, link, fake.platform), FileCommandResult::Done);

    EXPECT_EQ(link.linkState().ComPortNumber, 5);
    EXPECT_EQ(state.editor.senderLists.fuel, 3);
    EXPECT_EQ(state.editor.senderLists.engineTemp, 4);
    EXPECT_EQ(state.editor.CurveInEdit, 99);
    // Saving writes the port the link now has.
    EXPECT_EQ(saveConfigFile(state, link, fake.platform), FileCommandResult::Done);
    EXPECT_EQ(crlfLines(readText(folder.file("DEFAULT.CFG"))).at(5), "COMport=, 5 ");
}

TEST_F(FileMenu, AFileNotReadWholeLeavesThePortAndTheEditorsAlone)
{
    writeText(folder.file("BAD.CFG"), withLine(otherFileText(), 7 + 200, " 200 , 256 "));
    fake.dialogs.fileAnswers.push_back(folder.file("BAD.CFG"));

    EXPECT_EQ(openConfigFile(state, link, fake.platform), FileCommandResult::Failed);
    EXPECT_EQ(link.linkState().ComPortNumber, 2);
    EXPECT_EQ(state.editor.CurveInEdit, 6);

    // At start-up too: the sender lists are only selected once the whole
    // image is in.
    const std::vector<std::string> lines = crlfLines(otherFileText());
    writeText(folder.file("DEFAULT.CFG"),
              joinLines({lines.begin(), lines.begin() + curveLine(4, 1) - 1}));
    state.editor.senderLists = {};
    ASSERT_TRUE(readWorkingFile(state, link, fake.platform));
    EXPECT_EQ(state.editor.senderLists.fuel, -1);
    EXPECT_EQ(state.editor.CurveInEdit, 6);
    EXPECT_EQ(link.linkState().ComPortNumber, 2);
}

TEST_F(FileMenu, AWholeWorkingFileSelectsTheSenderListsAndClosesTheCurveEditor)
{
    writeText(folder.file("DEFAULT.CFG"), otherFileText());
    EXPECT_EQ(readWorkingFile(state, link, fake.platform), std::nullopt);
    EXPECT_EQ(link.linkState().ComPortNumber, 5);
    EXPECT_EQ(state.editor.senderLists.engineTemp, 4);
    EXPECT_EQ(state.editor.senderLists.fuel, 3);
    EXPECT_EQ(state.editor.CurveInEdit, 99);
    EXPECT_FALSE(state.document.changed);
}
