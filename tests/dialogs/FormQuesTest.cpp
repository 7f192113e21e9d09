#include "FormQues.h"

#include "DialogsTestSupport.h"
#include "FileConv.h"
#include "LayoutImport.h"

#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <stdexcept>

namespace {

const QRgb kOutline = qRgb(0x80, 0x40, 0x00);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);

void WriteLayout(const QString& path, const std::vector<uint16_t>& positions, const std::u16string& message)
{
    FileConv layout;
    layout.PutPositionArray(positions);
    std::vector<uint8_t> counts(FileConv::kCountClasses, 0);
    counts[0] = static_cast<uint8_t>(positions.size());
    layout.PutPaiArray(counts);
    layout.PutPlaytime(2);
    layout.PutMessage(message);
    layout.SaveFile(path.toStdString());
}

class FormQuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(QStringLiteral("formques"));
        WriteLayout(folder + QStringLiteral("/alpha.tvm"), {0x0000, 0x0821, 0x0000, 0x0300}, u"二枚の試し");
        WriteLayout(folder + QStringLiteral("/beta.tvm"), {0x0002, 0x0042}, u"ベータ");
        QFile broken(folder + QStringLiteral("/broken.tvm"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a layout line\r\n");
        QFile(folder + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
        form = std::make_unique<FormQues>(module, QStringList{folder});
    }

    template <typename T = QWidget>
    T* Control(const char* name) const
    {
        T* control = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    bool Checked(const char* name) const { return Control<QRadioButton>(name)->isChecked(); }
    QString Text(const char* name) const { return Control<QLabel>(name)->text(); }
    QString Number() const { return Control<QLineEdit>("txtNumber")->text(); }
    QString SelectedLayout() const { return Control<QListWidget>("File1")->currentItem()->text(); }
    QImage Preview() const { return Control<QLabel>("picMain")->pixmap().toImage(); }
    void Open(const char* layout, const char* problem, const char* faceDown)
    {
        form->LoadQuestionInfo({QString::fromUtf8(layout), QString::fromUtf8(problem), QString::fromUtf8(faceDown), {}});
    }
    void Submit() { Control<QPushButton>("cmdSubmit")->click(); }

    void LeaveNumberBoxWith(const QString& text)
    {
        QLineEdit* box = Control<QLineEdit>("txtNumber");
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(box, &focusIn);
        box->setText(text);
        QFocusEvent focusOut(QEvent::FocusOut);
        QApplication::sendEvent(box, &focusOut);
    }

    QString folder;
    FakeModule module;
    MessageRecorder messages;
    std::unique_ptr<FormQues> form;
};

TEST_F(FormQuesTest, ControlsSitWhereTheyBelongWithTheirCaptions)
{
    EXPECT_EQ(form->size(), QSize(508, 317));
    EXPECT_TRUE(BlankTitle(*form));
    const std::vector<std::tuple<const char*, QRect, QString>> controls = {
        {"Label2", {32, 8, 89, 17}, QStringLiteral(u"陣形の選択")},   {"File1", {24, 24, 265, 102}, {}},
        {"picMain", {304, 24, 193, 161}, {}},                          {"Frame1", {24, 136, 265, 65}, QStringLiteral(u"問題選択")},
        {"OptionQues0", {16, 16, 73, 17}, QStringLiteral(u"ランダム")}, {"OptionQues1", {16, 40, 73, 17}, QStringLiteral(u"番号指定")},
        {"txtNumber", {88, 40, 49, 18}, QStringLiteral("0")},          {"Frame2", {24, 208, 265, 41}, QStringLiteral(u"裏牌モード")},
        {"OptionRev0", {16, 16, 49, 17}, QStringLiteral(u"なし")},      {"OptionRev1", {72, 16, 49, 17}, QStringLiteral(u"全部")},
        {"OptionRev2", {128, 16, 49, 17}, QStringLiteral(u"任意")},     {"LabelMsg", {24, 256, 145, 57}, {}},
        {"cmdSubmit", {184, 280, 73, 25}, QStringLiteral("OK")},       {"cmdCancel", {272, 280, 73, 25}, QStringLiteral(u"キャンセル")},
    };
    for (const auto& [name, geometry, caption] : controls) {
        QWidget* control = Control(name);
        EXPECT_EQ(control->geometry(), geometry) << name;
        const QVariant text = control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text");
        EXPECT_EQ(text.toString(), caption) << name;
    }
    // The range hint and the longest count are shown whole, clear of the control beside them, which
    // stays inside its frame.
    const std::vector<std::tuple<const char*, QString, const char*, const char*>> labels = {
        {"Label1", QStringLiteral(u"(1～100000)"), "cmdRandom", "Frame1"},
        {"LabelRev", QStringLiteral(u"512枚"), "HScrollRev", "Frame2"}};
    for (const auto& [name, widest, beside, frame] : labels) {
        const QLabel* label = Control<QLabel>(name);
        const QRect next = Control(beside)->geometry();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(widest)) << name;
        EXPECT_GE(next.left() - (label->x() + label->width()), 2) << name;
        EXPECT_LE(next.right(), Control(frame)->width() - 3) << beside;
    }
    EXPECT_EQ(Text("Label1"), QStringLiteral(u"(1～100000)"));
    EXPECT_EQ(Text("LabelRev"), QStringLiteral(u"32枚"));
    EXPECT_EQ(Control<QPushButton>("cmdRandom")->text(), QStringLiteral(u"自動"));
    EXPECT_EQ(Control("OptionRev2")->parentWidget(), Control("Frame2"));
    EXPECT_EQ(Control("txtNumber")->parentWidget(), Control("Frame1"));
    EXPECT_FALSE(Control<QPushButton>("cmdSubmit")->autoDefault() || Control<QPushButton>("cmdCancel")->autoDefault());
}

TEST_F(FormQuesTest, OpensOnTheCurrentGameAndOkHandsItOn)
{
    Open("beta.tvm", "0", "0");
    EXPECT_EQ(SelectedLayout(), QStringLiteral("beta.tvm"));
    EXPECT_TRUE(Checked("OptionQues0") && Checked("OptionRev0"));
    EXPECT_EQ(Number(), QStringLiteral("1"));
    EXPECT_TRUE(Control("HScrollRev")->isHidden());
    EXPECT_TRUE(Text("LabelRev").isEmpty());
    EXPECT_EQ(Text("LabelMsg"), QStringLiteral(u"ベータ"));
    Submit();
    EXPECT_EQ(module.calls, (std::vector<std::string>{"StoreQuestionInfo", "StartGame"}));
    EXPECT_EQ(module.stored, (QuestionInfo{QStringLiteral("beta.tvm"), QStringLiteral("0"), QStringLiteral("0"),
                                           QStringLiteral(u"ベータ")}));
    EXPECT_EQ(form->result(), QDialog::Accepted);

    Open("alpha.tvm", "77", "1");
    EXPECT_TRUE(Checked("OptionQues1") && Checked("OptionRev1"));
    EXPECT_EQ(Number(), QStringLiteral("77"));
    EXPECT_TRUE(Control("HScrollRev")->isHidden());
    EXPECT_TRUE(Text("LabelRev").isEmpty());

    Open("alpha.tvm", "77", "14");
    EXPECT_TRUE(Checked("OptionRev2"));
    EXPECT_FALSE(Control("HScrollRev")->isHidden());
    EXPECT_EQ(Text("LabelRev"), QStringLiteral(u"14枚"));
    Control<QScrollBar>("HScrollRev")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Text("LabelRev"), QStringLiteral(u"16枚"));
    Submit();
    EXPECT_EQ(module.stored[1] + u'/' + module.stored[2], QStringLiteral("77/16"));

    // A layout no longer there, or named with other capitals, leaves the first file selected.
    Open("BETA.tvm", "5", "0");
    EXPECT_EQ(SelectedLayout(), QStringLiteral("alpha.tvm"));
    EXPECT_EQ(Control<QListWidget>("File1")->count(), 3);
}

