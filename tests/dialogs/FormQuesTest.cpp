#include "FormQues.h"

#include "DialogsTestSupport.h"
#include "FileConv.h"

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

void WriteLayout(const QString& folder, const QString& name, const std::vector<uint16_t>& positions,
                 const std::u16string& message)
{
    FileConv layout;
    layout.PutPositionArray(positions);
    std::vector<uint8_t> counts(FileConv::kCountClasses, 0);
    counts[0] = static_cast<uint8_t>(positions.size());
    layout.PutPaiArray(counts);
    layout.PutPlaytime(2);
    layout.PutMessage(message);
    layout.SaveFile((folder + u'/' + name).toStdString());
}

void WriteText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class FormQuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(QStringLiteral("formques"));
        WriteLayout(folder, QStringLiteral("alpha.tvm"), {0x0000, 0x0821, 0x0000, 0x0300}, u"二枚の試し");
        WriteLayout(folder, QStringLiteral("beta.tvm"), {0x0002, 0x0042}, u"ベータ");
        WriteText(folder + QStringLiteral("/broken.tvm"), "not a layout line\r\n");
        WriteText(folder + QStringLiteral("/notes.txt"), "ignored");
        form = std::make_unique<FormQues>(module, folder);
    }

    template <typename T>
    T* Control(const char* name) const
    {
        T* control = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QString SelectedLayout() const { return Control<QListWidget>("File1")->currentItem()->text(); }
    QImage Preview() const { return Control<QLabel>("picMain")->pixmap().toImage(); }

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
    EXPECT_TRUE(form->windowTitle().isEmpty());
    struct Expected {
        const char* name;
        QRect geometry;
        QString caption;
    };
    const std::vector<Expected> labels = {
        {"Label2", {32, 8, 89, 17}, QStringLiteral(u"陣形の選択")},
        {"Label1", {144, 40, 65, 17}, QStringLiteral(u"(1～100000)")},
        {"LabelRev", {184, 16, 25, 25}, QStringLiteral(u"32枚")},
        {"LabelMsg", {24, 256, 145, 57}, QString()},
    };
    for (const Expected& e : labels) {
        EXPECT_EQ(Control<QLabel>(e.name)->geometry(), e.geometry) << e.name;
        EXPECT_EQ(Control<QLabel>(e.name)->text(), e.caption) << e.name;
    }
    const std::vector<Expected> buttons = {
        {"OptionQues0", {16, 16, 73, 17}, QStringLiteral(u"ランダム")},
        {"OptionQues1", {16, 40, 73, 17}, QStringLiteral(u"番号指定")},
        {"cmdRandom", {208, 40, 41, 17}, QStringLiteral(u"自動")},
        {"OptionRev0", {16, 16, 49, 17}, QStringLiteral(u"なし")},
        {"OptionRev1", {72, 16, 49, 17}, QStringLiteral(u"全部")},
        {"OptionRev2", {128, 16, 49, 17}, QStringLiteral(u"任意")},
        {"cmdSubmit", {184, 280, 73, 25}, QStringLiteral("OK")},
        {"cmdCancel", {272, 280, 73, 25}, QStringLiteral(u"キャンセル")},
    };
    for (const Expected& e : buttons) {
        EXPECT_EQ(Control<QAbstractButton>(e.name)->geometry(), e.geometry) << e.name;
        EXPECT_EQ(Control<QAbstractButton>(e.name)->text(), e.caption) << e.name;
    }
    EXPECT_EQ(Control<QGroupBox>("Frame1")->geometry(), QRect(24, 136, 265, 65));
    EXPECT_EQ(Control<QGroupBox>("Frame1")->title(), QStringLiteral(u"問題選択"));
    EXPECT_EQ(Control<QGroupBox>("Frame2")->geometry(), QRect(24, 208, 265, 41));
    EXPECT_EQ(Control<QGroupBox>("Frame2")->title(), QStringLiteral(u"裏牌モード"));
    EXPECT_EQ(Control<QListWidget>("File1")->geometry(), QRect(24, 24, 265, 102));
    EXPECT_EQ(Control<QLabel>("picMain")->geometry(), QRect(304, 24, 193, 161));
    EXPECT_EQ(Control<QLineEdit>("txtNumber")->geometry(), QRect(88, 40, 49, 18));
    EXPECT_EQ(Control<QLineEdit>("txtNumber")->parentWidget()->objectName(), QStringLiteral("Frame1"));
    EXPECT_EQ(Control<QScrollBar>("HScrollRev")->geometry(), QRect(216, 16, 33, 17));
    EXPECT_FALSE(Control<QPushButton>("cmdSubmit")->autoDefault());
    EXPECT_FALSE(Control<QPushButton>("cmdCancel")->autoDefault());
}

