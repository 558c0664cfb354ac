#include "platform/qt/QtFileSystem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orvane {

namespace {

// A save killed half-way can leave its temporary file "NAME.XXXXXX" beside
// the file (where the file system cannot keep it unnamed). One this old is no
// save in progress.
constexpr qint64 kStaleTemporarySeconds = 10;

void removeStaleTemporaries(const QString &path)
{
    const QFileInfo file(path);
    const QRegularExpression temporary("^" + QRegularExpression::escape(file.fileName())
                                       + "\\.[A-Za-z0-9]{6}$");
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleTemporarySeconds);
    for (const QFileInfo &entry : file.dir().entryInfoList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(entry.fileName()).hasMatch() && entry.lastModified() < staleBefore)
            QFile::remove(entry.filePath());
    }
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
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString().toStdString());
    if (file.write(content.data(), qint64(content.size())) != qint64(content.size())) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString().toStdString());
    removeStaleTemporaries(file.fileName());
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
