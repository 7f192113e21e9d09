#include <QGuiApplication>

#include <gtest/gtest.h>

// Drawing text for the sheets needs an application object; the tests run on the
// offscreen platform, also when CTest lists them without the test environment.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
