#include "ShortcutTable.h"

#include <QCoreApplication>

#include <array>

namespace {

struct Binding {
    int key;
    Qt::KeyboardModifiers modifiers;
    ShortcutTable::Command command;
};

using Command = ShortcutTable::Command;

constexpr Qt::KeyboardModifiers kPlain{};
constexpr Qt::KeyboardModifiers kCtrl{Qt::ControlModifier};
constexpr Qt::KeyboardModifiers kCtrlShift{Qt::ControlModifier | Qt::ShiftModifier};

const std::array<Binding, 13> kBindings{{
    {Qt::Key_N, kCtrl, Command::NewGame},
    {Qt::Key_Z, kCtrl, Command::TakeBack},
    {Qt::Key_Z, kCtrlShift, Command::Redo},
    {Qt::Key_Y, kCtrl, Command::Redo},
    {Qt::Key_F5, kPlain, Command::Restart},
    {Qt::Key_R, kCtrl, Command::Restart},
    {Qt::Key_S, kCtrl, Command::Save},
    {Qt::Key_O, kCtrl, Command::Load},
    {Qt::Key_P, kPlain, Command::Pause},
    {Qt::Key_Pause, kPlain, Command::Pause},
    {Qt::Key_F1, kPlain, Command::Help},
    {Qt::Key_F6, kPlain, Command::Shuffle},
    {Qt::Key_Q, kCtrl, Command::Quit},
}};

QString Tr(const char* text)
{
    return QCoreApplication::translate("ShortcutTable", text);
}

} // namespace

std::optional<ShortcutTable::Command> ShortcutTable::Find(int qtKey, Qt::KeyboardModifiers modifiers)
{
    // The keypad flag says where a key lies, not how it was pressed.
    const Qt::KeyboardModifiers pressed = modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    for (const Binding& binding : kBindings)
        if (binding.key == qtKey && binding.modifiers == pressed)
            return binding.command;
    return std::nullopt;
}

bool ShortcutTable::IsModifier(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: return true;
    default: return false;
    }
}

std::vector<ShortcutTable::Row> ShortcutTable::KeyTable()
{
    return {
        {Tr(QT_TRANSLATE_NOOP("ShortcutTable", "矢印")), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "カーソルを動かす"))},
        {Tr(QT_TRANSLATE_NOOP("ShortcutTable", "Enter, X, 左ボタン")), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "カーソルの下の牌を取る、ボタンを押す"))},
        {Tr(QT_TRANSLATE_NOOP("ShortcutTable", "Esc, Z, 右ボタン")), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "選択をやめる"))},
        {QStringLiteral("H"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "ヒント"))},
        {Tr(QT_TRANSLATE_NOOP("ShortcutTable", "Backspace, Ctrl+Z")), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "一手戻す"))},
        {QStringLiteral("Ctrl+Shift+Z, Ctrl+Y"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "戻した手をやり直す"))},
        {QStringLiteral("Q"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "メニュー"))},
        {QStringLiteral("Ctrl+N"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "新しいゲーム"))},
        {QStringLiteral("F5, Ctrl+R"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "最初からやり直す"))},
        {QStringLiteral("Ctrl+S, Ctrl+O"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "セーブ、ロード"))},
        {Tr(QT_TRANSLATE_NOOP("ShortcutTable", "P, Pause")), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "一時停止"))},
        {QStringLiteral("F6"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "混ぜ直す"))},
        {QStringLiteral("F1"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "遊び方"))},
        {QStringLiteral("F11"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "全画面表示の切り替え"))},
        {QStringLiteral("Ctrl+Q"), Tr(QT_TRANSLATE_NOOP("ShortcutTable", "終了"))},
    };
}
