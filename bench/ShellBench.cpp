#include "DX7Draw.h"
#include "FormMain.h"
#include "GameScreen.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PictureBox.h"
#include "PictureFit.h"
#include "PixelSurface.h"

#include <QApplication>
#include <QPainter>
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

// Starts the program with the first-picture switch set and returns the
// seconds from starting it to its first painted picture, or a negative value
// when it showed none.
double SecondsToFirstPicture(const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromUtf8(kFirstPictureChild), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(environment);
    const int64_t start = SteadyNanoseconds();
    child.start(program, {});
    child.waitForFinished(10000);
    const int64_t painted = child.readAllStandardOutput().trimmed().toLongLong();
    return painted > start ? static_cast<double>(painted - start) / 1e9 : -1.0;
}

void TimeFirstPictures(benchmark::State& state, const QString& program)
{
    for (auto _ : state) {
        const double seconds = SecondsToFirstPicture(program);
        if (seconds < 0) {
            state.SkipWithError("the child process showed no picture");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// From starting a process to its first presented picture: the process is
// this program again, running the start-up as the game does.
void BM_StartToFirstPicture(benchmark::State& state)
{
    TimeFirstPictures(state, QCoreApplication::applicationFilePath());
}
BENCHMARK(BM_StartToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The same for a bare Qt window of the game's size, the floor to compare with.
void BM_BareQtStartToFirstPicture(benchmark::State& state)
{
    TimeFirstPictures(state, QString::fromUtf8(TOVRIK_BARE_WINDOW));
}
BENCHMARK(BM_BareQtStartToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

class StartedGame {
public:
    explicit StartedGame(const QString& scaling = QStringLiteral("--scaling=pixel"))
        : module(QString::fromUtf8(TOVRIK_RUNTIME_DIR), ClassicGame() << scaling)
    {
        module.Main();
    }
    ModuleMain module;
};

// The game drawn sharp in a window of the arguments' size.
class SharpGame : public StartedGame {
public:
    explicit SharpGame(QSize size) : StartedGame(QStringLiteral("--scaling=sharp"))
    {
        module.Form().resize(size);
        module.Screen().FitToWindow();
    }
};

void BM_SharpRedrawFull(benchmark::State& state)
{
    SharpGame game({int(state.range(0)), int(state.range(1))});
    for (auto _ : state)
        game.module.RedrawScreen(ModuleMain::REDRAW_FULL);
}
BENCHMARK(BM_SharpRedrawFull)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// The cursor moving over the side bar: nothing but the cursor changes.
void BM_SharpCursorMove(benchmark::State& state)
{
    SharpGame game({int(state.range(0)), int(state.range(1))});
    bool down = false;
    for (auto _ : state) {
        down = !down;
        game.module.Play().FocusAt(720, down ? 250 : 254);
    }
}
BENCHMARK(BM_SharpCursorMove)->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// The art for a new window size: layout, sheets, surfaces, wallpaper and the
// first full picture, the size alternating between two.
void BM_SharpArtForNewSize(benchmark::State& state)
{
    SharpGame game({3840, 2160});
    bool smaller = false;
    for (auto _ : state) {
        smaller = !smaller;
        game.module.Form().resize(3840, smaller ? 2100 : 2160);
        game.module.Screen().FitToWindow();
    }
}
BENCHMARK(BM_SharpArtForNewSize)->Unit(benchmark::kMillisecond);

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

// Full redraws presented in a window that shows the picture at the argument's
// scale, the focus moving between two tiles on opposite sides of the board:
// composing, finding what changed, scaling it and painting it.
void BM_RedrawFullScaled(benchmark::State& state)
{
    StartedGame game;
    ModuleMain& module = game.module;
    const auto scale = static_cast<int>(state.range(0));
    module.Form().resize(ModuleMain::kScreenWidth * scale, ModuleMain::kScreenHeight * scale);
    if (module.Form().Picture().Fit().scale != scale) {
        state.SkipWithError("the window does not show the picture at that scale");
        return;
    }
    bool left = false;
    for (auto _ : state) {
        left = !left;
        module.Play().FocusAt(left ? 60 : 600, left ? 100 : 480);
        module.RedrawScreen(ModuleMain::REDRAW_FULL);
    }
}
BENCHMARK(BM_RedrawFullScaled)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The worst case of the scaled presentation: every pixel differs from the
// picture shown before, so all of it is scaled and painted again.
void BM_PresentWholeChangeScaled(benchmark::State& state)
{
    const auto scale = static_cast<int>(state.range(0));
    PixelSurface pictures[2] = {{ModuleMain::kScreenWidth, ModuleMain::kScreenHeight},
                                {ModuleMain::kScreenWidth, ModuleMain::kScreenHeight}};
    pictures[0].Fill({0, 0, ModuleMain::kScreenWidth, ModuleMain::kScreenHeight}, 0x3399FF);
    pictures[1].Fill({0, 0, ModuleMain::kScreenWidth, ModuleMain::kScreenHeight}, 0x208020);
    PictureBox box;
    box.resize(ModuleMain::kScreenWidth * scale, ModuleMain::kScreenHeight * scale);
    box.show();
    int shown = 0;
    for (auto _ : state) {
        shown ^= 1;
        box.Present(&pictures[shown]);
    }
}
BENCHMARK(BM_PresentWholeChangeScaled)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The two ways of scaling the composed picture, alone: the plain loop that
// PictureBox uses, and QPainter without smooth transform.
void BM_ScaleByLoop(benchmark::State& state)
{
    StartedGame game;
    const PixelSurface& picture = *game.module.Layer().BackSurface();
    const auto scale = static_cast<int32_t>(state.range(0));
    QImage scaled(picture.Width() * scale, picture.Height() * scale, QImage::Format_RGB32);
    for (auto _ : state) {
        ScaleToBlocks(picture.View(), {0, 0, picture.Width(), picture.Height()}, scale,
                      reinterpret_cast<uint32_t*>(scaled.bits()), scaled.bytesPerLine() / 4);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_ScaleByLoop)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ScaleByPainter(benchmark::State& state)
{
    StartedGame game;
    const PixelSurface& picture = *game.module.Layer().BackSurface();
    const QImage view(reinterpret_cast<const uchar*>(picture.Pixels()), picture.Width(), picture.Height(),
                      picture.Stride() * 4, QImage::Format_RGB32);
    const auto scale = static_cast<int>(state.range(0));
    QImage scaled(view.size() * scale, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&scaled);
        painter.drawImage(scaled.rect(), view);
    }
}
BENCHMARK(BM_ScaleByPainter)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // The games started here leave no statistics in the user's data folder.
    qputenv("XDG_DATA_HOME", TOVRIK_RUNTIME_DIR "/bench-data-home");
    // Nor do they change the user's settings.
    qputenv("XDG_CONFIG_HOME", TOVRIK_RUNTIME_DIR "/bench-config-home");
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
