#include "LayoutEditor.h"

#include "DealProbe.h"
#include "EditorBoard.h"
#include "FileConv.h"
#include "Language.h"
#include "LayoutNaming.h"
#include "MessageBox.h"
#include "NumberedError.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The side bar's caption: black 9-point text, 14 pixels a line, on the
// backdrop blue, in the 127 pixels right of x = 665.
constexpr int kCaptionWidth = 127;
constexpr int kCaptionHeight = 160;
constexpr int kCaptionPitch = 14;
const QColor kBackdrop(0x33, 0x99, 0xFF);
constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 640;

QFont CaptionFont()
{
    QFont font;
    font.setFamilies(TextFontFamilies());
    font.setPointSize(9);
    return font;
}

bool SameFolder(const QString& a, const QString& b)
{
    const QString left = QFileInfo(a).canonicalFilePath();
    return !left.isEmpty() && left == QFileInfo(b).canonicalFilePath();
}

} // namespace

LayoutEditor::LayoutEditor(const Folders& folders, const QString& path, QWidget* owner)
    : QWidget(owner, Qt::Window), folders_(folders), path_(path)
{
    Load(path);
    CreateControls();
    connect(&checker_, &QFutureWatcher<int>::finished, this, &LayoutEditor::OnCheckDone);
    resize(kInitialWidth, kInitialHeight);
    UpdateTitle();
    Changed();
    modified_ = false;
    UpdateTitle();
}

LayoutEditor::~LayoutEditor()
{
    // A check holds no pointer to the window, but the watcher must outlive it.
    checker_.waitForFinished();
}

void LayoutEditor::Load(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    FileConv file;
    file.LoadFile(path.toStdString());
    draft_ = LayoutDraft(file);
    std::u16string message = file.GetMessage();
    message = message.substr(0, message.find(u'\0'));
    pendingMessage_ = QString::fromStdU16String(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void LayoutEditor::CreateControls()
{
    board_ = new EditorBoard(draft_, this);
    levelLabel_ = new QLabel(this);
    setSizeBox_ = new QComboBox(this);
    for (const int size : {2, 3, 4})
        setSizeBox_->addItem(QString::number(size), size);
    if (setSizeBox_->findData(draft_.SetSize()) < 0)
        setSizeBox_->addItem(QString::number(draft_.SetSize()), draft_.SetSize());
    setSizeBox_->setCurrentIndex(setSizeBox_->findData(draft_.SetSize()));
    auto* mirrorLeftRight = new QPushButton(tr("左右に鏡写し"), this);
    auto* mirrorTopBottom = new QPushButton(tr("上下に鏡写し"), this);
    auto* save = new QPushButton(tr("保存 (Ctrl+S)"), this);
    messageBox_ = new QPlainTextEdit(this);
    messageBox_->setPlainText(pendingMessage_);
    preview_ = new QLabel(this);
    preview_->setFixedSize(kCaptionWidth, kCaptionHeight);
    statusLine_ = new QLabel(this);
    statusLine_->setWordWrap(true);
    for (QPushButton* button : {mirrorLeftRight, mirrorTopBottom, save})
        button->setFocusPolicy(Qt::NoFocus);

    auto* side = new QVBoxLayout;
    side->addWidget(levelLabel_);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(tr("組の枚数"), this));
    sizeRow->addWidget(setSizeBox_);
    side->addLayout(sizeRow);
    side->addWidget(mirrorLeftRight);
    side->addWidget(mirrorTopBottom);
    side->addWidget(new QLabel(tr("メッセージ"), this));
    side->addWidget(messageBox_, 1);
    side->addWidget(new QLabel(tr("サイドバーでの見え方"), this));
    side->addWidget(preview_);
    side->addWidget(save);
    auto* top = new QHBoxLayout;
    top->addWidget(board_, 1);
    top->addLayout(side);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top, 1);
    whole->addWidget(statusLine_);

    connect(board_, &EditorBoard::PlaceAsked, this, &LayoutEditor::OnPlace);
    connect(board_, &EditorBoard::RemoveAsked, this, &LayoutEditor::OnRemove);
    connect(board_, &EditorBoard::LevelStepAsked, this, &LayoutEditor::StepLevel);
    connect(setSizeBox_, &QComboBox::currentIndexChanged, this, [this] {
        draft_.SetSetSize(setSizeBox_->currentData().toInt());
        Changed();
    });
    connect(messageBox_, &QPlainTextEdit::textChanged, this, [this] {
        LimitMessage();
        DrawPreview();
        modified_ = true;
        UpdateTitle();
    });
    connect(mirrorLeftRight, &QPushButton::clicked, this, [this] {
        notice_ = tr("鏡写しで %1 枚足しました。").arg(draft_.MirrorLeftRight());
        Changed();
    });
    connect(mirrorTopBottom, &QPushButton::clicked, this, [this] {
        notice_ = tr("鏡写しで %1 枚足しました。").arg(draft_.MirrorTopBottom());
        Changed();
    });
    connect(save, &QPushButton::clicked, this, &LayoutEditor::Save);
    board_->setFocus();
}

