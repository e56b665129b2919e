// The title bar of the game's windows on Wayland desktops that leave title
// bars to their clients (GNOME, weston): a Qt plugin of the kind
// "wayland-decoration-client", loaded by Qt's Wayland platform when the game
// asks for it (see desktop.cpp).
//
// Qt 6.4's own title bar draws a maximise button on every window; this one
// draws only the buttons a window's flags ask for, and never maximise on a
// window of fixed size: the main window gets minimise and close, the dialogs
// close alone. A right click opens the desktop's window menu, a drag moves
// the window. The windows cannot be resized, so the frame has no grips.
#include "qtwaylanddecoration.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QWindow>
#include <algorithm>

namespace {

using QtWaylandClient::QWaylandAbstractDecoration;
using QtWaylandClient::QWaylandInputDevice;

constexpr int titleHeight = 30;
constexpr int edge = 3;
constexpr int buttonSize = 18;
constexpr int buttonGap = 5;
constexpr int rightMargin = 8;
constexpr int iconSize = 22;

enum class Button { None, Close, Minimize, Maximize };

class TitleBar : public QWaylandAbstractDecoration {
public:
    QMargins margins(MarginsType type) const override {
        if (type == ShadowsOnly)
            return {};
        return {edge, titleHeight, edge, edge};
    }

    bool handleMouse(QWaylandInputDevice *device, const QPointF &local, const QPointF &,
                     Qt::MouseButtons buttons, Qt::KeyboardModifiers) override {
        if (!inTitleBar(local)) {
            // The client area is the window's own; the thin edges do nothing.
            const bool onEdge = !clientRect().contains(local);
            setMouseButtons(buttons);
            return onEdge;
        }
        const Button at = buttonAt(local);
        if (isRightClicked(buttons)) {
            showWindowMenu(device);
        } else if (at != Button::None) {
            if (clicked(buttons, at))
                press(at);
        } else {
            m_pressed = Button::None;
            startMove(device, buttons);
        }
        setMouseButtons(buttons);
        return true;
    }

