// The logic tests run on a plain C++ file system; it must answer as the
// program's own does, or a test would pass where the program fails.

#include "platform/qt/QtFileSystem.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// What one file system made of the same steps in a fresh folder.
struct Outcome
{
    std::vector<bool> ok;
    std::vector<std::string> texts;
};

Outcome run(FileSystem &files, const std::string &root)
{
    Outcome out;
    const auto step = [&out](bool ok, std::string text = {}) {
        out.ok.push_back(ok);
        out.texts.push_back(std::move(text));
    };
    const std::string file = root + "/A.CFG";

    step(bool(files.writeFileAtomically(file, "first\r\n")));
    step(bool(files.writeFileAtomically(file, "second\r\n")));
    const Result<std::string> read = files.readFile(file);
    step(bool(read), read ? *read : std::string());
    step(!files.readFile(root + "/missing.cfg"));

    // A folder in the file's place, or no folder for it: nothing is written
    // and the old content stays.
    fs::create_directory(root + "/B.CFG");
    step(!files.writeFileAtomically(root + "/B.CFG", "x"));
    step(!files.writeFileAtomically(root + "/none/C.CFG", "x"));
    step(fs::is_directory(root + "/B.CFG") && !fs::exists(root + "/none"));

    step(bool(files.makeFolders(root + "/units/120530007")));
    step(bool(files.makeFolders(root + "/units/120530007"))); // already there
    std::ofstream(root + "/units/.hidden") << "x";
    std::ofstream(root + "/units/b.txt") << "x";
    std::ofstream(root + "/units/a.txt") << "x";
    std::string listing;
    for (const std::string &name :
         files.folderEntries(root + "/units", FileSystem::EntryKind::Files))
        listing += name + ";";
    for (const std::string &name :
         files.folderEntries(root + "/units", FileSystem::EntryKind::Folders))
        listing += name + "/;";
    step(true, listing);

    step(bool(files.removeFile(root + "/units/a.txt")));
    step(!files.removeFile(root + "/units/a.txt"));
    step(!files.removeFile(root + "/units/120530007")); // a folder is not a file
    step(files.isWritableFolder(root));
    step(!files.isWritableFolder(file));

    const std::string resolved = files.resolve(root, "DEFAULT.CFG");
    step(resolved == root + "/DEFAULT.CFG", resolved.substr(root.size()));
    step(true, files.resolve(root, "/var/./lib//orvane/../x.cfg"));
    return out;
}

TEST(FileSystemContract, PlainFilesAnswerAsTheProgramsOwn)
{
    TempFolder realRoot;
    TempFolder fakeRoot;
    QtFileSystem real;
    FakeFileSystem fake;

    const Outcome expected = run(real, realRoot.path());
    const Outcome actual = run(fake, fakeRoot.path());

    ASSERT_EQ(actual.ok.size(), expected.ok.size());
    for (size_t i = 0; i < expected.ok.size(); ++i) {
        EXPECT_EQ(actual.ok[i], expected.ok[i]) << "step " << i;
        EXPECT_EQ(actual.texts[i], expected.texts[i]) << "step " << i;
    }
    EXPECT_EQ(expected.texts[2], "second\r\n");
    EXPECT_EQ(expected.texts[9], "a.txt;b.txt;120530007/;");
}

} // namespace
} // namespace orvane::test
