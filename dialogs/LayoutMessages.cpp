#include "LayoutMessages.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {

struct ShippedMessage {
    const char* text;
    const char* fileName;
};

// The messages of the layouts in data/template, as their files hold them.
constexpr ShippedMessage kShippedMessages[] = {
    QT_TRANSLATE_NOOP3("LayoutMessage", "はじめての方に\r\n向いた小さな配置\r\nです。７２枚", "beginner.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "大河に架かる橋です。\r\n橋桁の下の柱に\r\n気をつけて", "bridge.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "羽を広げた蝶です。\r\n胴の高い牌が\r\n鍵になります", "butterfly.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "伝統的な配置です。\r\n１４４枚", "classic.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "十字に組んだ配置。\r\n四方の腕から\r\n中央へ進みましょう", "cross.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "城壁と四つの塔に\r\n守られた要塞です。\r\n塔の上から\r\n攻めましょう", "fortress.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "季節と花の牌が\r\n咲きそろう花園です", "garden.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "盤面いっぱいに\r\n三百枚余りを並べた\r\n大きな配置です", "large.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "四段に積み上げた\r\nピラミッドです。\r\n頂上から崩して\r\nいきましょう", "pyramid.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "同じ牌を四枚\r\nそろえて取る\r\n五つの島です", "quartet.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "外から内へ\r\n渦を巻いて高くなる\r\n配置です", "spiral.tvm"),
    QT_TRANSLATE_NOOP3("LayoutMessage", "同じ牌を三枚ずつ\r\n取る三つ山です", "trio.tvm"),
};

} // namespace

QString TranslatedLayoutMessage(const QString& fileName, const QString& ownMessage)
{
    const auto shipped = std::find_if(std::begin(kShippedMessages), std::end(kShippedMessages),
                                      [&](const ShippedMessage& message) {
                                          return fileName == QLatin1String(message.fileName) &&
                                                 ownMessage == QString::fromUtf8(message.text);
                                      });
    if (shipped == std::end(kShippedMessages))
        return ownMessage;
    return QCoreApplication::translate("LayoutMessage", shipped->text, shipped->fileName);
}
