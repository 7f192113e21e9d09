#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace {

// Every test starts as a player on a fresh machine: no remembered settings
// and no user folder, and nothing of the real home is read or written.
class FreshHome : public testing::EmptyTestEventListener {
public:
    FreshHome()
        : home_(QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/home-") +
                QString::number(QCoreApplication::applicationPid()))
    {
        qputenv("XDG_CONFIG_HOME", (home_ + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home_ + QStringLiteral("/data")).toUtf8());
    }

    void OnTestStart(const testing::TestInfo&) override { QDir(home_).removeRecursively(); }
    void OnTestProgramEnd(const testing::UnitTest&) override { QDir(home_).removeRecursively(); }

private:
    QString home_;
};

} // namespace

// Suites that draw text, pictures or widgets need an application object. They
// run on the offscreen platform, also when CTest lists them without the test
// environment.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshHome);
    return RUN_ALL_TESTS();
}
