#include "look.h"

#include "style.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QResource>
#include <QStringList>

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

// The layout counts in pixels at 96 per inch, and so do the game's faces;
// a denser display is met with a device pixel ratio, never with larger
// metrics. Qt must be told before the application object exists, so this
// runs when the program is loaded: a desktop that raises only its font
// density (Xft.dpi, QT_FONT_DPI) with scaling turned off then leaves the
// style's metrics (the drop-down list's button, for one) and the fonts
// given in points as they are at 96 DPI.
[[maybe_unused]] const bool layoutDensityAssumed = [] {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    return true;
}();

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
    // colours; the game's style draws push buttons, lists, memos and the
    // drop-down list the same way, from the same palette, whatever the
    // desktop's theme.
    auto *style = new GameStyle;
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
}
