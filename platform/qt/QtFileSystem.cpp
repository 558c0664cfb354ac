#include "platform/qt/QtFileSystem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orvane {

namespace {

// Every save writes "NAME.orvane-save-XXXXXX" first and renames it over NAME,
// so that a temporary left by a killed save can never be confused with a
// file of the user's, such as "NAME.backup". One this old is no save in
// progress.
constexpr const char *kTemporaryMark = ".orvane-save-";
constexpr qint64 kStaleTemporarySeconds = 10;

void removeStaleTemporaries(const QFileInfo &file)
{
    const QRegularExpression temporary("^" + QRegularExpression::escape(file.fileName())
                                       + QRegularExpression::escape(kTemporaryMark)
                                       + "[A-Za-z0-9]{6}$");
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleTemporarySeconds);
    for (const QFileInfo &entry : file.dir().entryInfoList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(entry.fileName()).hasMatch() && entry.lastModified() < staleBefore)
            QFile::remove(entry.filePath());
    }
}

// The content is on the disk before the rename makes it the file, so that a
// power cut cannot leave an empty file in the old one's place.
bool syncToDisk(int handle)
{
#ifdef Q_OS_WIN
    return ::_commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

// A replaced file keeps its permissions; a new one is readable by all and
// written by its owner.
QFileDevice::Permissions permissionsFor(const QFileInfo &target)
{
    if (target.exists())
        return target.permissions();
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
           | QFileDevice::ReadOther;
}

} // namespace

std::string QtFileSystem::programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string QtFileSystem::userDataFolder()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(path);
    return path.toStdString();
}

bool QtFileSystem::isWritableFolder(const std::string &folder)
{
    // Permission bits lie on some file systems (read-only mounts, ACLs); try.
    QTemporaryFile probe(QString::fromStdString(folder) + "/.orvane-probe-XXXXXX");
    return probe.open();
}

bool QtFileSystem::isInstalledCopy()
{
#ifdef ORVANE_INSTALLED_BINDIR
    const QString installed = QDir(QStringLiteral(ORVANE_INSTALLED_BINDIR)).canonicalPath();
    return !installed.isEmpty()
           && QDir(QCoreApplication::applicationDirPath()).canonicalPath() == installed;
#else
    return false;
#endif
}

std::string QtFileSystem::resolve(const std::string &folder, const std::string &name)
{
    const QString file = QString::fromStdString(name);
    if (QFileInfo(file).isAbsolute())
        return QDir::cleanPath(file).toStdString();
    return QDir(QString::fromStdString(folder)).filePath(file).toStdString();
}

Result<std::string> QtFileSystem::readFile(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString().toStdString());
    return bytes.toStdString();
}

Result<> QtFileSystem::writeFileAtomically(const std::string &path, const std::string &content)
{
    // A link is followed, so that the file it names is replaced, not the link.
    QFileInfo target(QString::fromStdString(path));
    if (target.isSymLink())
        target = QFileInfo(target.symLinkTarget());

    QTemporaryFile file(target.filePath() + kTemporaryMark + "XXXXXX");
    if (!file.open())
        return failure(file.errorString().toStdString());
    if (file.write(content.data(), qint64(content.size())) != qint64(content.size())
        || !file.flush())
        return failure(file.errorString().toStdString());
    if (!syncToDisk(file.handle()))
        return failure(std::error_code(errno, std::generic_category()).message());
    file.setPermissions(permissionsFor(target));
    file.close();

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(file.fileName().toStdU16String()),
                            std::filesystem::path(target.filePath().toStdU16String()),
                            error);
    if (error)
        return failure(error.message());
    file.setAutoRemove(false); // it is the file now
    removeStaleTemporaries(target);
    return {};
}

Result<> QtFileSystem::makeFolders(const std::string &path)
{
    if (!QDir().mkpath(QString::fromStdString(path)))
        return failure("The folder " + path + " could not be made.");
    return {};
}

std::vector<std::string> QtFileSystem::folderEntries(const std::string &folder, EntryKind kind)
{
    const QDir::Filters filter
        = kind == EntryKind::Files ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot;
    std::vector<std::string> names;
    for (const QString &name : QDir(QString::fromStdString(folder)).entryList(filter, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

Result<> QtFileSystem::removeFile(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.remove())
        return failure(file.errorString().toStdString());
    return {};
}

} // namespace orvane
