#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The tile sheet: faces of 37 × 51 in rows of ten, and below them the 43 × 57
// frame cells, one per display mode.
constexpr int kFaceWidth = 37;
constexpr int kFaceHeight = 51;
constexpr int kFacesPerRow = 10;
constexpr int kFrameTop = 306;
constexpr int kFrameWidth = 43;
constexpr int kFrameHeight = 57;
constexpr QRgb kKey = 0xFF00FF;
constexpr int kFrameNormal = 1;
constexpr int kFrameSelected = 3;
constexpr int kFrameHint = 4;
constexpr int kFrameFaceDown = 0;
constexpr int kLayerShift = 6;

QImage Keyed(const QImage& sheet)
{
    QImage keyed = sheet.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if ((line[x] & 0xFFFFFF) == kKey)
                line[x] = 0;
    }
    return keyed;
}

QLabel* Paragraph(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    return label;
}

QLabel* Picture(const QImage& image)
{
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(image));
    return label;
}

QString KeyTableHtml(const std::vector<HelpWindow::KeyRow>& keys)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const HelpWindow::KeyRow& row : keys)
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(row.keys.toHtmlEscaped(), row.action.toHtmlEscaped());
    return html + QStringLiteral("</table>");
}

} // namespace

QImage HelpWindow::DrawTiles(const QImage& tileSheet, const std::vector<TileDrawing>& tiles)
{
    const QImage sheet = Keyed(tileSheet);
    int width = 0;
    int height = 0;
    for (const TileDrawing& tile : tiles) {
        width = std::max(width, tile.x + kFrameWidth);
        height = std::max(height, tile.y + kFrameHeight);
    }
    QImage picture(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    for (const TileDrawing& tile : tiles) {
        painter.drawImage(QPoint(tile.x, tile.y), sheet,
                          QRect(kFrameWidth * tile.frame, kFrameTop, kFrameWidth, kFrameHeight));
        if (tile.face >= 0)
            painter.drawImage(QPoint(tile.x, tile.y), sheet,
                              QRect(tile.face % kFacesPerRow * kFaceWidth, tile.face / kFacesPerRow * kFaceHeight,
                                    kFaceWidth, kFaceHeight));
    }
    return picture;
}

HelpWindow::HelpWindow(const QImage& tileSheet, const std::vector<KeyRow>& keys, QWidget* owner) : QDialog(owner)
{
    setWindowTitle(tr("遊び方"));
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    const int step = kFrameWidth - 6;
    column->addWidget(Paragraph(tr("<b>目的</b>　同じ組の自由な牌をそろえて取り、盤面の牌をすべて片付けます。")));
    column->addWidget(Paragraph(
        tr("<b>自由な牌と取れない牌</b>　上に牌が載っておらず、左右の少なくとも一方が空いている牌は自由です。左右ともふさがった牌や、上に牌が載った牌は取れません。下の絵では、印の付いた牌が自由です。")));
    column->addWidget(Picture(DrawTiles(tileSheet, {{1, kFrameHint, 0, kLayerShift},
                                                     {5, kFrameNormal, step, kLayerShift},
                                                     {9, kFrameHint, 2 * step, kLayerShift},
                                                     {12, kFrameNormal, 4 * step, kLayerShift},
                                                     {20, kFrameHint, 4 * step - kLayerShift, 0}})));
    column->addWidget(Paragraph(
        tr("<b>組</b>　一組の枚数は陣形で決まり、2枚、3枚または4枚です。同じ組の牌を選んでいき、最後の一枚で組が取れます。選んだ牌をもう一度押すと選択をやめます。")));
    column->addWidget(Picture(DrawTiles(tileSheet, {{3, kFrameSelected, 0, 0}, {3, kFrameSelected, step, 0}})));
    column->addWidget(Paragraph(
        tr("<b>裏牌モード</b>　「全部」では牌は選ぶまで裏向き、「任意」では指定した枚数の牌が自由になるまで裏向きです。")));
    column->addWidget(Picture(DrawTiles(tileSheet, {{-1, kFrameFaceDown, 0, 0}, {7, kFrameNormal, step, 0}})));
    column->addWidget(Paragraph(
        tr("<b>ヒントと自動ヒント</b>　ヒントを押すと取れる牌に印が付きます。メニューの自動ヒントを入れると、印がいつも付き、解けなくなった手をすぐに知らせます。")));
    column->addWidget(Paragraph(
        tr("<b>ゲームの終わり</b>　取れる組がなくなると手詰まりの知らせが出て、解ける局面まで戻す、一手戻す、混ぜ直す、やり直し、新しいゲームを選べます。混ぜ直すと残りの牌の絵柄が解ける並びに入れ替わります（最短記録には残りません）。すべて取るとクリアの知らせに時間と記録が出ます。")));
    column->addWidget(Paragraph(tr("<b>キー操作</b>") + KeyTableHtml(keys)));
    column->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(tr("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(520, 560);
}
