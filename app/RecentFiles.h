#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

// The configuration files the user opened last, newest first, kept in the
// per-user settings so that the File menu lists them in the next run too.

namespace orvane {

class RecentFiles
{
public:
    static constexpr size_t kMaxFiles = 8;
    static constexpr const char *kSettingsKey = "RecentFiles";

    explicit RecentFiles(UserSettings &settings);

    const std::vector<std::string> &files() const { return m_files; }
    // Puts the path first, once, and drops the oldest beyond kMaxFiles.
    void remember(const std::string &path);
    void forget(const std::string &path);

private:
    void store();

    UserSettings &m_settings;
    std::vector<std::string> m_files;
};

// The message when a recent file is no longer there.
inline constexpr const char *kRecentFilesTitle = "Recent Files";
std::string missingRecentFileMessage(const std::string &path);

// A configuration file by its name: ".CFG" in any case.
bool isConfigFileName(const std::string &path);

} // namespace orvane
