#include "look.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QProxyStyle>
#include <QRect>
#include <QResource>
#include <QStringList>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>

const char *const gameFaceFamily = "Hoshifuru2 Konatu";

namespace {

// The layout was authored for faces whose 12-pixel glyphs are as wide as
// Konatu's; subsets of Konatu (proportional) and Konatu Tohaba (fixed pitch)
// are embedded, uncompressed, and handed to the font database in place.
void registerEmbeddedFaces() {
    for (const char *path : {":/fonts/konatu.ttf", ":/fonts/konatu-tohaba.ttf"}) {
        const QResource resource(QString::fromLatin1(path));
        if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
            continue;
        QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
            reinterpret_cast<const char *>(resource.data()), qsizetype(resource.size())));
    }
}

// Qt's Windows style, with the game's bold in every text it draws for a
// label or a push button.
class GameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                      bool enabled, const QString &text,
                      QPalette::ColorRole textRole) const override {
        const int strikes = boldStrikes(painter->font());
        for (int x = 0; x <= strikes; ++x)
            QProxyStyle::drawItemText(painter, rect.translated(x, 0), flags, palette, enabled, text,
                                      textRole);
    }
};

} // namespace

void setStruckBold(QFont &font) {
    font.setBold(false);
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::max(1, qRound(font.pixelSize() / 24.0)));
}

int boldStrikes(const QFont &font) {
    if (font.letterSpacingType() != QFont::AbsoluteSpacing)
        return 0;
    return std::max(0, qRound(font.letterSpacing()));
}

void drawGameText(QPainter &painter, const QRect &rect, int flags, const QString &text) {
    const int strikes = boldStrikes(painter.font());
    for (int x = 0; x <= strikes; ++x)
        painter.drawText(rect.translated(x, 0), flags, text);
}

void installLook() {
    registerEmbeddedFaces();
    // A character the embedded faces lack (a typed name may hold any) is
    // drawn by the machine's own Japanese faces.
    const QStringList systemFallbacks = {
        QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("VL PGothic"), QStringLiteral("Droid Sans Fallback")};
    const QString face = QString::fromLatin1(gameFaceFamily);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               QStringList{face} + systemFallbacks);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               QStringList{QStringLiteral("Hoshifuru2 Konatu Tohaba"), face} +
                                   systemFallbacks);
    // The dialog face of non-Japanese desktops, with the game's face for
    // the Japanese texts.
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), face} +
            systemFallbacks);

    // Panels and bitmap buttons are drawn with square bevels in the desktop
    // colours; Qt's Windows style draws push buttons, lists, memos and the
    // drop-down list the same way, from the same palette.
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Windows"))) {
        auto *gameStyle = new GameStyle(style);
        QApplication::setStyle(gameStyle);
        QApplication::setPalette(gameStyle->standardPalette());
    }
}
