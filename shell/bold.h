// The game's bold, drawn by the game itself rather than synthesised by Qt.
#pragma once

class QFont;
class QPainter;
class QRect;
class QString;

// The game's bold: its regular face struck again one pixel to the right,
// and at large sizes once more per 24 pixels of size, with every character
// as much wider, as desktops of the layout's time drew faces that have no
// bold of their own. Qt's own synthetic bold differs between Qt releases (in
// glyph shapes and widths); this one is the same on every release, and its
// widths are the ones the layout was authored with. The extra width is the
// font's letter spacing, which is also how painting knows how often to
// strike. Call after the font's pixel size is set.
void setStruckBold(QFont &font);
// How many pixels to the right the text is struck again: 0 for other fonts.
int boldStrikes(const QFont &font);

// Draws text as QPainter::drawText does, struck again in the game's bold.
void drawGameText(QPainter &painter, const QRect &rect, int flags, const QString &text);
