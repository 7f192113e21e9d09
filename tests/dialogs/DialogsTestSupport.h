#pragma once

#include "MessageBox.h"
#include "ModuleCommands.h"

#include <QApplication>
#include <QDir>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A fresh, empty folder below the build's test folder, of this test alone:
// CTest runs the test cases side by side.
inline QString FreshTestFolder(const QString& name)
{
    const QString test = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
    QDir folder(QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/dialogs/") + test + u'-' + name);
    folder.removeRecursively();
    QDir().mkpath(folder.path());
    return folder.path();
}

// Qt puts the application name in the title bar of a window whose title is
// empty; a title of spaces alone shows no text.
inline bool BlankTitle(const QWidget& window)
{
    const QString title = window.windowTitle();
    return !title.isEmpty() && title.trimmed().isEmpty();
}

// Records what the dialogs ask of the shell and answers with set results.
class FakeModule : public ModuleCommands {
public:
    void StoreQuestionInfo(const QuestionInfo& info) override
    {
        calls.push_back("StoreQuestionInfo");
        stored = info;
    }
    void StartGame() override { calls.push_back("StartGame"); }
    bool PanelCommand(int code) override
    {
        calls.push_back("PanelCommand " + std::to_string(code));
        if (onPanelCommand)
            onPanelCommand(code);
        return code == PANEL_RESTART ? restartResult : code == PANEL_SAVE ? saveResult : false;
    }
    void ChooseWallpaper() override { calls.push_back("ChooseWallpaper"); }
    void EditLayout(const QString& layoutName, std::function<void(const QString&)> saved) override
    {
        calls.push_back("EditLayout " + layoutName.toStdString());
        editSaved = std::move(saved);
    }

    std::vector<std::string> calls;
    QuestionInfo stored;
    bool restartResult = true;
    bool saveResult = true;
    std::function<void(int)> onPanelCommand;
    std::function<void(const QString&)> editSaved;
};

// Answers every message box from a list (then Yes to questions, OK to the
// rest) and records what was asked.
class MessageRecorder {
public:
    MessageRecorder()
        : previous_(SetMessageHandler([this](const MessageRequest& request) {
              requests.push_back(request);
              if (answers.empty())
                  return request.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
              const MessageResult answer = answers.front();
              answers.erase(answers.begin());
              return answer;
          }))
    {
    }
    ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> requests;
    std::vector<MessageResult> answers;

private:
    MessageHandler previous_;
};
