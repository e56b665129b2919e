// What Qt's AT-SPI bridge sends, put right for screen readers; and names
// that only readers need, given only while one listens.
#include "readers.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace platform {

namespace {

struct PendingName {
    QPointer<QWidget> widget;
    QString name;
    QString description;
};

struct PendingWork {
    QPointer<QObject> context;
    std::function<void()> work;
};

QList<PendingWork> &pendingWork() {
    static QList<PendingWork> work;
    return work;
}

QList<PendingName> &pendingNames() {
    static QList<PendingName> names;
    return names;
}

// Whether an assistive tool has started listening (as the observer below
// was told: not every platform reports it through QAccessible::isActive).
bool &readerListening() {
    static bool listening = false;
    return listening;
}

// Names the waiting widgets, and does the waiting work, once an assistive
// tool starts listening.
class NameOnActivation : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override {
        readerListening() = active;
        if (!active)
            return;
        const QList<PendingName> names = std::exchange(pendingNames(), {});
        for (const PendingName &pending : names) {
            if (!pending.widget)
                continue;
            pending.widget->setAccessibleName(pending.name);
            if (!pending.description.isEmpty())
                pending.widget->setAccessibleDescription(pending.description);
        }
        const QList<PendingWork> work = std::exchange(pendingWork(), {});
        for (const PendingWork &pending : work) {
            if (pending.context)
                pending.work();
        }
    }
};

} // namespace

void nameForReaders(QWidget *widget, const QString &name, const QString &description) {
    if (name.isEmpty())
        return;
    if (QAccessible::isActive() || readerListening()) {
        widget->setAccessibleName(name);
        if (!description.isEmpty())
            widget->setAccessibleDescription(description);
        return;
    }
    QList<PendingName> &names = pendingNames();
    names.removeIf([](const PendingName &pending) { return pending.widget.isNull(); });
    names.append({widget, name, description});
}

void whenReadersListen(QObject *context, std::function<void()> work) {
    if (QAccessible::isActive() || readerListening()) {
        work();
        return;
    }
    QList<PendingWork> &waiting = pendingWork();
    waiting.removeIf([](const PendingWork &pending) { return pending.context.isNull(); });
    waiting.append({context, std::move(work)});
}