TEST_F(FormQuesTest, TheCountBarOffersEvenCountsFromTwo)
{
    QScrollBar* bar = Control<QScrollBar>("HScrollRev");
    EXPECT_EQ(bar->value(), 32);
    EXPECT_EQ(bar->singleStep(), 2);
    EXPECT_EQ(bar->maximum() % 2, 0);
    bar->setSliderPosition(41);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(bar->value(), 40);
    bar->setValue(bar->minimum());
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 2);
}

TEST_F(FormQuesTest, ThePreviewDrawsOutlinedTilesUntilAZeroCode)
{
    Open("alpha.tvm", "0", "0");
    const QImage preview = Preview();
    ASSERT_EQ(preview.size(), QSize(193, 161));
    const QRgb ground = preview.pixel(190, 158);
    EXPECT_NE(ground, kWhite);
    // The first code, 0, is drawn at (3, 3); 0x0821 (row 1, column 1, layer 1) at (6, 8), over it.
    const std::vector<std::pair<QPoint, QRgb>> pixels = {
        {{3, 3}, kOutline},  {{4, 4}, kWhite},    {{2, 3}, ground},  {{6, 8}, kOutline},  {{7, 9}, kWhite},
        {{16, 22}, kOutline}, {{17, 22}, ground}, {{16, 23}, ground}, {{123, 3}, ground}, // 0x0300 comes after the end
    };
    for (const auto& [at, colour] : pixels)
        EXPECT_EQ(preview.pixel(at), colour) << at.x() << "," << at.y();
    EXPECT_EQ(Text("LabelMsg"), QStringLiteral(u"二枚の試し"));

    Control<QListWidget>("File1")->setCurrentRow(1);
    const QImage beta = Preview();
    EXPECT_EQ(beta.pixel(3, 3), ground);
    EXPECT_EQ(beta.pixel(3, 17), kOutline);  // 0x0002: row 2
    EXPECT_EQ(beta.pixel(13, 17), kOutline); // 0x0042: row 2, column 2
}

