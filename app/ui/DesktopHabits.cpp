#include "app/ui/DesktopHabits.h"

#include "app/ui/frmHelp.h"
#include "editors/ui/ChangeButtonTips.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <optional>

namespace orvane {

namespace {

// The one local .CFG file a drag carries, if it carries exactly that.
std::optional<std::string> droppedConfigFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return std::nullopt;
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile())
        return std::nullopt;
    const std::string path = url.toLocalFile().toStdString();
    if (!isConfigFileName(path))
        return std::nullopt;
    return path;
}

// Adds the platform's standard keys to the keys an action already has.
void addStandardKey(QAction *action, QKeySequence::StandardKey key)
{
    if (!action)
        return;
    QList<QKeySequence> keys = action->shortcuts();
    for (const QKeySequence &standard : QKeySequence::keyBindings(key))
        if (!keys.contains(standard))
            keys << standard;
    action->setShortcuts(keys);
}

} // namespace

DesktopHabits::DesktopHabits(QMainWindow &window, Platform &platform, OpenFile openFile)
    : QObject(&window)
    , m_window(window)
    , m_platform(platform)
    , m_openFile(std::move(openFile))
    , m_recent(platform.settings)
{
    addStandardKeys();
    createRecentFilesMenu();
    setChangeButtonTips(m_window);
    if (auto *contents = m_window.findChild<QAction *>(QStringLiteral("Contents"))) {
        addStandardKey(contents, QKeySequence::HelpContents);
        // F1 also from the settings windows, which are windows of their own.
        contents->setShortcutContext(Qt::ApplicationShortcut);
        connect(contents, &QAction::triggered, this, &DesktopHabits::showHelp);
    }
    m_window.setAcceptDrops(true);
    m_window.installEventFilter(this);
}

DesktopHabits::~DesktopHabits() = default;

void DesktopHabits::addStandardKeys()
{
    const std::pair<const char *, QKeySequence::StandardKey> keys[] = {
        {"New", QKeySequence::New},
        {"Open", QKeySequence::Open},
        {"Save", QKeySequence::Save},
        {"SaveAs", QKeySequence::SaveAs},
        {"Exit", QKeySequence::Quit},
    };
    for (const auto &[name, key] : keys)
        addStandardKey(m_window.findChild<QAction *>(QString::fromUtf8(name)), key);
}

void DesktopHabits::createRecentFilesMenu()
{
    auto *file = m_window.findChild<QMenu *>(QStringLiteral("File"));
    auto *exit = m_window.findChild<QAction *>(QStringLiteral("Exit"));
    if (!file || !exit)
        return;
    m_recentMenu = new QMenu(tr("Recent Files"), file);
    m_recentMenu->setObjectName(QStringLiteral("RecentFiles"));
    file->insertMenu(exit, m_recentMenu);
    file->insertSeparator(exit);
    fillRecentFilesMenu();
}

void DesktopHabits::fillRecentFilesMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    int number = 0;
    for (const std::string &path : m_recent.files()) {
        ++number;
        // Numbered as desktop programs do, so Alt+F, R, 1 opens the newest.
        QAction *item = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number).arg(QString::fromStdString(path)));
        item->setObjectName(QStringLiteral("RecentFile%1").arg(number));
        connect(item, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    m_recentMenu->setEnabled(!m_recent.files().empty());
}

void DesktopHabits::fillRecentFilesMenuLater()
{
    // The item chosen may be the one that asked: it must outlive its signal.
    QMetaObject::invokeMethod(this, &DesktopHabits::fillRecentFilesMenu, Qt::QueuedConnection);
}

void DesktopHabits::fileOpened(const std::string &path)
{
    m_recent.remember(path);
    fillRecentFilesMenuLater();
}

void DesktopHabits::openRecentFile(std::string path)
{
    if (!m_platform.files.fileExists(path)) {
        m_recent.forget(path);
        fillRecentFilesMenuLater();
        m_platform.dialogs.messageBox(missingRecentFileMessage(path),
                                      kRecentFilesTitle,
                                      MessageIcon::Information,
                                      MessageButtons::Ok);
        return;
    }
    m_openFile(path);
}

void DesktopHabits::showHelp()
{
    if (!m_help)
        m_help = new frmHelp(&m_window);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

bool DesktopHabits::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedConfigFile(drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const std::optional<std::string> path = droppedConfigFile(drop->mimeData());
        if (!path)
            return false;
        drop->acceptProposedAction();
        // After the drop has ended, so that the file manager is not held
        // while the editor asks or reports.
        QMetaObject::invokeMethod(
            this,
            [this, file = *path] { m_openFile(file); },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace orvane
