// The game's widget style: Qt's Windows style, with every bevel and frame
// drawn as rings of whole layout pixels, the way the scene panels draw
// theirs, and one palette that no desktop theme changes.
#pragma once

#include <QProxyStyle>

class QPainter;

// One-pixel rings drawn inward from the rectangle's edge, each a layout
// pixel wide however dense the display: on a display twice as dense a ring
// covers two device pixels, and at fractional densities the rings still
// meet, with nothing of what lies beneath showing between them.
void drawRings(QPainter &painter, QRect &rect, int count, const QColor &topLeft,
               const QColor &bottomRight);

class GameStyle : public QProxyStyle {
    Q_OBJECT
public:
    GameStyle();
    // Every colour role of every colour group, so that nothing is left for
    // the desktop's theme to fill in.
    QPalette standardPalette() const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;
    // A list's focused entry: its dotted frame on the entry's bounds, as
    // the Windows style draws it, but beneath the text, so that a row as
    // tall as the face's ink keeps every glyph whole.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    // Labels' and push buttons' texts, in the game's bold where their font
    // asks for it.
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                      bool enabled, const QString &text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;

private:
    // Lets the Windows style draw the element at one device pixel per
    // layout pixel and enlarges that by whole pixels, as the pictures are.
    void drawAtLayoutPixels(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const;
};
