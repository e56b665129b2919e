#include "look.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <QStyle>
#include <QStyleFactory>

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

} // namespace

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
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
}
