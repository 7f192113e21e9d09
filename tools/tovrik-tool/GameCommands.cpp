// tovrik-tool render, save, save-info and shuffle: a deal played part-way
// through the game controller, drawn as the board or written as a saved game.
#include "ToolCommand.h"
#include "PlayedDeal.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include <QBuffer>
#include <QImage>
#include <QString>

#include "AtomicFile.h"
#include "DX7Draw.h"
#include "FaceShuffle.h"
#include "BoardSprites.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PictureFile.h"
#include "SolverJudge.h"

void PlayDeal(PaiCtrl& ctrl, ToolArgs& args)
{
    const std::string layout = args.TakeLayout("layout FILE");
    const int problem = args.TakeProblem("--problem");
    const int faceDown = args.TakeIntOption("--facedown", 0);
    const int moves = args.TakeIntOption("--moves", 0);

    ctrl.GameInit(layout, problem, faceDown);
    const std::vector<int32_t>& answer = ctrl.Board().RemovalOrder();
    const int once = ctrl.Board().Once();
    const int sets = ctrl.Board().MaxID() / once;
    if (moves < 0 || moves > sets)
        throw std::invalid_argument("--moves must be 0 to " + std::to_string(sets) + " for this deal");
    for (int k = 0; k < moves * once; ++k)
        ctrl.ClickPai(answer[k]);
}

namespace {

constexpr int32_t kScreenWidth = 792;
constexpr int32_t kScreenHeight = 566;

bool IsBitmapName(const std::string& path)
{
    std::string ending = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
    return ending == "bmp";
}

QImage ToImage(const PixelSurface& surface)
{
    QImage image(surface.Width(), surface.Height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < surface.Height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int32_t x = 0; x < surface.Width(); ++x)
            line[x] = surface.Pixel(x, y) | 0xFF000000u;
    }
    return image;
}

int Render(const std::vector<std::string>& arguments)
{
    ToolArgs args(arguments);
    const std::string out = args.TakeOption("--out");
    if (out.empty())
        throw std::invalid_argument("--out PNG is needed");
    const std::string wallpaper = args.TakeOption("--wallpaper");
    const bool hint = args.TakeFlag("--hint");

    auto dx7 = std::make_shared<DX7Draw>();
    dx7->Initialize(nullptr, nullptr, kScreenWidth, kScreenHeight);
    PaiCtrl ctrl;
    ctrl.SetDX7(dx7);
    const int32_t work = SetUpBoardSprites(*dx7, ctrl, QImage(QStringLiteral(":/sheets/tiles.png"))).work;
    const QImage picture = wallpaper.empty() ? QImage() : ReadPictureFile(QString::fromStdString(wallpaper));
    ctrl.ChangeWallpaper(picture, !IsBitmapName(wallpaper));
    PlayDeal(ctrl, args);
    args.ExpectEnd();
    if (hint)
        ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.PaintMap();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!ToImage(*dx7->SpriteSurface(work)).save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode the board as PNG");
    WriteFileAtomically(out, std::string_view(png.constData(), static_cast<size_t>(png.size())));
    return 0;
}

int Save(const std::vector<std::string>& arguments)
{
    ToolArgs args(arguments);
    const std::string out = args.TakeOption("--out");
    if (out.empty())
        throw std::invalid_argument("--out PATH is needed");
    const std::string play = args.TakeOption("--play");
    PaiCtrl ctrl;
    PlayDeal(ctrl, args);
    args.ExpectEnd();
    PlaySets(ctrl, play);
    ctrl.SaveGameTo(out);
    return 0;
}

// Every slot of the layout, one JSON object each.
void PrintSlotsJson(const PaiCtrl& ctrl)
{
    const PaiStructure& board = ctrl.Board();
    std::cout << "{\"tileCount\":" << board.MaxID() << ",\"setSize\":" << board.Once()
              << ",\"removed\":" << ctrl.RemovedCount() << ",\"autoHint\":" << (ctrl.AutoHint() ? "true" : "false")
              << ",\"slots\":[";
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const int32_t code = board.Slot(id).Position;
        std::cout << (id == 0 ? "" : ",") << "{\"layer\":" << code / 2048 << ",\"column\":" << code / 32 % 64
                  << ",\"row\":" << code % 32 << ",\"face\":" << board.PaiIndex(id)
                  << ",\"group\":" << board.Group(id) << ",\"present\":" << (board.Validity(id) ? "true" : "false")
                  << "}";
    }
    std::cout << "]}\n";
}

int SaveInfo(const std::vector<std::string>& arguments)
{
    ToolArgs args(arguments);
    const std::string path = args.TakePositional("saved game PATH");
    const bool json = args.TakeFlag("--json");
    args.ExpectEnd();
    PaiCtrl ctrl;
    ctrl.LoadGameFrom(path);
    if (json) {
        PrintSlotsJson(ctrl);
        return 0;
    }
    std::cout << "tile count: " << ctrl.Board().MaxID() << '\n'
              << "set size: " << ctrl.Board().Once() << '\n'
              << "removed: " << ctrl.RemovedCount() << '\n'
              << "auto-hint: " << (ctrl.AutoHint() ? "on" : "off") << '\n';
    return 0;
}

// The game's shuffle of a saved game: the same position and count give the
// same faces as in the game.
int Shuffle(const std::vector<std::string>& arguments)
{
    ToolArgs args(arguments);
    const std::string in = args.TakeOption("--save");
    const std::string out = args.TakeOption("--out");
    const int count = args.TakeIntOption("--count", 1);
    args.ExpectEnd();
    if (in.empty() || out.empty())
        throw std::invalid_argument("--save IN and --out OUT are needed");
    if (count < 1)
        throw std::invalid_argument("--count must be 1 or more");
    PaiCtrl ctrl;
    ctrl.LoadGameFrom(in);
    const std::optional<FaceShuffle::Faces> faces =
        FaceShuffle::FindClearable(ctrl.Board(), count, SolverJudge(FaceShuffle::kJudgeMs));
    if (!faces)
        throw std::runtime_error("no arrangement that can be cleared was found");
    ctrl.ReplaceFaces(*faces);
    ctrl.SaveGameTo(out);
    return 0;
}

const ToolCommand renderCommand(
    "render", "render FILE --problem N [--facedown M] [--moves K] [--hint] [--wallpaper PICTURE] --out PNG", Render);
const ToolCommand saveCommand("save", "save FILE --problem N [--facedown M] [--moves K] [--play SETS] --out PATH",
                              Save);
const ToolCommand saveInfoCommand("save-info", "save-info PATH [--json]", SaveInfo);
const ToolCommand shuffleCommand("shuffle", "shuffle --save IN --out OUT [--count K]", Shuffle);

} // namespace
