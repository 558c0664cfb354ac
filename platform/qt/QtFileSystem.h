#pragma once

#include "platform/Platform.h"

namespace orvane {

class QtFileSystem : public FileSystem
{
public:
    std::string programFolder() override;
    std::string userDataFolder() override;
    bool isWritableFolder(const std::string &folder) override;
    bool isInstalledCopy() override;
    std::string resolve(const std::string &folder, const std::string &name) override;
    Result<std::string> readFile(const std::string &path) override;
    Result<> writeFileAtomically(const std::string &path, const std::string &content) override;
    Result<> makeFolders(const std::string &path) override;
    std::vector<std::string> folderEntries(const std::string &folder, EntryKind kind) override;
    Result<> removeFile(const std::string &path) override;
};

} // namespace orvane
