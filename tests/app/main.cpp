// Widget tests share one QApplication on the offscreen platform.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // remembered places go to a test folder
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
