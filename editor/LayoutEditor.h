#pragma once

#include "LayoutDraft.h"

#include <QFutureWatcher>
#include <QString>
#include <QWidget>

class EditorBoard;
class QComboBox;
class QLabel;
class QPlainTextEdit;

// The layout editor's window: the board to place tiles on, the level, the set
// size, the message with a preview as the side bar shows it, and a status line
// with the live checks. Whether problems 1-20 deal is worked out on a pool
// thread and posted back, so the window never waits. Ctrl+S saves through the
// layout writer; shipped layouts are saved as copies in the player's folder.
class LayoutEditor : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFirstProblem = 1;
    static constexpr int kLastProblem = 20;

    struct Folders {
        QString shipped;  // never written
        QString player;   // new layouts and copies go here
    };

    // path: the layout to edit; empty, or a file not there yet, starts a new one.
    LayoutEditor(const Folders& folders, const QString& path, QWidget* owner = nullptr);
    ~LayoutEditor() override;

    // Saves now, or as soon as the running check tells whether the layout deals.
    void Save();
    // For tests: lets the running check finish and its result arrive.
    void WaitForChecks();

    const LayoutDraft& Draft() const { return draft_; }
    EditorBoard& Board() { return *board_; }
    QString Status() const;
    QString SavedPath() const { return path_; }
    bool Modified() const { return modified_; }
    void SetMessageText(const QString& text);
    void SetSetSize(int setSize);

signals:
    // After a save: the file name without its folder.
    void Saved(const QString& fileName);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Load(const QString& path);
    void CreateControls();
    void CreateShortcuts();
    void OnPlace(const LayoutDraft::Tile& tile);
    void OnRemove(const LayoutDraft::Tile& tile);
    void StepLevel(int step);
    void Changed();
    void ShowRefusal(LayoutDraft::Verdict verdict);
    void LimitMessage();
    void DrawPreview();
    std::u16string MessageText() const;
    void StartCheck();
    void OnCheckDone();
    void FinishSave();
    QString SaveTarget() const;
    void UpdateTitle();

    Folders folders_;
    QString path_;
    LayoutDraft draft_;
    bool modified_ = false;
    QString notice_;
    QString pendingMessage_;  // the loaded message, until the text box exists

    EditorBoard* board_ = nullptr;
    QLabel* levelLabel_ = nullptr;
    QComboBox* setSizeBox_ = nullptr;
    QPlainTextEdit* messageBox_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* statusLine_ = nullptr;

    QFutureWatcher<int> checker_;
    unsigned checkedGeneration_ = 0;
    unsigned generation_ = 1;
    unsigned runningGeneration_ = 0;
    int dealt_ = -1;
    bool saveWaiting_ = false;
};

