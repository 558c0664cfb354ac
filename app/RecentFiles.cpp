#include "app/RecentFiles.h"

#include <algorithm>
#include <cctype>

namespace orvane {

RecentFiles::RecentFiles(UserSettings &settings)
    : m_settings(settings)
{
    // Whatever another version or a hand edit left there: no blanks, no
    // repeats, no more than the menu shows.
    for (const std::string &path : m_settings.textList(kSettingsKey)) {
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end()
            && m_files.size() < kMaxFiles)
            m_files.push_back(path);
    }
}

void RecentFiles::remember(const std::string &path)
{
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMaxFiles)
        m_files.resize(kMaxFiles);
    store();
}

void RecentFiles::forget(const std::string &path)
{
    std::erase(m_files, path);
    store();
}

void RecentFiles::store()
{
    m_settings.setTextList(kSettingsKey, m_files);
}

std::string missingRecentFileMessage(const std::string &path)
{
    return "The file " + path + " no longer exists. It was removed from the list of recent files.";
}

bool isConfigFileName(const std::string &path)
{
    constexpr std::string_view kExtension = ".cfg";
    if (path.size() <= kExtension.size())
        return false;
    const std::string_view tail = std::string_view(path).substr(path.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace orvane
