#pragma once

#include "platform/qt/QtFileSystem.h"

#include <string>

namespace orvane::bench {

// The real file system with the program's and the user's folders moved into
// one folder of the benchmark's own, so that no run touches the user's files.
class FolderFiles : public QtFileSystem
{
public:
    explicit FolderFiles(std::string folder)
        : m_folder(std::move(folder))
    {}
    std::string programFolder() override { return m_folder; }
    std::string userDataFolder() override { return m_folder; }

private:
    std::string m_folder;
};

} // namespace orvane::bench
