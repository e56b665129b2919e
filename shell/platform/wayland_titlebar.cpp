#include "wayland_titlebar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QList>
#include <QMargins>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

constexpr int titleHeight = 30;
constexpr int edge = 3;
constexpr int buttonSize = 18;
constexpr int buttonGap = 5;
constexpr int rightMargin = 8;
constexpr int iconSize = 22;

enum class Button { None, Close, Minimize };

// The place of the i-th button from the right on a bar WIDTH pixels wide.
QRectF buttonRect(int width, int i) {
    const int right = width - rightMargin;
    return QRectF(right - (i + 1) * buttonSize - i * buttonGap, (titleHeight - buttonSize) / 2,
                  buttonSize, buttonSize);
}

// The desktop's font, as Qt's own title bars use, not the window's: the
// properties the game's fonts set are all given, so that none of them comes
// from the window.
QFont titleFont(int pixelSize) {
    const QFont desktop = QGuiApplication::font();
    QFont font = desktop;
    font.setFamily(desktop.family());
    font.setPixelSize(pixelSize);
    font.setWeight(desktop.weight());
    font.setStyle(desktop.style());
    font.setHintingPreference(desktop.hintingPreference());
    font.setStyleStrategy(desktop.styleStrategy());
    return font;
}

// The frame: a widget over the whole window, shaped to the part outside
// the client area, above every other child. While a modal dialog is open
// the window takes no input, so the bar does nothing then: its close is
// ignored under a dialog as a window manager's close is on X11.
class Frame : public QWidget {
public:
    Frame(QWidget *window, QList<Button> buttons) : QWidget(window), m_buttons(std::move(buttons)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(window->rect());
        setMask(QRegion(rect()) - QRegion(window->contentsRect()));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
            update();
            break;
        default:
            break;
        }
        return false;
    }

    void mousePressEvent(QMouseEvent *event) override {
        m_pressed = Button::None;
        if (event->button() != Qt::LeftButton || !inTitleBar(event->position()))
            return;
        m_pressed = buttonAt(event->position());
        if (m_pressed == Button::None && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }

    // A button counts when the left button goes down and comes up on it.
    void mouseReleaseEvent(QMouseEvent *event) override {
        const Button pressed = std::exchange(m_pressed, Button::None);
        if (event->button() != Qt::LeftButton || pressed == Button::None ||
            buttonAt(event->position()) != pressed)
            return;
        if (pressed == Button::Close)
            window()->close();
        else
            window()->showMinimized();
    }

    void paintEvent(QPaintEvent *) override {
        const QPalette palette = QGuiApplication::palette();
        const bool active = window()->isActiveWindow();
        const QColor background = palette.color(QPalette::Active, QPalette::Window);
        const QColor ink =
            palette.color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        const QRect frame = rect();

        QPainter painter(this);
        // The frame around the client area, and a thin outline around it all.
        painter.fillRect(frame, background);
        painter.setPen(palette.color(QPalette::Active, QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));

        const QIcon icon = window()->windowIcon();
        const QList<Button> shown = buttons();
        const TitleLayout title =
            layOutTitle(frame.width(), window()->windowTitle(), !icon.isNull(), int(shown.size()));
        if (title.icon)
            icon.paint(&painter,
                       QRect(edge + buttonGap, (titleHeight - iconSize) / 2, iconSize, iconSize));
        for (int i = 0; i < shown.size(); ++i)
            drawButton(painter, shown[i], buttonRect(i), ink);
        painter.setFont(title.font);
        painter.setPen(ink);
        painter.drawText(title.rect, Qt::AlignCenter | Qt::TextSingleLine, title.text);
    }

private:
    bool inTitleBar(const QPointF &local) const {
        return local.y() < titleHeight && rect().contains(local.toPoint());
    }

    const QList<Button> &buttons() const { return m_buttons; }
    QRectF buttonRect(int i) const { return platform::buttonRect(width(), i); }
    Button buttonAt(const QPointF &local) const {
        const QList<Button> shown = buttons();
        for (int i = 0; i < shown.size(); ++i) {
            if (buttonRect(i).contains(local))
                return shown[i];
        }
        return Button::None;
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
        case Button::None:
            break;
        }
        painter.restore();
    }

    const QList<Button> m_buttons; // from the right edge leftward
    Button m_pressed = Button::None;
};

} // namespace

TitleLayout layOutTitle(int width, const QString &title, bool withIcon, int buttons) {
    const int right =
        buttons == 0 ? width - rightMargin : int(buttonRect(width, buttons - 1).left()) - buttonGap;
    const int left = edge + buttonGap;
    const auto room = [&](bool icon) {
        const int from = icon ? left + iconSize + buttonGap : left;
        return QRect(from, 0, std::max(0, right - from), titleHeight);
    };
    constexpr int fullSize = 14, smallestSize = 11;
    TitleLayout layout{withIcon, titleFont(fullSize), title, room(withIcon)};
    const auto fits = [&] {
        return QFontMetrics(layout.font).horizontalAdvance(title) <= layout.rect.width();
    };
    // A title too long for its bar: first without the icon, then in a
    // smaller size, and only then cut short.
    if (!fits() && withIcon) {
        layout.icon = false;
        layout.rect = room(false);
    }
    for (int size = fullSize - 1; !fits() && size >= smallestSize; --size)
        layout.font = titleFont(size);
    const QFontMetrics metrics(layout.font);
    if (!fits())
        layout.text =
            metrics.elidedText(title, Qt::ElideRight, layout.rect.width(), Qt::TextSingleLine);
    // Centred on the bar, as far as its room allows.
    QRect centred(0, 0, metrics.horizontalAdvance(layout.text), titleHeight);
    centred.moveCenter(QPoint(QRect(0, 0, width, titleHeight).center().x(), titleHeight / 2));
    if (centred.left() < layout.rect.left())
        centred.moveLeft(layout.rect.left());
    if (centred.right() > layout.rect.right())
        centred.moveRight(layout.rect.right());
    layout.rect = centred;
    return layout;
}

void frameWindow(QWidget *window) {
    const QMargins margins(edge, titleHeight, edge, edge);
    const QList<QWidget *> children = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->isWindow())
            child->move(child->pos() + QPoint(margins.left(), margins.top()));
    }
    window->setContentsMargins(margins);
    window->setFixedSize(window->size().grownBy(margins));
    // The buttons the window's flags ask for, from the right edge leftward.
    const Qt::WindowFlags flags = window->windowFlags();
    QList<Button> buttons;
    if (flags & Qt::WindowCloseButtonHint)
        buttons.append(Button::Close);
    if (flags & Qt::WindowMinimizeButtonHint)
        buttons.append(Button::Minimize);
    // Qt takes a frameless window asking for buttons for a framed one: the
    // window keeps only its kind.
    window->setWindowFlags(window->windowType() | Qt::FramelessWindowHint);
    (new Frame(window, buttons))->raise();
}

} // namespace platform
