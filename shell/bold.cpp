#include "bold.h"

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <algorithm>

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
