#include "MessageBox.h"
#include "ModuleMain.h"
#include "PictureBox.h"

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const kFirstPictureChild = "TOVRIK_BENCH_FIRST_PICTURE";

int64_t SteadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QStringList ClassicGame()
{
    return {QStringLiteral("--layout"), QStringLiteral("classic.tvm"), QStringLiteral("--problem"),
            QStringLiteral("1")};
}

// Reports the steady clock when the first picture is painted, and ends the process there.
class FirstPaintReporter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<PictureBox*>(watched) != nullptr) {
            std::printf("%lld\n", static_cast<long long>(SteadyNanoseconds()));
            std::fflush(stdout);
            std::_Exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

// The child process: the program's start-up up to its first picture.
int RunUntilFirstPicture(int argc, char** argv)
{
    QApplication application(argc, argv);
    FirstPaintReporter reporter;
    application.installEventFilter(&reporter);
    ModuleMain module(QString::fromUtf8(TOVRIK_RUNTIME_DIR), ClassicGame());
    module.Main();
    return 1;
}

// From starting a process to its first presented picture: the process is
// this program again, running the start-up as the game does.
void BM_StartToFirstPicture(benchmark::State& state)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromUtf8(kFirstPictureChild), QStringLiteral("1"));
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        const int64_t start = SteadyNanoseconds();
        child.start(QCoreApplication::applicationFilePath(), {});
        child.waitForFinished(10000);
        const int64_t painted = child.readAllStandardOutput().trimmed().toLongLong();
        if (painted <= start) {
            state.SkipWithError("the child process showed no picture");
            return;
        }
        state.SetIterationTime(static_cast<double>(painted - start) / 1e9);
    }
}
BENCHMARK(BM_StartToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

class StartedGame {
public:
    StartedGame() : module(QString::fromUtf8(TOVRIK_RUNTIME_DIR), ClassicGame()) { module.Main(); }
    ModuleMain module;
};

void BM_RedrawFull(benchmark::State& state)
{
    StartedGame game;
    for (auto _ : state)
        game.module.RedrawScreen(ModuleMain::REDRAW_FULL);
}
BENCHMARK(BM_RedrawFull)->Unit(benchmark::kMicrosecond);

void BM_RedrawFocus(benchmark::State& state)
{
    StartedGame game;
    for (auto _ : state)
        game.module.RedrawScreen(ModuleMain::REDRAW_FOCUS);
}
BENCHMARK(BM_RedrawFocus)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kFirstPictureChild))
        return RunUntilFirstPicture(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetMessageHandler([](const MessageRequest&) { return MessageResult::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
