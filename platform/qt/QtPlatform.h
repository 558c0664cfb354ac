#pragma once

#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtUserSettings.h"

class QWidget;

namespace orvane {

class QtDialogs : public UserDialogs
{
public:
    // Dialogs are centred on this window when it is set.
    void setParentWindow(QWidget *parent) { m_parent = parent; }

    void beep() override;
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string &prompt,
                         const std::string &title,
                         const std::string &defaultText) override;
    std::string openFileName(const std::string &title, const std::string &filter) override;
    std::string saveFileName(const std::string &title, const std::string &filter) override;

private:
    QWidget *m_parent = nullptr;
};

// The platform of the real program.
class QtPlatform
{
public:
    QtClock clock;
    QtEventPump pump;
    QtDialogs dialogs;
    QtFileSystem files;
    QtSerialPort port;
    QtUserSettings settings;

    Platform platform{clock, pump, dialogs, files, port, settings};
};

} // namespace orvane
