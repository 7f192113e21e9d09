#include <QApplication>

#include <gtest/gtest.h>

// The layer's widgets and text drawing need an application object. The tests
// run on the offscreen platform, also when CTest lists them without the
// test environment.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
