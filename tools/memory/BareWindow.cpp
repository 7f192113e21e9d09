// A bare Qt window of the game's picture size that paints one colour. With
// TOVRIK_BENCH_FIRST_PICTURE set it prints the steady clock in nanoseconds
// at its first paint and ends there, as the game's start-up probe does.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWidth = 792;
constexpr int kHeight = 566;

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), QColor(0, 96, 64));
        if (!qEnvironmentVariableIsSet("TOVRIK_BENCH_FIRST_PICTURE"))
            return;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        std::_Exit(0);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    BareWindow window;
    window.setFixedSize(kWidth, kHeight);
    window.show();
    return QApplication::exec();
}
