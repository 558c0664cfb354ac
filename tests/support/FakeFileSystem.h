#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace orvane::test {

// Real files under folders the test chooses, in plain C++ so that logic
// tests need no Qt. Writes go to a temporary file beside the target that is
// renamed over it, as the program's own file system does.
class FakeFileSystem : public FileSystem
{
public:
    std::string programFolder() override { return programDir; }
    std::string userDataFolder() override { return userDataDir; }
    bool isWritableFolder(const std::string &folder) override;
    std::string resolve(const std::string &folder, const std::string &name) override;
    Result<std::string> readFile(const std::string &path) override;
    Result<> writeFileAtomically(const std::string &path, const std::string &content) override;
    Result<> makeFolders(const std::string &path) override;
    std::vector<std::string> folderEntries(const std::string &folder, EntryKind kind) override;
    Result<> removeFile(const std::string &path) override;

    std::string programDir;
    std::string userDataDir;
    bool programDirWritable = true; // false: an installed copy's folder
};

} // namespace orvane::test
