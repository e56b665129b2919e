#include "style.h"

#include "bold.h"

#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

void drawRings(QPainter &painter, QRect &rect, int count, const QColor &topLeft,
               const QColor &bottomRight) {
    for (int i = 0; i < count && rect.width() > 0 && rect.height() > 0; ++i) {
        const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
        painter.fillRect(QRect(l, t, rect.width(), 1), topLeft);
        painter.fillRect(QRect(l, t, 1, rect.height()), topLeft);
        painter.fillRect(QRect(l, b, rect.width(), 1), bottomRight);
        painter.fillRect(QRect(r, t, 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

namespace {

// The two rings of a classic bevel, outer then inner, each with the colour
// of its top and left edges and that of its bottom and right edges.
struct Bevel {
    QColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
};

void drawBevel(QPainter &painter, QRect rect, const Bevel &bevel, const QBrush *fill = nullptr) {
    drawRings(painter, rect, 1, bevel.outerTopLeft, bevel.outerBottomRight);
    drawRings(painter, rect, 1, bevel.innerTopLeft, bevel.innerBottomRight);
    if (fill && rect.isValid())
        painter.fillRect(rect, *fill);
}

// A sunken field: a list, a memo, the drop-down list's field, a text field.
Bevel sunkenField(const QPalette &palette, const QColor &innerBottomRight) {
    return {palette.dark().color(), palette.light().color(), palette.shadow().color(),
            innerBottomRight};
}

// A button's face, raised or pressed in.
Bevel buttonFace(const QPalette &palette, bool sunken) {
    if (sunken)
        return {palette.shadow().color(), palette.light().color(), palette.dark().color(),
                palette.button().color()};
    return {palette.light().color(), palette.shadow().color(), palette.button().color(),
            palette.dark().color()};
}

// A transparent layer over a rectangle of what a painter paints on, device
// pixel for device pixel at any scale: painted into as the device itself
// would be, and put back over it unscaled.
class DeviceLayer {
public:
    template <typename Paint>
    DeviceLayer(const QPainter &target, const QRect &rect, Paint paint)
        : m_area(target.deviceTransform().mapRect(QRectF(rect)).toAlignedRect()),
          m_image(m_area.size(), QImage::Format_ARGB32_Premultiplied) {
        m_image.fill(Qt::transparent);
        QPainter layer(&m_image);
        layer.setTransform(target.deviceTransform() *
                           QTransform::fromTranslate(-m_area.left(), -m_area.top()));
        layer.setFont(target.font());
        paint(layer);
    }

    // Clears every pixel that OTHER, a layer over the same rectangle,
    // paints.
    void clearWhere(const DeviceLayer &other) {
        for (int y = 0; y < m_image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
            const auto *otherLine = reinterpret_cast<const QRgb *>(other.m_image.constScanLine(y));
            for (int x = 0; x < m_image.width(); ++x)
                if (qAlpha(otherLine[x]) != 0)
                    line[x] = 0;
        }
    }

    void drawOver(QPainter &target) const {
        target.save();
        // In device pixels: the device's own scaling is undone along with
        // the painter's transform.
        target.setWorldTransform(QTransform::fromTranslate(m_area.left(), m_area.top()) *
                                 target.deviceTransform().inverted() * target.worldTransform());
        target.setRenderHint(QPainter::SmoothPixmapTransform, false);
        target.drawImage(QPoint(0, 0), m_image);
        target.restore();
    }

private:
    QRect m_area;
    QImage m_image;
};

} // namespace

GameStyle::GameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

QPalette GameStyle::standardPalette() const {
    QPalette palette = baseStyle()->standardPalette();
    // The roles the Windows style leaves open, as Qt itself fills them when
    // no desktop theme speaks: selections blue with white text.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(48, 140, 198));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::All, QPalette::Link, Qt::blue);
    palette.setColor(QPalette::All, QPalette::LinkVisited, Qt::magenta);
    palette.setColor(QPalette::All, QPalette::PlaceholderText, QColor(0, 0, 0, 128));
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Accent, palette.color(group, QPalette::Highlight));
#endif
    // Every role of every group is now the game's own.
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            if (role != QPalette::NoRole)
                palette.setBrush(
                    QPalette::ColorGroup(group), QPalette::ColorRole(role),
                    palette.brush(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
    return palette;
}

void GameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const {
    const QPalette &palette = option->palette;
    const QRect rect = option->rect;
    switch (element) {
    case PE_Frame:
    case PE_FrameMenu:
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            if (frame->lineWidth != 2 && element != PE_Frame)
                break;
            if (element == PE_Frame && (frame->state & State_Raised)) {
                drawBevel(*painter, rect, buttonFace(palette, frame->state & State_Sunken));
            } else if (frame->state & State_Sunken) {
                // The inner ring's lit edges take the field's own colour.
                drawBevel(*painter, rect,
                          sunkenField(palette, element == PE_Frame ? palette.window().color()
                                                                   : palette.light().color()));
            } else {
                const QColor light =
                    element == PE_FrameMenu ? palette.window().color() : palette.light().color();
                const QColor midlight =
                    element == PE_FrameMenu ? palette.light().color() : palette.midlight().color();
                drawBevel(*painter, rect,
                          {light, palette.shadow().color(), midlight, palette.dark().color()});
            }
            return;
        }
        break;
    case PE_FrameButtonBevel:
    case PE_PanelButtonBevel: {
        const bool panel = element == PE_PanelButtonBevel;
        const bool on = option->state & State_On;
        if (!(option->state & (State_Raised | State_Sunken)) && !on)
            break;
        QBrush fill = palette.button();
        if (!(option->state & State_Sunken) && on) {
            drawAtLayoutPixels(element, option, painter, widget);
            return;
        }
        drawBevel(*painter, rect, buttonFace(palette, option->state & (State_Sunken | State_On)),
                  panel ? &fill : nullptr);
        return;
    }
    case PE_PanelButtonCommand:
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            const State state = option->state;
            if (!(state & State_Sunken) && (state & State_On))
                break; // a checked push button: none in the game
            QBrush fill = palette.button();
            if ((button->features & QStyleOptionButton::DefaultButton) && (state & State_Sunken)) {
                QRect face = rect;
                drawRings(*painter, face, 1, palette.dark().color(), palette.dark().color());
                painter->fillRect(face, fill);
            } else if (state & (State_Raised | State_On | State_Sunken)) {
                drawBevel(*painter, rect, buttonFace(palette, state & (State_Sunken | State_On)),
                          &fill);
            } else {
                painter->fillRect(rect, fill);
            }
            return;
        }
        break;
    case PE_FrameDefaultButton: {
        QRect ring = rect;
        drawRings(*painter, ring, 1, palette.shadow().color(), palette.shadow().color());
        return;
    }
    case PE_FrameFocusRect:
    case PE_IndicatorArrowUp:
    case PE_IndicatorArrowDown:
    case PE_IndicatorArrowLeft:
    case PE_IndicatorArrowRight:
        drawAtLayoutPixels(element, option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void GameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                   QPainter *painter, const QWidget *widget) const {
    const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    if (control != CC_ComboBox || !combo) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QPalette &palette = combo->palette;
    if (combo->subControls & SC_ComboBoxFrame) {
        const QBrush field = palette.base();
        if (combo->frame)
            drawBevel(*painter, combo->rect, sunkenField(palette, palette.button().color()),
                      &field);
        else
            painter->fillRect(combo->rect, field);
    }
    if (combo->subControls & SC_ComboBoxArrow) {
        QRect arrow = proxy()->subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
        const bool pressed =
            combo->activeSubControls == SC_ComboBoxArrow && (combo->state & State_Sunken);
        const QBrush face = palette.button();
        if (pressed) {
            QRect inside = arrow;
            drawRings(*painter, inside, 1, palette.dark().color(), palette.dark().color());
            painter->fillRect(inside, face);
        } else {
            // The button's outer top-left ring in the face colour, its inner
            // one lit.
            drawBevel(*painter, arrow,
                      {palette.button().color(), palette.shadow().color(), palette.light().color(),
                       palette.dark().color()},
                      &face);
        }
        QStyleOption glyph = *combo;
        glyph.rect = arrow.adjusted(3, 3, -3, -3);
        glyph.state = combo->state & (State_Enabled | State_HasFocus);
        if (pressed)
            glyph.state |= State_Sunken;
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &glyph, painter, widget);
    }
    // The field itself, as the Windows style draws it.
    QStyleOptionComboBox rest = *combo;
    rest.subControls &= ~(SC_ComboBoxFrame | SC_ComboBoxArrow);
    if (rest.subControls)
        QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

void GameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const {
    const auto *entry = qstyleoption_cast<const QStyleOptionViewItem *>(option);
    if (element != CE_ItemViewItem || !entry || !(entry->state & State_HasFocus)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The entry as it is without the focus: background and text.
    QStyleOptionViewItem unfocused = *entry;
    unfocused.state &= ~State_HasFocus;
    QProxyStyle::drawControl(element, &unfocused, painter, widget);

    // The dotted frame the Windows style draws on the entry's bounds, with
    // the same options, in a layer of its own. Rows are as tall as the
    // face (12 pixels for 12-pixel text), so the frame's top and bottom
    // rows meet the ink of tall glyphs: the frame leaves out every device
    // pixel the text touches, and each glyph stays whole.
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(*entry);
    focus.rect = proxy()->subElementRect(SE_ItemViewItemFocusRect, entry, widget);
    focus.state |= State_KeyboardFocusChange | State_Item;
    const QPalette::ColorGroup group =
        entry->state & State_Enabled ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor = entry->palette.color(
        group, entry->state & State_Selected ? QPalette::Highlight : QPalette::Window);
    DeviceLayer frame(*painter, entry->rect, [&](QPainter &layer) {
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, &layer, widget);
    });
    // The text alone: no background, the selection's colour transparent.
    QStyleOptionViewItem text = unfocused;
    text.backgroundBrush = Qt::NoBrush;
    text.palette.setBrush(QPalette::Highlight, Qt::transparent);
    const DeviceLayer ink(*painter, entry->rect, [&](QPainter &layer) {
        QProxyStyle::drawControl(element, &text, &layer, widget);
    });
    frame.clearWhere(ink);
    frame.drawOver(*painter);
}

void GameStyle::drawAtLayoutPixels(PrimitiveElement element, const QStyleOption *option,
                                   QPainter *painter, const QWidget *widget) const {
    const QRect rect = option->rect;
    const QTransform transform = painter->deviceTransform();
    if (rect.isEmpty() || transform.type() <= QTransform::TxTranslate) {
        baseStyle()->drawPrimitive(element, option, painter, widget);
        return;
    }
    QImage layoutPixels(rect.size(), QImage::Format_ARGB32_Premultiplied);
    layoutPixels.fill(Qt::transparent);
    {
        QPainter small(&layoutPixels);
        small.translate(-rect.topLeft());
        small.setPen(painter->pen());
        small.setBrush(painter->brush());
        small.setFont(painter->font());
        small.setBackground(painter->background());
        small.setBackgroundMode(painter->backgroundMode());
        small.setLayoutDirection(painter->layoutDirection());
        baseStyle()->drawPrimitive(element, option, &small, widget);
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(rect, layoutPixels);
    painter->restore();
}

void GameStyle::drawItemText(QPainter *painter, const QRect &rect, int flags,
                             const QPalette &palette, bool enabled, const QString &text,
                             QPalette::ColorRole textRole) const {
    const int strikes = boldStrikes(painter->font());
    for (int x = 0; x <= strikes; ++x)
        QProxyStyle::drawItemText(painter, rect.translated(x, 0), flags, palette, enabled, text,
                                  textRole);
}
