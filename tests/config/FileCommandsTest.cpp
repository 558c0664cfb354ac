#include "ConfigTestSupport.h"

#include "config/FileCommands.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class FileCommands : public ConfigFixtureBase, public ::testing::Test
{
protected:
    // A loaded working state that differs from the defaults, so a rollback
    // is visible.
    void SetUp() override
    {
        WriteDefaultsToRam(state.document, false);
        state.document.image.CDC(4, 30) = 0x42;
        state.document.image.CalCurve(6, 5, 1) = 77.5f;
        state.comPortNumber = 2;
        state.files.FileHeaderLines[3] = "Date created: 01-01-2020.  Time created: 00:00:00";
        state.document.changed = false;
    }

    FileCommandResult saveAs()
    {
        return fileSaveAs(state.document, state.files, state.comPortNumber, platform);
    }

    std::string otherFileText()
    {
        ConfigState other;
        WriteDefaultsToRam(other.document, false);
        other.comPortNumber = 5;
        other.document.image.IntNvm[98] = 9; // fuel sender code 9 -> list position 3
        other.document.image.IntNvm[6] = 12;
        other.document.image.CDC(16, 100) = 1;
        return fileTextOf(other, {2025, 3, 9, 8, 7, 6});
    }
};

} // namespace

TEST_F(FileCommands, OpenReadsTheChosenFileWithoutChangingConfigFileName)
{
    writeText(folder.file("BOAT.CFG"), otherFileText());
    fake.dialogs.fileAnswers.push_back(folder.file("BOAT.CFG"));

    const OpenedFile opened = fileOpen(state.document, state.files, platform);
    EXPECT_EQ(opened.result, FileCommandResult::Done);

    ASSERT_EQ(fake.dialogs.calls.size(), 1u);
    EXPECT_EQ(fake.dialogs.calls[0].kind, DialogCall::Kind::OpenFile);
    EXPECT_EQ(fake.dialogs.calls[0].title, "Read configuration data from file:");
    EXPECT_EQ(fake.dialogs.calls[0].text, "Files (*.CFG)| *.CFG");
    EXPECT_EQ(state.files.ConfigFileName, "DEFAULT.CFG");
    EXPECT_EQ(opened.comPortNumber, 5);
    EXPECT_EQ(commsPortCaption(opened.comPortNumber), "COM Port =  5");
    EXPECT_EQ(state.document.image.IntNvm[6], 1);
    EXPECT_EQ(state.document.image.CDC(16, 100), 1);
    EXPECT_EQ(state.files.FileHeaderLines[3], "Date created: 03-09-2025.  Time created: 08:07:06");
    EXPECT_TRUE(state.document.changed);

    // Save still writes the working file, not the one opened.
    EXPECT_EQ(fileSave(state.document, state.files, opened.comPortNumber, platform),
              FileCommandResult::Done);
    EXPECT_EQ(crlfLines(readText(folder.file("DEFAULT.CFG"))).at(5), "COMport=, 5 ");
    EXPECT_EQ(readText(folder.file("BOAT.CFG")), otherFileText());
}

TEST_F(FileCommands, MalformedFileIsReportedAndRolledBackCompletely)
{
    const ConfigState before = state;
    // Byte 200 fails after the port, the headers and 200 bytes were read.
    writeText(folder.file("BAD.CFG"), withLine(otherFileText(), 7 + 200, " 200 , 256 "));
    fake.dialogs.fileAnswers.push_back(folder.file("BAD.CFG"));

    EXPECT_EQ(fileOpen(state.document, state.files, platform).result, FileCommandResult::Failed);

    EXPECT_EQ(state.document.image, before.document.image);
    EXPECT_EQ(state.files.FileHeaderLines, before.files.FileHeaderLines);
    EXPECT_FALSE(state.document.changed);

    const std::vector<DialogCall> messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    EXPECT_NE(messages[0].text.find(folder.file("BAD.CFG")), std::string::npos);
    EXPECT_NE(messages[0].text.find(
                  "Line 207: expected a byte 0..255 for IntNvm byte 200, found \"256\""),
              std::string::npos)
        << messages[0].text;
    EXPECT_NE(messages[0].text.find("Nothing was changed"), std::string::npos);
}

TEST_F(FileCommands, OpenOfAMissingFileSaysSoAndChangesNothing)
{
    const ConfigState before = state;
    fake.dialogs.fileAnswers.push_back(folder.file("NOPE.CFG"));

    EXPECT_EQ(fileOpen(state.document, state.files, platform).result, FileCommandResult::Failed);

    EXPECT_EQ(state.document.image, before.document.image);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].text.find("could not be opened"), std::string::npos);
}

TEST_F(FileCommands, CancelledDialogsDoNothing)
{
    const ConfigState before = state;
    fake.dialogs.fileAnswers = {"", ""};

    EXPECT_EQ(fileOpen(state.document, state.files, platform).result, FileCommandResult::Cancelled);
    EXPECT_EQ(saveAs(), FileCommandResult::Cancelled);

    EXPECT_EQ(state.document.image, before.document.image);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("DEFAULT.CFG")));
}

TEST_F(FileCommands, SaveAsWritesTheChosenFileOnly)
{
    fake.dialogs.fileAnswers.push_back(folder.file("COPY.CFG"));

    EXPECT_EQ(saveAs(), FileCommandResult::Done);

    const DialogCall &dialog = fake.dialogs.calls.at(0);
    EXPECT_EQ(dialog.kind, DialogCall::Kind::SaveFile);
    EXPECT_EQ(dialog.title, "Save Settings to File: ");
    EXPECT_EQ(dialog.text, "Files (*.CFG)| *.CFG");
    EXPECT_EQ(state.files.ConfigFileName, "DEFAULT.CFG");
    EXPECT_FALSE(std::filesystem::exists(folder.file("DEFAULT.CFG")));
    EXPECT_EQ(crlfLines(readText(folder.file("COPY.CFG"))).size(), 3351u);
    // Only the working file counts as saving the working state.
    state.document.changed = true;
    fake.dialogs.fileAnswers.push_back(folder.file("COPY.CFG"));
    saveAs();
    EXPECT_TRUE(state.document.changed);
}

TEST_F(FileCommands, FailedSaveIsReportedAndKeepsWhatWasThere)
{
    // Root ignores permissions; a folder where the file should be cannot be
    // replaced by a file.
    std::filesystem::create_directory(folder.file("DEFAULT.CFG"));
    writeText(folder.file("DEFAULT.CFG/keep"), "old");
    writeText(folder.file("plain"), "x");

    EXPECT_EQ(fileSave(state.document, state.files, state.comPortNumber, platform),
              FileCommandResult::Failed);
    fake.dialogs.fileAnswers.push_back(folder.file("plain/NEW.CFG"));
    EXPECT_EQ(saveAs(), FileCommandResult::Failed);

    EXPECT_EQ(readText(folder.file("DEFAULT.CFG/keep")), "old");
    EXPECT_EQ(readText(folder.file("plain")), "x");
    const std::vector<DialogCall> messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
    EXPECT_NE(messages[0].text.find(folder.file("DEFAULT.CFG")), std::string::npos);
    EXPECT_NE(messages[1].text.find(folder.file("plain/NEW.CFG")), std::string::npos);
    EXPECT_NE(messages[1].text.find("Save As"), std::string::npos);
}
