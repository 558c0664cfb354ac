#include "app/Startup.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Only the folder questions matter to the choice.
class FolderAnswers : public FileSystem
{
public:
    std::string programFolder() override { return "/opt/orvane"; }
    std::string userDataFolder() override { return "/home/skipper/.local/share/orvane"; }
    bool isWritableFolder(const std::string &) override { return writable; }
    bool isInstalledCopy() override { return installed; }
    std::string resolve(const std::string &folder, const std::string &name) override
    {
        return folder + "/" + name;
    }
    Result<std::string> readFile(const std::string &) override { return failure("no files"); }
    Result<> writeFileAtomically(const std::string &, const std::string &) override
    {
        return failure("no files");
    }

    bool writable = true;
    bool installed = false;
};

TEST(WorkingFolder, ProgramFolderOnlyForAWritableCopyThatWasNotInstalled)
{
    FolderAnswers files;
    EXPECT_EQ(chooseWorkingFolder(files), "/opt/orvane");
    files.writable = false;
    EXPECT_EQ(chooseWorkingFolder(files), "/home/skipper/.local/share/orvane");
    files.writable = true; // an installed copy run as root
    files.installed = true;
    EXPECT_EQ(chooseWorkingFolder(files), "/home/skipper/.local/share/orvane");
}

} // namespace
} // namespace orvane
