#pragma once

#include "Controls.h"
#include "app/AppState.h"
#include "app/ui/MainLinkView.h"
#include "app/ui/frmMain.h"
#include "support/FakePlatform.h"

// The kinds of control the tests look up by name.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace orvane::test {

// The real main window on the fake platform, with its program folder in a
// fresh temporary folder.
class MainWindowFixture : public ::testing::Test
{
protected:
    MainWindowFixture()
    {
        fake.files.programDir = programDir.path().toStdString();
        fake.files.userDataDir = userDataDir.path().toStdString();
    }

    frmMain &window()
    {
        if (!m_window)
            m_window = std::make_unique<frmMain>(state, fake.platform);
        return *m_window;
    }

    // The connection state, owned by the window's link.
    ByteLink &link() { return window().linkView().link(); }

    frmMain &started()
    {
        window().startup();
        return *m_window;
    }

    // A control of the main window or of one of its dialogs, by name.
    template<class T>
    T *control(const char *name)
    {
        return &orvane::test::control<T>(window(), name);
    }

    // A control of one dialog, where two dialogs use the same name.
    template<class T>
    T *control(QWidget &dialog, const char *name)
    {
        return &orvane::test::control<T>(dialog, name);
    }

    std::filesystem::path programFile(const std::string &name) const
    {
        return std::filesystem::path(programDir.path().toStdString()) / name;
    }

    static std::string readAll(const std::filesystem::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    QTemporaryDir programDir;
    QTemporaryDir userDataDir;
    FakePlatform fake;
    AppState state;

private:
    std::unique_ptr<frmMain> m_window;
};

} // namespace orvane::test