void LayoutEditor::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        StepLevel(event->key() == Qt::Key_PageUp ? 1 : -1);
    } else if (control && event->key() == Qt::Key_Z) {
        if (shift ? draft_.Redo() : draft_.Undo())
            Changed();
    } else if (control && event->key() == Qt::Key_S) {
        Save();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void LayoutEditor::OnPlace(const LayoutDraft::Tile& tile)
{
    const LayoutDraft::Verdict verdict = draft_.Place(tile);
    if (verdict == LayoutDraft::Verdict::Allowed)
        notice_.clear();
    ShowRefusal(verdict);
}

void LayoutEditor::OnRemove(const LayoutDraft::Tile& tile)
{
    const LayoutDraft::Verdict verdict = draft_.Remove(tile);
    if (verdict == LayoutDraft::Verdict::Allowed)
        notice_.clear();
    ShowRefusal(verdict);
}

void LayoutEditor::ShowRefusal(LayoutDraft::Verdict verdict)
{
    using Verdict = LayoutDraft::Verdict;
    switch (verdict) {
    case Verdict::Allowed: Changed(); return;
    case Verdict::Occupied: notice_ = tr("同じ段の牌と重なるので置けません。"); break;
    case Verdict::OffBoard: notice_ = tr("盤からはみ出すので置けません。"); break;
    case Verdict::Floating: notice_ = tr("下の段に支える牌がないので置けません。"); break;
    case Verdict::Full: notice_ = tr("牌は 512 枚までです。"); break;
    case Verdict::HoldsOthers: notice_ = tr("上の段の牌を支えているので取れません。"); break;
    case Verdict::NoTile: return;
    }
    statusLine_->setText(Status());
}

void LayoutEditor::StepLevel(int step)
{
    board_->SetLevel(std::clamp(board_->Level() + step, 0, LayoutDraft::kLevels - 1));
    levelLabel_->setText(tr("段 %1 / %2 (PgUp, PgDn)").arg(board_->Level() + 1).arg(LayoutDraft::kLevels));
}

// Every change of the tiles or the set size: redraw, check again, mark unsaved.
void LayoutEditor::Changed()
{
    modified_ = true;
    ++generation_;
    dealt_ = -1;
    StepLevel(0);
    board_->update();
    DrawPreview();
    StartCheck();
    statusLine_->setText(Status());
    UpdateTitle();
}

QString LayoutEditor::Status() const
{
    const LayoutDraft::Checks checks = draft_.Check();
    QStringList parts;
    const int setSize = draft_.SetSize();
    parts << (checks.countFits ? tr("%1 枚: %2 枚組に合います").arg(checks.count).arg(setSize)
                               : tr("%1 枚: %2 枚組には偶数で %2 の倍数が要ります").arg(checks.count).arg(setSize));
    if (!checks.withinLimit)
        parts << tr("512 枚を超えています");
    if (checks.offBoard > 0)
        parts << tr("%1 枚が盤からはみ出します").arg(checks.offBoard);
    if (!checks.fault.empty())
        parts << QString::fromStdString(checks.fault);
    if (checks.Saveable())
        parts << (dealt_ < 0 ? tr("問題 1～20 を確認中…") : tr("問題 1～20 のうち %1 問が配れます").arg(dealt_));
    if (!notice_.isEmpty())
        parts << notice_;
    return parts.join(QStringLiteral(" \u00B7 "));
}

std::u16string LayoutEditor::MessageText() const
{
    QString text = messageBox_->toPlainText();
    return text.replace(u'\n', QStringLiteral("\r\n")).toStdU16String();
}

// The reader takes at most 4,096 characters, a line break counting as two.
void LayoutEditor::LimitMessage()
{
    const std::u16string text = MessageText();
    if (text.size() <= FileConv::kMaxMessageChars)
        return;
    QString kept = QString::fromStdU16String(text.substr(0, FileConv::kMaxMessageChars));
    if (kept.endsWith(u'\r'))
        kept.chop(1);
    const QSignalBlocker blocker(messageBox_);
    messageBox_->setPlainText(kept.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    messageBox_->moveCursor(QTextCursor::End);
}

void LayoutEditor::DrawPreview()
{
    QPixmap picture(kCaptionWidth, kCaptionHeight);
    picture.fill(kBackdrop);
    QPainter painter(&picture);
    painter.setFont(CaptionFont());
    const int ascent = painter.fontMetrics().ascent();
    const QStringList lines = messageBox_->toPlainText().split(u'\n');
    for (int k = 0; k < lines.size(); ++k)
        painter.drawText(QPointF(0, k * kCaptionPitch + ascent), lines[k]);
    preview_->setPixmap(picture);
}

void LayoutEditor::StartCheck()
{
    if (checker_.isRunning() || !draft_.Check().Saveable())
        return;
    FileConv file;
    draft_.Fill(file, {});
    runningGeneration_ = generation_;
    checker_.setFuture(QtConcurrent::run([file] { return CountDealingProblems(file, kFirstProblem, kLastProblem); }));
}

void LayoutEditor::OnCheckDone()
{
    if (runningGeneration_ == generation_) {
        dealt_ = checker_.result();
        checkedGeneration_ = generation_;
        statusLine_->setText(Status());
        if (saveWaiting_)
            FinishSave();
        return;
    }
    StartCheck();
}

void LayoutEditor::WaitForChecks()
{
    while (checkedGeneration_ != generation_ && draft_.Check().Saveable()) {
        checker_.waitForFinished();
        QCoreApplication::processEvents();
    }
}

void LayoutEditor::Save()
{
    const LayoutDraft::Checks checks = draft_.Check();
    if (!checks.Saveable()) {
        ShowMessage({tr("この陣形はまだ保存できません。\n%1").arg(Status()).toStdString(), {}, MessageButtons::Ok,
                     MessageIcon::Warning});
        return;
    }
    saveWaiting_ = true;
    if (checkedGeneration_ == generation_)
        FinishSave();
    else
        StartCheck();
}

void LayoutEditor::FinishSave()
{
    saveWaiting_ = false;
    if (dealt_ == 0) {
        const QString why =
            tr("問題 1～20 のどれも配れないので保存できません。上の段を支える牌を増やすか、取れる牌が最初から足りるように置き直してください。");
        ShowMessage({why.toStdString(), {}, MessageButtons::Ok, MessageIcon::Warning});
        return;
    }
    const QString target = SaveTarget();
    FileConv file;
    draft_.Fill(file, MessageText());
    try {
        QDir().mkpath(QFileInfo(target).absolutePath());
        file.SaveFile(target.toStdString());
    } catch (const NumberedError& error) {
        ShowMessage({tr("保存できませんでした: %1").arg(QString::fromStdString(error.what())).toStdString(), {},
                     MessageButtons::Ok, MessageIcon::Critical});
        return;
    }
    path_ = target;
    draft_.MarkSaved(file);
    modified_ = false;
    notice_ = tr("%1 に保存しました").arg(QDir::toNativeSeparators(target));
    statusLine_->setText(Status());
    UpdateTitle();
    if (dealt_ < kLastProblem - kFirstProblem + 1)
        ShowMessage({tr("保存しました。ただし問題 1～20 のうち配れるのは %1 問だけです。").arg(dealt_).toStdString(), {},
                     MessageButtons::Ok, MessageIcon::Warning});
    emit Saved(QFileInfo(target).fileName());
}

// The file being edited, unless it is new or shipped: then a name of its own
// in the player's folder that is no shipped layout's name.
QString LayoutEditor::SaveTarget() const
{
    const bool shipped = !path_.isEmpty() && SameFolder(QFileInfo(path_).absolutePath(), folders_.shipped);
    if (!path_.isEmpty() && !shipped)
        return path_;
    const std::string stem = path_.isEmpty() ? "layout" : QFileInfo(path_).completeBaseName().toStdString();
    const QDir shippedFolder(folders_.shipped), playerFolder(folders_.player);
    const std::string name = FreeLayoutName(stem, [&](const std::string& candidate) {
        const QString file = QString::fromStdString(candidate);
        return shippedFolder.exists(file) || playerFolder.exists(file);
    });
    return playerFolder.filePath(QString::fromStdString(name));
}

void LayoutEditor::UpdateTitle()
{
    const QString name = path_.isEmpty() ? tr("新しい陣形") : QFileInfo(path_).fileName();
    setWindowTitle(tr("陣形エディタ - %1%2").arg(name, modified_ ? QStringLiteral(" *") : QString()));
}

void LayoutEditor::SetMessageText(const QString& text) { messageBox_->setPlainText(text); }

void LayoutEditor::SetSetSize(int setSize) { setSizeBox_->setCurrentIndex(setSizeBox_->findData(setSize)); }

void LayoutEditor::closeEvent(QCloseEvent* event)
{
    const bool leave = !modified_
        || ShowMessage({tr("変更を保存せずに閉じますか？").toStdString(), {}, MessageButtons::YesNo,
                        MessageIcon::Question})
            == MessageResult::Yes;
    leave ? event->accept() : event->ignore();
}
