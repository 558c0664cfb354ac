#include <QApplication>

#include <gtest/gtest.h>

// End-to-end tests run the editor's real Qt serial code, so they need an
// application object and its event loop; no display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
