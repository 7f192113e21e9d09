#include <QGuiApplication>

#include <gtest/gtest.h>

// The sprite layer's pictures and fonts want an application object; the
// tests run on the offscreen platform.
int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
