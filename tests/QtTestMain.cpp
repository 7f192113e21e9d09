#include <QApplication>

#include <gtest/gtest.h>

// Suites that draw text, pictures or widgets need an application object. They
// run on the offscreen platform, also when CTest lists them without the test
// environment.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