    bool handleTouch(QWaylandInputDevice *device, const QPointF &local, const QPointF &,
                     QEventPoint::State state, Qt::KeyboardModifiers) override {
        if (state != QEventPoint::Pressed || !inTitleBar(local))
            return false;
        const Button at = buttonAt(local);
        if (at != Button::None)
            press(at);
        else
            startMove(device, Qt::LeftButton);
        return true;
    }

protected:
    void paint(QPaintDevice *device) override {
        const QPalette palette;
        const bool active = window()->isActive();
        const QColor background = palette.color(QPalette::Active, QPalette::Window);
        const QColor ink =
            palette.color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        const QRect frame = frameRect();

        QPainter painter(device);
        // The frame around the client area, and a thin outline around it all.
        QRegion margin(frame);
        margin -= clientRect().toRect();
        painter.setClipRegion(margin);
        painter.fillRect(frame, background);
        painter.setPen(palette.color(QPalette::Active, QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setClipping(false);

        int titleLeft = edge + buttonGap;
        const QIcon icon = window()->icon();
        if (!icon.isNull()) {
            icon.paint(&painter,
                       QRect(titleLeft, (titleHeight - iconSize) / 2, iconSize, iconSize));
            titleLeft += iconSize + buttonGap;
        }

        painter.setPen(ink);
        const QList<Button> shown = buttons();
        for (int i = 0; i < shown.size(); ++i)
            drawButton(painter, shown[i], buttonRect(i), ink);

        // The title: plain text, centred on the bar, cut short where it
        // would reach the buttons.
        QFont font = painter.font();
        font.setPixelSize(14);
        painter.setFont(font);
        const int titleRight = shown.isEmpty()
                                   ? frame.width() - rightMargin
                                   : int(buttonRect(int(shown.size()) - 1).left()) - buttonGap;
        const QRect room(titleLeft, 0, std::max(0, titleRight - titleLeft), titleHeight);
        const QFontMetrics metrics(font);
        const QString title =
            metrics.elidedText(window()->title(), Qt::ElideRight, room.width(), Qt::TextSingleLine);
        QRect centred(0, 0, metrics.horizontalAdvance(title), titleHeight);
        centred.moveCenter(QPoint(frame.center().x(), titleHeight / 2));
        if (centred.left() < room.left())
            centred.moveLeft(room.left());
        if (centred.right() > room.right())
            centred.moveRight(room.right());
        painter.drawText(centred, Qt::AlignCenter | Qt::TextSingleLine, title);
    }

private:
    // The whole surface: the client area with the frame around it.
    QRect frameRect() const {
        const QMargins m = margins(Full);
        return QRect(QPoint(), window()->size().grownBy(m));
    }
    QRectF clientRect() const {
        return QRectF(QPointF(edge, titleHeight), window()->size().toSizeF());
    }
    bool inTitleBar(const QPointF &local) const {
        return local.y() < titleHeight && local.x() >= 0 && local.x() < frameRect().width();
    }

    // The buttons the window's flags ask for, from the right edge leftward.
    QList<Button> buttons() const {
        const Qt::WindowFlags flags = window()->flags();
        const bool fixedSize = window()->minimumSize() == window()->maximumSize();
        QList<Button> list;
        if (flags & Qt::WindowCloseButtonHint)
            list.append(Button::Close);
        if ((flags & Qt::WindowMaximizeButtonHint) && !fixedSize)
            list.append(Button::Maximize);
        if (flags & Qt::WindowMinimizeButtonHint)
            list.append(Button::Minimize);
        return list;
    }
    // The place of the i-th button from the right.
    QRectF buttonRect(int i) const {
        const int right = frameRect().width() - rightMargin;
        return QRectF(right - (i + 1) * buttonSize - i * buttonGap, (titleHeight - buttonSize) / 2,
                      buttonSize, buttonSize);
    }
    Button buttonAt(const QPointF &local) const {
        const QList<Button> shown = buttons();
        for (int i = 0; i < shown.size(); ++i) {
            if (buttonRect(i).contains(local))
                return shown[i];
        }
        return Button::None;
    }

    // A button counts when the left button goes down and comes up on it.
    bool clicked(Qt::MouseButtons buttons, Button at) {
        if (isLeftClicked(buttons)) {
            m_pressed = at;
            return false;
        }
        if (isLeftReleased(buttons)) {
            const bool hit = m_pressed == at;
            m_pressed = Button::None;
            return hit;
        }
        return false;
    }
    void press(Button button) {
        QWindow *w = window();
        switch (button) {
        case Button::Close:
            // Queued: an accepted close destroys the platform window, and
            // this title bar with it, while the click is still being handled.
            // (Not queued on the window itself: a widget's window passes such
            // calls on to its widget.)
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [window = QPointer<QWindow>(w)] {
                    if (window)
                        window->close();
                },
                Qt::QueuedConnection);
            break;
        case Button::Minimize:
            w->setWindowState(Qt::WindowMinimized);
            break;
        case Button::Maximize:
            w->setWindowStates(w->windowStates() ^ Qt::WindowMaximized);
            break;
        case Button::None:
            break;
        }
    }

    static void drawButton(QPainter &painter, Button button, const QRectF &rect,
                           const QColor &ink) {
        painter.save();
        QPen pen(ink);
        pen.setWidth(2);
        painter.setPen(pen);
        switch (button) {
        case Button::Close: {
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal half = rect.height() / 4.6;
            const QPointF c = rect.center();
            painter.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
            painter.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
            break;
        }
        case Button::Minimize: {
            const QRectF line = rect.adjusted(5, 5, -5, -5);
            painter.drawLine(line.bottomLeft(), line.bottomRight());
            break;
        }
        case Button::Maximize:
            pen.setWidth(1);
            painter.setPen(pen);
            painter.drawRect(rect.adjusted(4, 5, -4, -5));
            break;
        case Button::None:
            break;
        }
        painter.restore();
    }

    Button m_pressed = Button::None;
};

} // namespace

class TitleBarPlugin : public QtWaylandClient::QWaylandDecorationPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QWaylandDecorationFactoryInterface_iid FILE "titlebar.json")
public:
    QWaylandAbstractDecoration *create(const QString &, const QStringList &) override {
        return new TitleBar;
    }
};

#include "titlebar.moc"
