// A save killed between writing its temporary file and renaming it leaves
// "NAME.orvane-save-XXXXXX" beside the file; the next save of that file
// removes the ones no save can still be writing, and nothing else: not even
// a user's file that only looks like a temporary.

#include "platform/qt/QtFileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void makeFile(const QString &path, qint64 secondsOld)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("left over");
    file.flush(); // the time set below must not be overwritten by the write
    file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsOld),
                     QFileDevice::FileModificationTime);
}

} // namespace

TEST(StaleTemporaries, ASaveRemovesOnlyItsOwnFilesLeftOverFromAKilledSave)
{
    QTemporaryDir folder;
    struct Case
    {
        const char *name;
        qint64 secondsOld;
        bool removed;
    };
    const Case cases[] = {
        {"DEFAULT.CFG.orvane-save-aZ3kQ9", 60, true},   // a killed save's
        {"DEFAULT.CFG.orvane-save-Qw7pLm", 1, false},   // a save that may still be writing
        {"DEFAULT.CFG.bad", 60, false},                 // not a temporary's name
        {"DEFAULT.CFG.backup", 60, false},              // the user's, six letters long
        {"DEFAULT.CFG.orvane-save-aZ3kQ9x", 60, false}, // nor this
        {"OTHER.CFG.orvane-save-aZ3kQ9", 60, false},    // another file's
    };
    for (const Case &c : cases)
        makeFile(folder.filePath(c.name), c.secondsOld);

    // The file replaced keeps its permissions.
    const QString working = folder.filePath("DEFAULT.CFG");
    makeFile(working, 60);
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    ASSERT_TRUE(QFile::setPermissions(working, ownerOnly));

    orvane::QtFileSystem files;
    ASSERT_TRUE(
        files.writeFileAtomically(folder.filePath("DEFAULT.CFG").toStdString(), "new").ok());

    for (const Case &c : cases)
        EXPECT_EQ(QFile::exists(folder.filePath(c.name)), !c.removed) << c.name;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 6);
    EXPECT_EQ(*files.readFile(working.toStdString()), "new");
    const auto ownerGroupOther = ownerOnly | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                 | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                 | QFileDevice::ReadOther | QFileDevice::WriteOther
                                 | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(working) & ownerGroupOther, ownerOnly);
}
