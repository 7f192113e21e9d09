#pragma once

#include "FileConv.h"
#include "QuestionInfo.h"

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <cstdint>

class ModuleCommands;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The game-selection dialog: a layout file from the layout folder with its
// outline preview and message, a problem (random or by number) and the
// face-down mode. OK hands the choice to the shell and starts the game.
class FormQues : public QDialog {
    Q_OBJECT

public:
    static constexpr int32_t PROBLEM_MIN = 1;
    static constexpr int32_t PROBLEM_MAX = 100000;
    // Face-down counts offered: even, from 2 (0 and 1 mean the other modes)
    // up to a board's full 512 slots.
    static constexpr int REVERSE_MIN = 2;
    static constexpr int REVERSE_MAX = FileConv::kMaxPositions;
    static constexpr int REVERSE_STEP = 2;
    static constexpr int REVERSE_INITIAL = 32;

    // layoutFolders: where the layouts lie, in order of precedence (a file in
    // an earlier folder hides one of the same name in a later one).
    FormQues(ModuleCommands& module, const QStringList& layoutFolders, QWidget* owner = nullptr);
    // The layouts of one folder.
    FormQues(ModuleCommands& module, const QString& layoutFolder, QWidget* owner = nullptr)
        : FormQues(module, QStringList{layoutFolder}, owner)
    {
    }

    void LoadQuestionInfo(const QuestionInfo& info);

    // The message of the layout in file fileName up to its first NUL (the
    // writer pads it with zeros), in the player's language.
    static QString LayoutMessage(const FileConv& layout, const QString& fileName);

    // The number the box shows after leaving it: text rounded (halves to
    // even) and clamped to the problem range, or lastValid when the text is
    // not a number.
    static int32_t NormalizedProblemNumber(const QString& text, int32_t lastValid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreateProblemFrame();
    void CreateReverseFrame();
    void ConnectControls();

    void FillFileList();
    void DrawLayoutPreview(const QString& fileName);
    void ShowPreviewMessage(const QString& text);
    void ClearPreview();
    void OnLayoutSelected();
    void OnReverseOption(int index);
    void UpdateReverseLabel();
    static QString CountText(int count);
    void SnapReverseToEven(int action);
    void NormalizeNumberBox();
    void OnRandom();
    void OnSubmit();
    void OnEdit(bool newLayout);
    void ShowSavedLayout(const QString& fileName);
    QuestionInfo BuildQuestionInfo() const;

    ModuleCommands& module_;
    QStringList layoutFolders_;
    int32_t lastValidNumber_ = PROBLEM_MIN;
    bool layoutReadable_ = false;
    QImage preview_;

    QListWidget* File1_ = nullptr;
    QLabel* picMain_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QRadioButton* OptionQues_[2] = {};
    QLineEdit* txtNumber_ = nullptr;
    QPushButton* cmdRandom_ = nullptr;
    QGroupBox* Frame2_ = nullptr;
    QRadioButton* OptionRev_[3] = {};
    QLabel* LabelRev_ = nullptr;
    QScrollBar* HScrollRev_ = nullptr;
    QLabel* LabelMsg_ = nullptr;
    QPushButton* cmdSubmit_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdEdit_ = nullptr;
    QPushButton* cmdNew_ = nullptr;
};