TEST_F(FormQuesTest, OpeningOnARandomProblemShowsOneAndOkHandsOnZero)
{
    form->LoadQuestionInfo({QStringLiteral("beta.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    EXPECT_EQ(SelectedLayout(), QStringLiteral("beta.tvm"));
    EXPECT_TRUE(Control<QRadioButton>("OptionQues0")->isChecked());
    EXPECT_EQ(Control<QLineEdit>("txtNumber")->text(), QStringLiteral("1"));
    EXPECT_TRUE(Control<QRadioButton>("OptionRev0")->isChecked());
    EXPECT_TRUE(Control<QScrollBar>("HScrollRev")->isHidden());
    EXPECT_TRUE(Control<QLabel>("LabelRev")->text().isEmpty());
    EXPECT_EQ(Control<QLabel>("LabelMsg")->text(), QStringLiteral(u"ベータ"));

    Control<QPushButton>("cmdSubmit")->click();
    EXPECT_EQ(module.calls, (std::vector<std::string>{"StoreQuestionInfo", "StartGame"}));
    const QuestionInfo expected = {QStringLiteral("beta.tvm"), QStringLiteral("0"), QStringLiteral("0"),
                                   QStringLiteral(u"ベータ")};
    EXPECT_EQ(module.stored, expected);
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(FormQuesTest, FaceDownModesOpenAsStoredAndTravelBack)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("77"), QStringLiteral("1"), {}});
    EXPECT_TRUE(Control<QRadioButton>("OptionQues1")->isChecked());
    EXPECT_EQ(Control<QLineEdit>("txtNumber")->text(), QStringLiteral("77"));
    EXPECT_TRUE(Control<QRadioButton>("OptionRev1")->isChecked());
    EXPECT_TRUE(Control<QScrollBar>("HScrollRev")->isHidden());
    EXPECT_TRUE(Control<QLabel>("LabelRev")->text().isEmpty());

    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("77"), QStringLiteral("14"), {}});
    EXPECT_TRUE(Control<QRadioButton>("OptionRev2")->isChecked());
    EXPECT_FALSE(Control<QScrollBar>("HScrollRev")->isHidden());
    EXPECT_EQ(Control<QLabel>("LabelRev")->text(), QStringLiteral(u"14枚"));

    Control<QScrollBar>("HScrollRev")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Control<QLabel>("LabelRev")->text(), QStringLiteral(u"16枚"));
    Control<QPushButton>("cmdSubmit")->click();
    EXPECT_EQ(module.stored[1], QStringLiteral("77"));
    EXPECT_EQ(module.stored[2], QStringLiteral("16"));
}

TEST_F(FormQuesTest, TheCountBarOffersEvenCountsFromTwo)
{
    QScrollBar* bar = Control<QScrollBar>("HScrollRev");
    EXPECT_EQ(bar->value(), 32);
    EXPECT_EQ(bar->minimum(), 2);
    EXPECT_EQ(bar->minimum() % 2, 0);
    EXPECT_EQ(bar->maximum() % 2, 0);
    EXPECT_EQ(bar->singleStep(), 2);
    bar->setSliderPosition(41);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(bar->value() % 2, 0);
    bar->setValue(bar->minimum());
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 2);
}

