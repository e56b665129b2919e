#include "fonts.h"

#include <QFont>
#include <QStringList>

void registerFontSubstitutes() {
    const QStringList japaneseFallbacks = {QStringLiteral("Noto Sans CJK JP"),
                                           QStringLiteral("VL PGothic"),
                                           QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ Ｐゴシック"),
        QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")} + japaneseFallbacks);
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ ゴシック"),
        QStringList{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")} + japaneseFallbacks);
    // The dialog face of non-Japanese desktops, with Japanese for the texts.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("DejaVu Sans"),
                                           QStringLiteral("Liberation Sans"),
                                           QStringLiteral("IPAPGothic")} +
                                   japaneseFallbacks);
}
