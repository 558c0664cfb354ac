#pragma once

#include "MainWindowFixture.h"

#include "editors/ui/DisplayPanel.h"
#include "editors/ui/LcdPreview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <string>

namespace orvane::test {

// The started main window, shown offscreen, with helpers that act as the
// user does: by control name, through the signals a real click or pick
// sends.
class PanelFixture : public MainWindowFixture
{
protected:
    frmMain &shown()
    {
        frmMain &w = started();
        w.show();
        return w;
    }

    // Configuration button 1..16.
    QPushButton *configurationButton(int config)
    {
        return control<QPushButton>(("CmdConf1_" + std::to_string(config - 1)).c_str());
    }

    QString text(const char *label) { return control<QLabel>(label)->text(); }

    // What the list's popup does when the user clicks an item.
    void pick(const char *chooser, int position)
    {
        QComboBox *list = control<QComboBox>(chooser);
        list->setCurrentIndex(position);
        emit list->activated(position);
    }

    void focus(const char *chooser, QEvent::Type type, Qt::FocusReason reason)
    {
        QFocusEvent event(type, reason);
        QCoreApplication::sendEvent(control<QComboBox>(chooser), &event);
    }

    void press(const char *widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(control<QWidget>(widget), &event);
    }

    LcdPreview &preview() { return *control<LcdPreview>("picTessaro"); }
    DisplayPanel &panel() { return *window().displayPanel(); }

    bool titleMarksChanges() { return window().windowTitle().endsWith(QStringLiteral(" *")); }
};

} // namespace orvane::test
