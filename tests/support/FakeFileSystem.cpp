#include "support/FakeFileSystem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace orvane::test {

namespace fs = std::filesystem;

namespace {

// Names of the temporary files beside their targets; one process writes them.
std::string uniqueSuffix()
{
    static std::atomic<unsigned> counter{0};
    return ".orvane-tmp-" + std::to_string(++counter);
}

std::string lastError()
{
    return std::strerror(errno);
}

} // namespace

bool FakeFileSystem::isWritableFolder(const std::string &folder)
{
    if (folder == programDir && !programDirWritable)
        return false;
    // Permission bits lie on some file systems; try, as the program does.
    const fs::path probe = fs::path(folder) / (".orvane-probe" + uniqueSuffix());
    if (!std::ofstream(probe).is_open())
        return false;
    std::error_code ignored;
    fs::remove(probe, ignored);
    return true;
}

// With "/" between names on every system, as the program's file system
// (Qt) answers; Windows' own separator would make paths that differ in text.
std::string FakeFileSystem::resolve(const std::string &folder, const std::string &name)
{
    const fs::path file(name);
    if (!file.is_absolute())
        return (fs::path(folder) / file).generic_string();
    fs::path clean = file.lexically_normal();
    if (!clean.has_filename() && clean != clean.root_path())
        clean = clean.parent_path(); // no trailing separator
    return clean.generic_string();
}

Result<std::string> FakeFileSystem::readFile(const std::string &path)
{
    if (fs::is_directory(path))
        return failure(std::strerror(EISDIR));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure(lastError());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return failure(lastError());
    return bytes;
}

Result<> FakeFileSystem::writeFileAtomically(const std::string &path, const std::string &content)
{
    const fs::path target(path);
    fs::path temporary = target;
    temporary += uniqueSuffix();
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return failure(lastError());
        out.write(content.data(), std::streamsize(content.size()));
        out.flush();
        if (!out) {
            const std::string reason = lastError();
            out.close();
            fs::remove(temporary, ignored);
            return failure(reason);
        }
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        fs::remove(temporary, ignored);
        return failure(renamed.message());
    }
    return {};
}

Result<> FakeFileSystem::makeFolders(const std::string &path)
{
    std::error_code error;
    fs::create_directories(path, error);
    if (!fs::is_directory(path))
        return failure("The folder " + path + " could not be made.");
    return {};
}

std::vector<std::string> FakeFileSystem::folderEntries(const std::string &folder, EntryKind kind)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.'))
            continue; // hidden, as the program's listing leaves them out
        const bool wanted
            = kind == EntryKind::Files ? entry.is_regular_file(error) : entry.is_directory(error);
        if (wanted)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Result<> FakeFileSystem::removeFile(const std::string &path)
{
    if (fs::is_directory(path))
        return failure(std::strerror(EISDIR));
    std::error_code error;
    if (!fs::remove(path, error))
        return failure(error ? error.message() : std::strerror(ENOENT));
    return {};
}

} // namespace orvane::test
