// The module's commands beyond the button bar: redo, shuffle, pause, help,
// the keyboard shortcuts and the side bar's status.
#include "ModuleMain.h"

#include "DX7Draw.h"
#include "EndOfGame.h"
#include "FaceShuffle.h"
#include "FormMain.h"
#include "FormSub.h"
#include "HelpWindow.h"
#include "MapCtrl.h"
#include "MessageBox.h"
#include "PaiCtrl.h"
#include "Settings.h"
#include "SolverJudge.h"
#include "StatusPainter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>

namespace {

// Often enough that the shown second never lags by much.
constexpr int kStatusTickMs = 200;
// Where the caption starts and how far apart its lines stand.
constexpr int kCaptionTop = 120;
constexpr int kCaptionPitch = 14;

} // namespace

void ModuleMain::CommandRedo()
{
    if (PlayingFrozen())
        return;
    const int32_t removedBefore = paiCtrl->RemovedCount();
    ActOnMove(paiCtrl->ClickPai(PaiCtrl::PAI_REDO), removedBefore);
}

void ModuleMain::CommandShuffle()
{
    if (PlayingFrozen() || !paiCtrl->GameActive() || paiCtrl->GetPaiCount() == 0)
        return;
    const std::optional<FaceShuffle::Faces> faces =
        FaceShuffle::FindClearable(paiCtrl->Board(), ending->Shuffles() + 1, SolverJudge(FaceShuffle::kJudgeMs));
    if (!faces) {
        const EndOfGame::PauseScope pause(*ending);
        ShowMessage({QCoreApplication::translate("ModuleMain", "解ける配置が見つからなかったので、混ぜ直しませんでした。")
                         .toStdString(),
                     QCoreApplication::translate("ModuleMain", "混ぜ直す").toStdString(), MessageButtons::Ok,
                     MessageIcon::Information});
        return;
    }
    paiCtrl->ReplaceFaces(*faces);
    RedrawScreen(REDRAW_FULL);
    ending->Shuffled();
}

void ModuleMain::RunShortcut(ShortcutTable::Command command)
{
    using Command = ShortcutTable::Command;
    if (PlayingFrozen())
        return;
    switch (command) {
    case Command::NewGame: {
        const EndOfGame::PauseScope pause(*ending);
        PanelCommand(PANEL_NEWGAME);
        break;
    }
    case Command::TakeBack: CommandPlayback(); break;
    case Command::Redo: CommandRedo(); break;
    case Command::Restart: {
        const EndOfGame::PauseScope pause(*ending);
        formSub->AskRestart();
        break;
    }
    case Command::Save: {
        const EndOfGame::PauseScope pause(*ending);
        formSub->AskSave();
        break;
    }
    case Command::Load: {
        const EndOfGame::PauseScope pause(*ending);
        formSub->AskLoad();
        break;
    }
    case Command::Pause: SetPaused(true); break;
    case Command::Help: ShowHelp(); break;
    case Command::Shuffle: CommandShuffle(); break;
    case Command::Quit: formMain->close(); break;
    }
}

void ModuleMain::SetPaused(bool on)
{
    if (on == paused || (on && (!paiCtrl->GameActive() || paiCtrl->GetPaiCount() == 0)))
        return;
    paused = on;
    ending->SetGamePaused(on);
    RedrawScreen(on ? REDRAW_COMPOSE : REDRAW_FULL);
}

void ModuleMain::ShowHelp()
{
    const EndOfGame::PauseScope pause(*ending);
    HelpWindow help(formMain->picBitmap[0], ShortcutTable::KeyTable(), formMain.get());
    help.exec();
}

StatusFigures ModuleMain::CurrentStatus() const
{
    return {ending ? ending->PlayedMs() : 0, StatusFigures::TakeableSets(paiCtrl->Board())};
}

void ModuleMain::StartStatusClock()
{
    statusShown = settings->StatusShown();
    if (!statusShown)
        return;
    statusClock = std::make_unique<QTimer>();
    statusClock->setInterval(kStatusTickMs);
    QObject::connect(statusClock.get(), &QTimer::timeout, formMain.get(), [this] {
        if (!PlayingFrozen() && paiCtrl->GameActive() && shownStatus &&
            StatusPainter::Lines(CurrentStatus()) != StatusPainter::Lines(*shownStatus))
            formMain->Guarded([this] { RedrawScreen(REDRAW_COMPOSE); });
    });
    statusClock->start();
}

// The caption, cut before the line that would reach the status.
std::string ModuleMain::ShownCaption() const
{
    if (!statusShown)
        return QuestionCaption.toStdString();
    const qsizetype fitting = (StatusPainter::kArea.top() - kCaptionTop) / kCaptionPitch;
    const QStringList lines = QuestionCaption.split(QStringLiteral("\r\n"));
    return lines.mid(0, fitting).join(QStringLiteral("\r\n")).toStdString();
}

// Over the composed picture: the pause hides the board behind the wallpaper,
// and the status stands above the buttons. The cursor stays on top.
void ModuleMain::PaintPlayState()
{
    const bool status = statusShown && paiCtrl->GameActive();
    if (!paused && !status)
        return;
    const QRect board(kBoardOrigin, kBoardOrigin, kBoardWidth, kBoardHeight);
    if (paused)
        dx7->DD7BltFast(board.x(), board.y(), surfaceSet.Wall, {0, 0, kBoardWidth, kBoardHeight});
    dx7->DD7Paint([&](QPainter& painter) {
        if (paused)
            StatusPainter::PaintPaused(painter, 1.0, board);
        if (status) {
            shownStatus = CurrentStatus();
            StatusPainter::PaintStatus(painter, 1.0, *shownStatus);
        }
    });
    mapCtrl->BlitCursor(focusX, focusY);
}