TEST_F(FormQuesTest, AMissingLayoutLeavesTheFirstFileSelected)
{
    form->LoadQuestionInfo({QStringLiteral("gone.tvm"), QStringLiteral("5"), QStringLiteral("0"), {}});
    EXPECT_EQ(SelectedLayout(), QStringLiteral("alpha.tvm"));
    EXPECT_EQ(Control<QListWidget>("File1")->count(), 3);
    // Names are compared exactly.
    form->LoadQuestionInfo({QStringLiteral("BETA.tvm"), QStringLiteral("5"), QStringLiteral("0"), {}});
    EXPECT_EQ(SelectedLayout(), QStringLiteral("alpha.tvm"));
}

TEST_F(FormQuesTest, ThePreviewDrawsOutlinedTilesUntilAZeroCode)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    const QImage preview = Preview();
    ASSERT_EQ(preview.size(), QSize(193, 161));
    const QRgb background = preview.pixel(190, 158);
    // The first code, 0, is drawn at (3, 3); 0x0821 (row 1, column 1, layer 1) at (6, 8), over it.
    EXPECT_EQ(preview.pixel(3, 3), kOutline);
    EXPECT_EQ(preview.pixel(4, 4), kWhite);
    EXPECT_EQ(preview.pixel(2, 3), background);
    EXPECT_EQ(preview.pixel(6, 8), kOutline);
    EXPECT_EQ(preview.pixel(7, 9), kWhite);
    EXPECT_EQ(preview.pixel(16, 22), kOutline);
    EXPECT_EQ(preview.pixel(17, 22), background);
    EXPECT_EQ(preview.pixel(16, 23), background);
    // The second zero ends the list: 0x0300 (column 24) is not drawn.
    EXPECT_EQ(preview.pixel(123, 3), background);
    EXPECT_NE(background, kWhite);
    EXPECT_NE(background, kOutline);
    EXPECT_EQ(Control<QLabel>("LabelMsg")->text(), QStringLiteral(u"二枚の試し"));

    Control<QListWidget>("File1")->setCurrentRow(1);
    const QImage beta = Preview();
    EXPECT_EQ(beta.pixel(3, 3), background);
    // 0x0002 is row 2: (3, 17); 0x0042 is row 2, column 2: (13, 17).
    EXPECT_EQ(beta.pixel(3, 17), kOutline);
    EXPECT_EQ(beta.pixel(13, 17), kOutline);
    EXPECT_EQ(beta.pixel(12, 18), kWhite);
}

TEST_F(FormQuesTest, AnUnreadableLayoutShowsNothingAndCannotBeStarted)
{
    form->LoadQuestionInfo({QStringLiteral("broken.tvm"), QStringLiteral("3"), QStringLiteral("0"), {}});
    EXPECT_EQ(SelectedLayout(), QStringLiteral("broken.tvm"));
    const QImage preview = Preview();
    EXPECT_EQ(preview.pixel(3, 3), preview.pixel(100, 100));
    EXPECT_EQ(Control<QLabel>("LabelMsg")->text(), QStringLiteral(u"この陣形ファイルは読み込めません。"));
    Control<QPushButton>("cmdSubmit")->click();
    EXPECT_TRUE(module.calls.empty());
    EXPECT_NE(form->result(), QDialog::Accepted);

    Control<QListWidget>("File1")->setCurrentRow(0);
    Control<QPushButton>("cmdSubmit")->click();
    EXPECT_EQ(module.stored[0], QStringLiteral("alpha.tvm"));
}