TEST_F(FormQuesTest, ListsAnImportedLayoutLikeTheOthers)
{
    FileConv imported;
    ConvertToLayoutFile(
        ReadForeignLayouts(TOVRIK_SOURCE_DIR "/tests/layoutimport/samples/lotus.layout").front(), imported);
    imported.SaveFile((folder + QStringLiteral("/lotus.tvm")).toStdString());
    FormQues withImport(module, QStringList{folder});
    withImport.LoadQuestionInfo({QStringLiteral("lotus.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    EXPECT_EQ(withImport.findChild<QListWidget*>(QStringLiteral("File1"))->currentItem()->text(),
              QStringLiteral("lotus.tvm"));
    EXPECT_EQ(withImport.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(),
              QStringLiteral(u"蓮の花\r\n静かな池に咲いた蓮の\r\n花です"));
}

TEST_F(FormQuesTest, UnreadableLayoutsAndEmptyFoldersCannotBeStarted)
{
    Open("broken.tvm", "3", "0");
    EXPECT_EQ(SelectedLayout(), QStringLiteral("broken.tvm"));
    EXPECT_EQ(Preview().pixel(3, 3), Preview().pixel(100, 100));
    EXPECT_EQ(Text("LabelMsg"), QStringLiteral(u"この陣形ファイルは読み込めません。\nbroken.tvm"));
    Submit();
    EXPECT_TRUE(module.calls.empty());
    EXPECT_NE(form->result(), QDialog::Accepted);

    FormQues emptyForm(module, QStringList{FreshTestFolder(QStringLiteral("formques-empty"))});
    emptyForm.LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    EXPECT_EQ(emptyForm.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(), QStringLiteral(u"陣形ファイルがありません。"));
    emptyForm.findChild<QPushButton*>(QStringLiteral("cmdSubmit"))->click();
    EXPECT_TRUE(module.calls.empty());

    // A start the shell refuses is reported, and the dialog stays open.
    struct FailingModule : FakeModule {
        void StartGame() override { throw std::runtime_error("layout rejected"); }
    } failing;
    FormQues failingForm(failing, QStringList{folder});
    failingForm.LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    failingForm.findChild<QPushButton*>(QStringLiteral("cmdSubmit"))->click();
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_NE(messages.requests[0].text.find("layout rejected"), std::string::npos);
    EXPECT_NE(failingForm.result(), QDialog::Accepted);
}

TEST_F(FormQuesTest, TheUsersOwnLayoutsAreListedAndWinOverShippedOnesOfTheSameName)
{
    const QString own = FreshTestFolder(QStringLiteral("formques-own"));
    WriteLayout(own + QStringLiteral("/beta.tvm"), {0x0002, 0x0042}, u"自作");
    WriteLayout(own + QStringLiteral("/gamma.tvm"), {0x0002, 0x0042}, u"ガンマ");
    FormQues both(module, QStringList{own, folder});
    both.LoadQuestionInfo({QStringLiteral("beta.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    auto* list = both.findChild<QListWidget*>(QStringLiteral("File1"));
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    EXPECT_EQ(names, QStringList({QStringLiteral("alpha.tvm"), QStringLiteral("beta.tvm"), QStringLiteral("broken.tvm"),
                                  QStringLiteral("gamma.tvm")}));
    EXPECT_EQ(both.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(), QStringLiteral(u"自作"));
}

TEST_F(FormQuesTest, EditAndNewOpenTheEditorAndASavedLayoutIsListedAndChosenAtOnce)
{
    Open("beta.tvm", "0", "0");
    Control<QPushButton>("cmdEdit")->click();
    Control<QPushButton>("cmdNew")->click();
    EXPECT_EQ(module.calls, (std::vector<std::string>{"EditLayout beta.tvm", "EditLayout "}));
    EXPECT_EQ(Control<QPushButton>("cmdEdit")->text(), QStringLiteral(u"編集"));
    EXPECT_EQ(Control<QPushButton>("cmdNew")->text(), QStringLiteral(u"新規"));
    ASSERT_TRUE(module.editSaved);
    WriteLayout(folder + QStringLiteral("/mine.tvm"), {0x0002, 0x0042}, u"自作の陣形");
    module.editSaved(QStringLiteral("mine.tvm"));
    EXPECT_EQ(SelectedLayout(), QStringLiteral("mine.tvm"));
    EXPECT_EQ(Text("LabelMsg"), QStringLiteral(u"自作の陣形"));
}

TEST_F(FormQuesTest, TheNumberBoxRoundsClampsAndRestores)
{
    Open("alpha.tvm", "0", "0");
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"0", "1"},     {"-5", "1"},     {"100001", "100000"}, {"1e6", "100000"}, {"12.5", "12"},
        {"13.5", "14"}, {" 250 ", "250"}, {"abc", "250"},       {"1e30", "100000"}, {"", "100000"},
    };
    for (const auto& [typed, shown] : cases) {
        LeaveNumberBoxWith(QString::fromUtf8(typed));
        EXPECT_EQ(Number(), QString::fromUtf8(shown)) << typed;
    }
    EXPECT_TRUE(Checked("OptionQues1")) << "entering the box chose a numbered problem";
    for (const char* notANumber : {"nan", "inf", "-inf"})
        EXPECT_EQ(FormQues::NormalizedProblemNumber(QString::fromUtf8(notANumber), 7), 7) << notANumber;

    // OK takes the focus from the box first.
    Control<QLineEdit>("txtNumber")->setText(QStringLiteral("4.5"));
    Submit();
    EXPECT_EQ(module.stored[1], QStringLiteral("4"));
}

TEST_F(FormQuesTest, AutomaticNumbersStayInRangeAndAreNotTheRestoredNumber)
{
    Open("alpha.tvm", "0", "0");
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        Control<QPushButton>("cmdRandom")->click();
        seen.insert(Number().toInt());
    }
    EXPECT_GE(*seen.begin(), 1);
    EXPECT_LE(*seen.rbegin(), 100000);
    EXPECT_GT(seen.size(), 400u);
    EXPECT_TRUE(Checked("OptionQues1"));
    LeaveNumberBoxWith(QStringLiteral("x"));
    EXPECT_EQ(Number(), QStringLiteral("1")) << "the number from opening comes back";
}

TEST_F(FormQuesTest, CancelChangesNothingAndEscapeOrEnterPressNoButton)
{
    Open("alpha.tvm", "0", "0");
    form->show();
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &press);
        EXPECT_TRUE(form->isVisible());
    }
    Control<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(module.calls.empty());
}

} // namespace
