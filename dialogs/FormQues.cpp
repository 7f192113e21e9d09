#include "FormQues.h"

#include "BlankTitle.h"
#include "FileConv.h"
#include "GameFolders.h"
#include "Language.h"
#include "LayoutMessages.h"
#include "MessageBox.h"
#include "ModuleCommands.h"
#include "RandomSource.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <cmath>
#include <exception>
#include <utility>

namespace {

constexpr int kClientWidth = 508;
constexpr int kClientHeight = 317;
constexpr int kPreviewWidth = 193;
constexpr int kPreviewHeight = 161;
constexpr int kPreviewTileWidth = 11;
constexpr int kPreviewTileHeight = 15;
// 0x004080 in the 0x00BBGGRR form: a dark brown outline.
const QColor kPreviewOutline(0x80, 0x40, 0x00);
const QColor kPreviewFill(Qt::white);
const QColor kPreviewBackground(0xDC, 0xDC, 0xDC);

QFont DialogFont()
{
    QFont font;
    font.setFamilies(TextFontFamilies());
    font.setPointSize(9);
    return font;
}

template <typename Widget, typename... Args>
Widget* Place(QWidget* parent, const char* name, QRect geometry, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// Widens a label to its widest text and moves the control to its right along,
// so that the text is never cut short and never touches that control.
void FitBeside(QLabel& label, const QString& widest, QWidget& next)
{
    constexpr int kGap = 4;
    const int width = std::max(label.width(), label.fontMetrics().horizontalAdvance(widest) + 1);
    label.resize(width, label.height());
    next.move(std::max(next.x(), label.x() + width + kGap), next.y());
}

void DrawPreviewTile(QPainter& painter, uint16_t code)
{
    const auto signedCode = static_cast<int16_t>(code);
    const int row = code & 0x1F;
    const int column = (code >> 5) & 0x3F;
    const int layer = signedCode / 2048;
    const int x = column * 5 + 3 - layer * 2;
    const int y = row * 7 + 3 - layer * 2;
    painter.fillRect(QRect(x, y, kPreviewTileWidth, kPreviewTileHeight), kPreviewOutline);
    painter.fillRect(QRect(x + 1, y + 1, kPreviewTileWidth - 2, kPreviewTileHeight - 2), kPreviewFill);
}

} // namespace

FormQues::FormQues(ModuleCommands& module, const QStringList& layoutFolders, QWidget* owner)
    : QDialog(owner), module_(module), layoutFolders_(layoutFolders),
      preview_(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32)
{
    SetBlankTitle(*this);
    setFont(DialogFont());
    setFixedSize(kClientWidth, kClientHeight);
    CreateControls();
    ConnectControls();
    ClearPreview();
}

void FormQues::CreateControls()
{
    Place<QLabel>(this, "Label2", {32, 8, 89, 17}, tr("陣形の選択"));
    File1_ = Place<QListWidget>(this, "File1", {24, 24, 265, 102});
    picMain_ = Place<QLabel>(this, "picMain", {304, 24, kPreviewWidth, kPreviewHeight});
    CreateProblemFrame();
    CreateReverseFrame();
    LabelMsg_ = Place<QLabel>(this, "LabelMsg", {24, 256, 145, 57});
    LabelMsg_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelMsg_->setWordWrap(true);
    cmdSubmit_ = Place<QPushButton>(this, "cmdSubmit", {184, 280, 73, 25}, QStringLiteral("OK"));
    cmdCancel_ = Place<QPushButton>(this, "cmdCancel", {272, 280, 73, 25}, tr("キャンセル"));
    cmdEdit_ = Place<QPushButton>(this, "cmdEdit", {360, 280, 65, 25}, tr("編集"));
    cmdNew_ = Place<QPushButton>(this, "cmdNew", {432, 280, 65, 25}, tr("新規"));
    // Enter and Escape press no button.
    for (QPushButton* button : {cmdSubmit_, cmdCancel_, cmdEdit_, cmdNew_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void FormQues::CreateProblemFrame()
{
    Frame1_ = Place<QGroupBox>(this, "Frame1", {24, 136, 265, 65}, tr("問題選択"));
    OptionQues_[0] = Place<QRadioButton>(Frame1_, "OptionQues0", {16, 16, 73, 17}, tr("ランダム"));
    OptionQues_[1] = Place<QRadioButton>(Frame1_, "OptionQues1", {16, 40, 73, 17}, tr("番号指定"));
    txtNumber_ = Place<QLineEdit>(Frame1_, "txtNumber", {88, 40, 49, 18}, QStringLiteral("0"));
    txtNumber_->installEventFilter(this);
    QLabel* range = Place<QLabel>(Frame1_, "Label1", {144, 40, 65, 17}, tr("(1～100000)"));
    cmdRandom_ = Place<QPushButton>(Frame1_, "cmdRandom", {208, 40, 41, 17}, tr("自動"));
    cmdRandom_->setAutoDefault(false);
    FitBeside(*range, range->text(), *cmdRandom_);
}

void FormQues::CreateReverseFrame()
{
    Frame2_ = Place<QGroupBox>(this, "Frame2", {24, 208, 265, 41}, tr("裏牌モード"));
    OptionRev_[0] = Place<QRadioButton>(Frame2_, "OptionRev0", {16, 16, 49, 17}, tr("なし"));
    OptionRev_[1] = Place<QRadioButton>(Frame2_, "OptionRev1", {72, 16, 49, 17}, tr("全部"));
    OptionRev_[2] = Place<QRadioButton>(Frame2_, "OptionRev2", {128, 16, 49, 17}, tr("任意"));
    LabelRev_ = Place<QLabel>(Frame2_, "LabelRev", {184, 16, 25, 25});
    LabelRev_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    HScrollRev_ = Place<QScrollBar>(Frame2_, "HScrollRev", {216, 16, 33, 17}, Qt::Horizontal);
    HScrollRev_->setRange(REVERSE_MIN, REVERSE_MAX);
    HScrollRev_->setSingleStep(REVERSE_STEP);
    HScrollRev_->setPageStep(REVERSE_STEP);
    HScrollRev_->setValue(REVERSE_INITIAL);
    FitBeside(*LabelRev_, CountText(REVERSE_MAX), *HScrollRev_);
    UpdateReverseLabel();
}

void FormQues::ConnectControls()
{
    connect(File1_, &QListWidget::currentRowChanged, this, &FormQues::OnLayoutSelected);
    connect(cmdRandom_, &QPushButton::clicked, this, &FormQues::OnRandom);
    for (int i = 0; i < 3; ++i) {
        connect(OptionRev_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                OnReverseOption(i);
        });
    }
    connect(HScrollRev_, &QScrollBar::valueChanged, this, &FormQues::UpdateReverseLabel);
    connect(HScrollRev_, &QScrollBar::actionTriggered, this, &FormQues::SnapReverseToEven);
    connect(cmdSubmit_, &QPushButton::clicked, this, &FormQues::OnSubmit);
    connect(cmdCancel_, &QPushButton::clicked, this, &FormQues::reject);
    connect(cmdEdit_, &QPushButton::clicked, this, [this] { OnEdit(false); });
    connect(cmdNew_, &QPushButton::clicked, this, [this] { OnEdit(true); });
}

void FormQues::LoadQuestionInfo(const QuestionInfo& info)
{
    RandomSource::Shared().SeedFromClock();
    FillFileList();
    const auto found = File1_->findItems(info[0], Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        File1_->setCurrentItem(found.constFirst());

    const int32_t problem = info[1].toInt();
    lastValidNumber_ = problem != 0 ? problem : PROBLEM_MIN;
    OptionQues_[problem != 0 ? 1 : 0]->setChecked(true);
    txtNumber_->setText(QString::number(lastValidNumber_));

    const int reverse = info[2].toInt();
    if (reverse == 0 || reverse == 1) {
        OptionRev_[reverse]->setChecked(true);
        OnReverseOption(reverse);
    } else {
        OptionRev_[2]->setChecked(true);
        HScrollRev_->setValue(reverse);
        OnReverseOption(2);
    }
}

void FormQues::FillFileList()
{
    File1_->clear();
    File1_->addItems(GameFolders::LayoutNamesIn(layoutFolders_));
    if (File1_->count() == 0) {
        ClearPreview();
        layoutReadable_ = false;
        ShowPreviewMessage(tr("陣形ファイルがありません。"));
        return;
    }
    File1_->setCurrentRow(0);
}

void FormQues::OnEdit(bool newLayout)
{
    if (!newLayout && File1_->currentItem() == nullptr)
        return;
    const QPointer<FormQues> self(this);
    module_.EditLayout(newLayout ? QString() : File1_->currentItem()->text(), [self](const QString& fileName) {
        if (self)
            self->ShowSavedLayout(fileName);
    });
}

// A layout saved from the editor is listed at once, and chosen.
void FormQues::ShowSavedLayout(const QString& fileName)
{
    FillFileList();
    const auto found = File1_->findItems(fileName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        File1_->setCurrentItem(found.constFirst());
}

void FormQues::OnLayoutSelected()
{
    if (QListWidgetItem* item = File1_->currentItem())
        DrawLayoutPreview(item->text());
}

void FormQues::DrawLayoutPreview(const QString& fileName)
{
    ClearPreview();
    FileConv layout;
    try {
        layout.LoadFile(GameFolders::LayoutPathIn(layoutFolders_, fileName).toStdString());
    } catch (const std::exception&) {
        layoutReadable_ = false;
        ShowPreviewMessage(tr("この陣形ファイルは読み込めません。") + u'\n' + fileName);
        return;
    }
    layoutReadable_ = true;
    const std::vector<uint16_t> codes = layout.GetPositionArray();
    QPainter painter(&preview_);
    for (size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == 0 && i > 0)
            break;
        DrawPreviewTile(painter, codes[i]);
    }
    painter.end();
    picMain_->setPixmap(QPixmap::fromImage(preview_));
    ShowPreviewMessage(LayoutMessage(layout, fileName));
}

void FormQues::ClearPreview()
{
    preview_.fill(kPreviewBackground);
    picMain_->setPixmap(QPixmap::fromImage(preview_));
}

void FormQues::ShowPreviewMessage(const QString& text)
{
    LabelMsg_->setText(text);
}

void FormQues::OnReverseOption(int index)
{
    const bool chosenCount = index == 2;
    HScrollRev_->setVisible(chosenCount);
    if (chosenCount)
        UpdateReverseLabel();
    else
        LabelRev_->clear();
}

void FormQues::UpdateReverseLabel()
{
    LabelRev_->setText(CountText(HScrollRev_->value()));
}

QString FormQues::CountText(int count)
{
    return tr("%1枚").arg(count);
}

// Dragging the tiny thumb could land on an odd count; keep the offered counts even.
void FormQues::SnapReverseToEven(int action)
{
    if (action == QAbstractSlider::SliderMove)
        HScrollRev_->setSliderPosition(HScrollRev_->sliderPosition() & ~1);
}

QString FormQues::LayoutMessage(const FileConv& layout, const QString& fileName)
{
    const std::u16string message = layout.GetMessage();
    return TranslatedLayoutMessage(fileName, QString::fromStdU16String(message.substr(0, message.find(u'\0'))));
}

int32_t FormQues::NormalizedProblemNumber(const QString& text, int32_t lastValid)
{
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    // Qt also reads "inf" and "nan"; neither is a problem number.
    if (!isNumber || !std::isfinite(value))
        return lastValid;
    const double rounded = std::nearbyint(value);
    if (rounded < PROBLEM_MIN)
        return PROBLEM_MIN;
    if (rounded > PROBLEM_MAX)
        return PROBLEM_MAX;
    return static_cast<int32_t>(rounded);
}

void FormQues::NormalizeNumberBox()
{
    lastValidNumber_ = NormalizedProblemNumber(txtNumber_->text(), lastValidNumber_);
    txtNumber_->setText(QString::number(lastValidNumber_));
}

bool FormQues::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtNumber_) {
        if (event->type() == QEvent::FocusIn)
            OptionQues_[1]->setChecked(true);
        else if (event->type() == QEvent::FocusOut)
            NormalizeNumberBox();
    }
    return QDialog::eventFilter(watched, event);
}

// Escape does not close the dialog: only the two buttons do.
void FormQues::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FormQues::OnRandom()
{
    const double fraction = RandomSource::Shared().Next();
    const auto number = static_cast<int32_t>(fraction * PROBLEM_MAX) + PROBLEM_MIN;
    txtNumber_->setText(QString::number(number));
    OptionQues_[1]->setChecked(true);
}

QuestionInfo FormQues::BuildQuestionInfo() const
{
    QuestionInfo info;
    info[0] = File1_->currentItem()->text();
    info[1] = OptionQues_[0]->isChecked() ? QStringLiteral("0") : txtNumber_->text();
    if (OptionRev_[0]->isChecked())
        info[2] = QStringLiteral("0");
    else if (OptionRev_[1]->isChecked())
        info[2] = QStringLiteral("1");
    else
        info[2] = QString::number(HScrollRev_->value());
    info[3] = LabelMsg_->text();
    return info;
}

void FormQues::OnSubmit()
{
    // A click takes the focus from the number box first; normalising again is harmless.
    NormalizeNumberBox();
    if (File1_->currentItem() == nullptr || !layoutReadable_)
        return;
    try {
        module_.StoreQuestionInfo(BuildQuestionInfo());
        module_.StartGame();
    } catch (const std::exception& error) {
        ShowMessage({tr("ゲームを開始できません。").toStdString() + "\n" + error.what(), {}, MessageButtons::Ok,
                     MessageIcon::Warning});
        return;
    }
    accept();
}
