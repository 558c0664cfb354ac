#pragma once

#include "app/RecentFiles.h"
#include "platform/Platform.h"

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QMainWindow;
class QMenu;

namespace orvane {

class frmHelp;

// What users expect of any desktop program, added to the main window without
// changing its captions: the standard keys of the File menu, a Recent Files
// submenu, opening a .CFG file dropped on the window, the user's guide
// behind Help > Orvane Help and F1, and tooltips on the Change buttons.
class DesktopHabits : public QObject
{
    Q_OBJECT
public:
    // `openFile` opens a configuration file exactly as File > Open does once
    // a name is chosen.
    using OpenFile = std::function<void(const std::string &path)>;

    DesktopHabits(QMainWindow &window, Platform &platform, OpenFile openFile);
    ~DesktopHabits() override;

    // A file was opened whole: it goes to the top of the recent files.
    void fileOpened(const std::string &path);
    const RecentFiles &recentFiles() const { return m_recent; }

    // The guide, created on first use.
    frmHelp *helpWindow() const { return m_help; }
    void showHelp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addStandardKeys();
    void createRecentFilesMenu();
    void fillRecentFilesMenu();
    void fillRecentFilesMenuLater();
    void openRecentFile(std::string path);

    QMainWindow &m_window;
    Platform &m_platform;
    OpenFile m_openFile;
    RecentFiles m_recent;
    QMenu *m_recentMenu = nullptr;
    frmHelp *m_help = nullptr;
};

} // namespace orvane