TEST_F(FormQuesTest, AnEmptyFolderSaysSoAndOkDoesNothing)
{
    const QString empty = FreshTestFolder(QStringLiteral("formques-empty"));
    FormQues emptyForm(module, empty);
    emptyForm.LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    EXPECT_EQ(emptyForm.findChild<QListWidget*>(QStringLiteral("File1"))->count(), 0);
    EXPECT_EQ(emptyForm.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(),
              QStringLiteral(u"陣形ファイルがありません。"));
    emptyForm.findChild<QPushButton*>(QStringLiteral("cmdSubmit"))->click();
    EXPECT_TRUE(module.calls.empty());
}

TEST_F(FormQuesTest, TheNumberBoxRoundsClampsAndRestores)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("0"), QStringLiteral("1")},           {QStringLiteral("-5"), QStringLiteral("1")},
        {QStringLiteral("100001"), QStringLiteral("100000")}, {QStringLiteral("1e6"), QStringLiteral("100000")},
        {QStringLiteral("12.5"), QStringLiteral("12")},       {QStringLiteral("13.5"), QStringLiteral("14")},
        {QStringLiteral(" 250 "), QStringLiteral("250")},     {QStringLiteral("abc"), QStringLiteral("250")},
        {QStringLiteral("1e30"), QStringLiteral("100000")},   {QString(), QStringLiteral("100000")},
    };
    for (const auto& [typed, shown] : cases) {
        LeaveNumberBoxWith(typed);
        EXPECT_EQ(Control<QLineEdit>("txtNumber")->text(), shown) << typed.toStdString();
    }
    // Entering the box chose a numbered problem.
    EXPECT_TRUE(Control<QRadioButton>("OptionQues1")->isChecked());
    EXPECT_EQ(FormQues::NormalizedProblemNumber(QStringLiteral("nan"), 7), 7);
    EXPECT_EQ(FormQues::NormalizedProblemNumber(QStringLiteral("-1e30"), 7), 1);
}

TEST_F(FormQuesTest, OkNormalisesTheTypedNumberFirst)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("9"), QStringLiteral("0"), {}});
    Control<QLineEdit>("txtNumber")->setText(QStringLiteral("4.5"));
    Control<QPushButton>("cmdSubmit")->click();
    EXPECT_EQ(module.stored[1], QStringLiteral("4"));
}

TEST_F(FormQuesTest, AutomaticNumbersStayInRangeAndDoNotBecomeTheRestoredNumber)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    QPushButton* automatic = Control<QPushButton>("cmdRandom");
    QLineEdit* box = Control<QLineEdit>("txtNumber");
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        automatic->click();
        const int number = box->text().toInt();
        ASSERT_GE(number, 1);
        ASSERT_LE(number, 100000);
        seen.insert(number);
    }
    EXPECT_GT(seen.size(), 400u);
    EXPECT_TRUE(Control<QRadioButton>("OptionQues1")->isChecked());

    // The last valid number is still the one from opening (1 for a random problem).
    LeaveNumberBoxWith(QStringLiteral("x"));
    EXPECT_EQ(box->text(), QStringLiteral("1"));
}

TEST_F(FormQuesTest, CancelAndEscapeChangeNothing)
{
    form->LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    form->show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &escape);
    EXPECT_TRUE(form->isVisible());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(form->isVisible());

    Control<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(module.calls.empty());
}

TEST_F(FormQuesTest, AFailedStartIsReportedAndTheDialogStaysOpen)
{
    struct FailingModule : FakeModule {
        void StartGame() override { throw std::runtime_error("layout rejected"); }
    } failing;
    FormQues failingForm(failing, folder);
    failingForm.LoadQuestionInfo({QStringLiteral("alpha.tvm"), QStringLiteral("0"), QStringLiteral("0"), {}});
    failingForm.findChild<QPushButton*>(QStringLiteral("cmdSubmit"))->click();
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_NE(messages.requests[0].text.find("layout rejected"), std::string::npos);
    EXPECT_EQ(messages.requests[0].icon, MessageIcon::Warning);
    EXPECT_NE(failingForm.result(), QDialog::Accepted);
}

} // namespace