void announceListEntry(QWidget *list, int row) {
    if (!QAccessible::isActive() || !list->hasFocus())
        return;
    QAccessibleEvent event(list, QAccessible::Focus);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

void announceAlert(QWidget *alert) {
    QAccessibleEvent event(alert, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

namespace {

// An object on the accessibility bus, as AT-SPI names it: the bus name of
// its application and its path.
struct SpiReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const SpiReference &reference) {
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SpiReference &reference) {
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace platform

Q_DECLARE_METATYPE(platform::SpiReference)

namespace platform {
namespace {

// Tells readers that an object became visible or invisible. Qt's bridge
// reports only that it is showing or not; a reader that read the object's
// states while it was hidden keeps it invisible for good, and never
// presents it again (Orca's flat review finds nothing in later scenes).
// The report goes out as Qt's own reports do: on Qt's connection to the
// accessibility bus, from the path Qt gives the object.
void reportVisible(QAccessibleInterface *iface, bool visible) {
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return;
    static const bool registered = [] {
        qDBusRegisterMetaType<SpiReference>();
        return true;
    }();
    Q_UNUSED(registered);
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/%1")
                             .arg(QString::number(QAccessible::uniqueId(iface)));
    const SpiReference object{bus.baseService(), QDBusObjectPath(path)};
    const SpiReference application{
        bus.baseService(), QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    QDBusMessage signal = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    signal << QStringLiteral("visible") << int(visible) << 0
           << QVariant::fromValue(QDBusVariant(QVariant::fromValue(object)))
           << QVariant::fromValue(application);
    bus.send(signal);
}

// What Qt's AT-SPI bridge sends, put in the order and form screen readers
// expect:
// - a widget reports its text and caret while it is filled in, before it is
//   shown, and a widget that takes the focus reports its caret and
//   selection before Qt reports the focus itself; a reader handling these
//   once the widget has the focus moves to it silently and never presents
//   it. Those reports are not
//   sent while the focus report is still to come: a reader reads the caret
//   and the selection of the object it moves to;
// - an object shown or hidden is reported showing or not, and here also
//   visible or not (reportVisible);
// - a name or description change carries the object where readers expect
//   the new text (Qt 6.4 to 6.11), which breaks Orca's handler. The program
//   names and describes its widgets before they are shown, so readers read
//   the new texts when they meet them: these reports are not sent.
class EventOrder {
public:
    static void install() { previous() = QAccessible::installUpdateHandler(&EventOrder::update); }

private:
    static QAccessible::UpdateHandler &previous() {
        static QAccessible::UpdateHandler handler = nullptr;
        return handler;
    }
    static QPointer<QObject> &lastFocus() {
        static QPointer<QObject> focus;
        return focus;
    }
    // Sends the event on as Qt would have without this handler.
    static void forward(QAccessibleEvent *event) {
        if (previous()) {
            previous()(event);
            return;
        }
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::updateAccessibility(event);
        QAccessible::installUpdateHandler(&EventOrder::update);
    }
    static bool isTextReport(QAccessible::Event type) {
        switch (type) {
        case QAccessible::TextCaretMoved:
        case QAccessible::TextSelectionChanged:
        case QAccessible::TextInserted:
        case QAccessible::TextRemoved:
        case QAccessible::TextUpdated:
            return true;
        default:
            return false;
        }
    }
    // Whether a text report about the object would mislead a reader: the
    // object is not on screen (a scene's widgets are filled in before they
    // are shown, and a reader handles the report only once the widget is
    // shown and focused), or it is (or is inside) the widget taking the
    // focus now, whose focus report has not gone out yet.
    static bool misleadingTextReport(QObject *object) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget)
            return false;
        if (!widget->isVisible())
            return true;
        QWidget *focus = QApplication::focusWidget();
        if (!focus || lastFocus() == focus)
            return false;
        return widget == focus || focus->isAncestorOf(widget);
    }
    static void update(QAccessibleEvent *event) {
        const QAccessible::Event type = event->type();
        if (type == QAccessible::NameChanged || type == QAccessible::DescriptionChanged)
            return;
        if (isTextReport(type) && misleadingTextReport(event->object()))
            return;
        forward(event);
        if (type == QAccessible::Focus && event->child() < 0)
            lastFocus() = event->object();
        if ((type == QAccessible::ObjectShow || type == QAccessible::ObjectHide) &&
            event->child() < 0) {
            if (QAccessibleInterface *iface = event->accessibleInterface())
                reportVisible(iface, type == QAccessible::ObjectShow);
        }
    }
};

QtMessageHandler &laterHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

// Qt 6.8's Wayland text input warns each time GNOME says the keyboard left
// a surface already gone (each closed dialog's): nothing is lost, and the
// player would read it on the terminal.
bool isTextInputNoise(QtMsgType type, const char *category, const QString &text) {
    return type == QtWarningMsg && category && qstrcmp(category, "qt.qpa.wayland.textinput") == 0 &&
           text.contains(QLatin1String("Got leave event for surface 0x0"));
}

void quietReaderNoise(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (isReaderNoise(type, context.category, text) ||
        isTextInputNoise(type, context.category, text))
        return;
    if (laterHandler())
        laterHandler()(type, context, text);
}

} // namespace

bool isReaderNoise(QtMsgType type, const char *category, const QString &text) {
    if (type != QtWarningMsg)
        return false;
    // Qt's AT-SPI bridge lets a screen reader look at each key first and
    // gives it 100 ms to answer; past that it warns and hands the key to the
    // game all the same. A reader busy presenting a new scene often takes
    // longer on a busy machine: the key is not lost.
    if (text.startsWith(QLatin1String("QSpiApplication::keyEventError")) &&
        text.contains(QLatin1String("NoReply")))
        return true;
    // The reader's answer came after that, for a key already handed on.
    if (text.startsWith(QLatin1String("QSpiApplication::notifyKeyboardListenerCallback")))
        return true;
    // Orca 48 asks again and again about the objects of message boxes
    // already closed (thousands of times in one play); the bridge answers
    // that they are gone, and warns each time (Qt 6.8 and later in its own
    // category, Qt 6.4 as a plain warning).
    const bool bridge = category && (qstrcmp(category, "qt.accessibility.atspi") == 0 ||
                                     qstrcmp(category, "default") == 0);
    if (bridge && text.contains(QLatin1String("Could not find accessible on path")))
        return true;
    // Orca 48 and later ask to hear of windows destroyed, which Qt's bridge
    // does not report, and Orca 51 asks for the game's own bus, which it
    // does not offer; it warns at each start.
    return bridge && (text.startsWith(QLatin1String("Subscription string not handled")) ||
                      text.contains(QLatin1String("does not implement")));
}

void followReaders() {
    static NameOnActivation naming;
    QAccessible::installActivationObserver(&naming); // once: Qt keeps no observer twice
}

void installReaderBridgeFixes() {
    // Once: a second handler would hand each event on to itself.
    static const bool installed = [] {
        EventOrder::install();
        laterHandler() = qInstallMessageHandler(quietReaderNoise);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace platform
