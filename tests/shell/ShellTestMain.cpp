#include <QApplication>

#include <gtest/gtest.h>

// The shell is widgets: the tests need an application object and run on the
// offscreen platform (also when CTest lists the tests).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
