// The controller's costs per redraw and per move on the classic layout.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

#include <QImage>

#include "BoardSprites.h"
#include "DX7Draw.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"

namespace {

// A controller drawing with the shipped tile sheet, as the program sets it up.
struct BoardRig {
    BoardRig()
    {
        dx7->Initialize(nullptr, nullptr, 792, 566);
        const QImage sheet(":/sheets/tiles.png");
        if (sheet.isNull())
            throw std::runtime_error("the tile sheet is not compiled in");
        ctrl.SetDX7(dx7);
        SetUpBoardSprites(*dx7, ctrl, sheet);
        ctrl.ChangeWallpaper(QImage(), true);
        ctrl.GameInit(std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm", 1, 0);
    }

    std::shared_ptr<DX7Draw> dx7 = std::make_shared<DX7Draw>();
    PaiCtrl ctrl;
};

void BM_FullRedraw(benchmark::State& state)
{
    BoardRig rig;
    for (auto _ : state) {
        rig.ctrl.PaintMap();
        rig.ctrl.Blit(4, 4);
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_FocusRedraw(benchmark::State& state)
{
    BoardRig rig;
    rig.ctrl.PaintMap();
    rig.ctrl.FocusPai(rig.ctrl.Board().RemovalOrder()[0]);
    for (auto _ : state) {
        rig.ctrl.PaintFocus();
        rig.ctrl.Blit(4, 4);
    }
}
BENCHMARK(BM_FocusRedraw)->Unit(benchmark::kMicrosecond);

// One move: the first tile's click selects, the second's removes the pair.
void BM_ClickPaiMove(benchmark::State& state)
{
    BoardRig rig;
    const std::vector<int32_t> answer = rig.ctrl.Board().RemovalOrder();
    size_t next = 0;
    for (auto _ : state) {
        if (next == answer.size()) {
            state.PauseTiming();
            rig.ctrl.RequestRestart();
            next = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(rig.ctrl.ClickPai(answer[next]));
        benchmark::DoNotOptimize(rig.ctrl.ClickPai(answer[next + 1]));
        next += 2;
    }
}
BENCHMARK(BM_ClickPaiMove)->Unit(benchmark::kMicrosecond);

} // namespace
