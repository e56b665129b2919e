#include "accessibility.h"

#include "dialogs.h"
#include "widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFontMetrics>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>
#include <utility>

namespace accessibility {

QString pictureSubject(const QString &pictureName) {
    static const QHash<QString, QString> subjects = {
        {QStringLiteral("villager"), QStringLiteral("村人の並木さん")},
        {QStringLiteral("villager_small"), QStringLiteral("村人の並木さん")},
        {QStringLiteral("oldman"), QStringLiteral("嘆きの老人")},
        {QStringLiteral("castle"), QStringLiteral("ホシフル城")},
        {QStringLiteral("demonking"), QStringLiteral("大魔王")},
        {QStringLiteral("teacher"), QStringLiteral("森の先生")},
        {QStringLiteral("slime"), QStringLiteral("スライム")},
        {QStringLiteral("princess"), QStringLiteral("お姫様")},
        {QStringLiteral("swordsman"), QStringLiteral("サスライの剣士")},
        {QStringLiteral("shopkeeper"), QStringLiteral("武器屋の主人")},
        {QStringLiteral("balloon"), QStringLiteral("吹き出し「いらっしゃい 何を買う？」")},
        {QStringLiteral("farmer"), QStringLiteral("自由の酪農家")},
        {QStringLiteral("dragonbrother"), QStringLiteral("龍神の弟")},
    };
    return subjects.value(pictureName);
}

QString sceneSubject(const QString &panelName) {
    static const QHash<QString, QString> subjects = {
        {QStringLiteral("hajimari"), QStringLiteral("分かれ道")},
        {QStringLiteral("namiki1"), QStringLiteral("並木さん")},
        {QStringLiteral("Panel1"), QStringLiteral("並木さん")},
        {QStringLiteral("shiro"), QStringLiteral("ホシフル城")},
        {QStringLiteral("nageki1"), QStringLiteral("嘆きの老人")},
        {QStringLiteral("Panel2"), QStringLiteral("嘆きの老人")},
        {QStringLiteral("Panel3"), QStringLiteral("嘆きの老人")},
        {QStringLiteral("suraim"), QStringLiteral("スライム")},
        {QStringLiteral("Panel5"), QStringLiteral("スライム")},
        {QStringLiteral("Panel6"), QStringLiteral("仲間たち")},
        {QStringLiteral("Panel4"), QStringLiteral("ホシフル城の広間")},
        {QStringLiteral("hime"), QStringLiteral("お姫様")},
        {QStringLiteral("hime1"), QStringLiteral("お姫様")},
        {QStringLiteral("kudoku"), QStringLiteral("お姫様")},
        {QStringLiteral("nakama1"), QStringLiteral("サスライの剣士")},
        {QStringLiteral("ido"), QStringLiteral("時間の井戸")},
        {QStringLiteral("mori1"), QStringLiteral("迷いの森")},
        {QStringLiteral("mori2"), QStringLiteral("迷いの森")},
        {QStringLiteral("mori3"), QStringLiteral("迷いの森")},
        {QStringLiteral("mori4"), QStringLiteral("迷いの森")},
        {QStringLiteral("mori5"), QStringLiteral("迷いの森")},
        {QStringLiteral("kozuesan"), QStringLiteral("梢先生")},
        {QStringLiteral("machi"), QStringLiteral("ボンジュールの街")},
        {QStringLiteral("machi1"), QStringLiteral("ボンジュールの街")},
        {QStringLiteral("bukiya"), QStringLiteral("武器屋")},
        {QStringLiteral("sakaba"), QStringLiteral("酒場")},
        {QStringLiteral("jiyuu"), QStringLiteral("自由の酪農家")},
        {QStringLiteral("ryuu"), QStringLiteral("龍神の弟")},
        {QStringLiteral("nami"), QStringLiteral("並木さん")},
        {QStringLiteral("maou"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu1"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu2"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu3"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu4"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu5"), QStringLiteral("大魔王")},
        {QStringLiteral("bosu6"), QStringLiteral("大魔王")},
        {QStringLiteral("mahou"), QStringLiteral("魔法")},
        {QStringLiteral("mahou2"), QStringLiteral("魔法")},
        {QStringLiteral("mahou3"), QStringLiteral("魔法")},
    };
    return subjects.value(panelName);
}

QString spokenCaption(const QString &panelName, const QString &caption) {
    const QString spoken = caption.trimmed();
    return spoken == panelName ? QString() : spoken;
}

QString panelName(const QString &panelName, const QString &caption) {
    const QString spoken = spokenCaption(panelName, caption);
    return spoken.isEmpty() ? sceneSubject(panelName) : spoken;
}

namespace {

struct PendingName {
    QPointer<QWidget> widget;
    QString name;
    QString description;
};

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

// Names the waiting widgets once an assistive tool starts listening.
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

QString memoSpeech(const QStringList &lines) {
    return lines.mid(1).join(QString()).trimmed();
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

// A scene panel: a grouping named by its caption or by its place or person.
class PanelInterface : public QAccessibleWidget {
public:
    explicit PanelInterface(kinds::TPanel *panel)
        : QAccessibleWidget(panel, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        const auto *panel = static_cast<const kinds::TPanel *>(widget());
        if (t == QAccessible::Name && panel->accessibleName().isEmpty())
            return panelName(panel->objectName(), panel->caption());
        if (t == QAccessible::Description && panel->accessibleDescription().isEmpty()) {
            // A caption such as どうしますか？ names the panel; the place or
            // person it stands for then describes it.
            const QString subject = sceneSubject(panel->objectName());
            return subject == text(QAccessible::Name) ? QString() : subject;
        }
        return QAccessibleWidget::text(t);
    }
};

// A picture: a graphic named by what it shows.
class ImageInterface : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit ImageInterface(kinds::TImage *image)
        : QAccessibleWidget(image, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return imageDescription();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString imageDescription() const override { return pictureSubject(image()->picture().name); }
    // The part of the picture that shows: it is cut off at the widget's edges.
    QSize imageSize() const override {
        return image()->picture().pixmap.size().boundedTo(image()->size());
    }
    QPoint imagePosition() const override { return image()->mapToGlobal(QPoint(0, 0)); }

private:
    const kinds::TImage *image() const { return static_cast<const kinds::TImage *>(widget()); }
};

// A bitmap button: a push button named by its caption exactly as drawn (an
// '&' is a letter here, never a mnemonic), pressed through its press action.
class BitBtnInterface : public QAccessibleWidget {
public:
    explicit BitBtnInterface(kinds::TBitBtn *button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->text();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty() &&
            button()->isCloseKind())
            return QStringLiteral("押すとゲームが終わります");
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!button()->isEnabled() || !button()->isVisible())
            return;
        // The click may open a modal dialog: run it from the event loop, not
        // inside the assistive tool's request.
        QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &action) const override {
        if (action == pressAction())
            return {QStringLiteral("Space"), QStringLiteral("Return")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    kinds::TBitBtn *button() const { return static_cast<kinds::TBitBtn *>(widget()); }
};

// The text of a message box: static text, read exactly as shown.
class TextViewInterface : public QAccessibleWidget {
public:
    explicit TextViewInterface(PlainTextView *view)
        : QAccessibleWidget(view, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const PlainTextView *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// A message box: an alert named by the game (its title bar shows the
// program file's name, which tells a listener nothing); its text is its
// static text, read once: a description repeating it would be read again.
class AlertInterface : public QAccessibleWidget {
public:
    explicit AlertInterface(MessageBox *box) : QAccessibleWidget(box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return gameTitle();
        return QAccessibleWidget::text(t);
    }
};

// The name prompt's field: editable text whose whole text is one run of
// attributes. (Qt 6.4 reports a run of no characters at every offset, and
// Orca then reads the text without its last character.)
class NameFieldInterface : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit NameFieldInterface(QLineEdit *field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return field()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !field()->isReadOnly();
        state.readOnly = field()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Text
    void selection(int index, int *start, int *end) const override {
        *start = *end = 0;
        if (index == 0 && field()->hasSelectedText()) {
            *start = field()->selectionStart();
            *end = *start + int(field()->selectedText().size());
        }
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            field()->deselect();
    }
    void setSelection(int, int start, int end) override {
        field()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override {
        field()->setCursorPosition(std::clamp(position, 0, characterCount()));
    }
    QString text(int start, int end) const override {
        const QString all = field()->text();
        start = std::clamp(start, 0, int(all.size()));
        end = std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(field()->text().size()); }
    QRect characterRect(int offset) const override {
        // The field draws its text from the left of its contents, after
        // the frame's margin.
        const QFontMetrics metrics(field()->font());
        const QString all = field()->text();
        offset = std::clamp(offset, 0, int(all.size()));
        const QRect inside = field()->contentsRect();
        const int left = inside.left() + 2 + metrics.horizontalAdvance(all.left(offset));
        const int width = offset < all.size() ? metrics.horizontalAdvance(all.at(offset)) : 1;
        const QRect local(left, inside.top() + (inside.height() - metrics.height()) / 2, width,
                          metrics.height());
        return QRect(field()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override {
        const int count = characterCount();
        if (offset < 0 || offset > count) {
            *start = *end = -1;
            return {};
        }
        *start = 0;
        *end = count;
        return {};
    }

    // Editing goes through the field, so its byte limit holds.
    void deleteText(int start, int end) override {
        field()->setSelection(start, end - start);
        field()->del();
    }
    void insertText(int offset, const QString &text) override {
        field()->setCursorPosition(offset);
        field()->insert(text);
    }
    void replaceText(int start, int end, const QString &text) override {
        field()->setSelection(start, end - start);
        field()->insert(text);
    }

private:
    QLineEdit *field() const { return static_cast<QLineEdit *>(widget()); }
};

// Qt asks from the most derived class upward, so each kind is matched by
// its own class name.
QAccessibleInterface *describe(const QString &className, QObject *object) {
    // The game's window: a window named by its title (Qt would take a plain
    // QWidget for a client area).
    if (className == QLatin1String("TForm1"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (className == QLatin1String("kinds::TPanel"))
        return new PanelInterface(static_cast<kinds::TPanel *>(object));
    if (className == QLatin1String("kinds::TImage"))
        return new ImageInterface(static_cast<kinds::TImage *>(object));
    if (className == QLatin1String("kinds::TBitBtn"))
        return new BitBtnInterface(static_cast<kinds::TBitBtn *>(object));
    if (className == QLatin1String("PlainTextView"))
        return new TextViewInterface(static_cast<PlainTextView *>(object));
    if (className == QLatin1String("MessageBox"))
        return new AlertInterface(static_cast<MessageBox *>(object));
    if (className == QLatin1String("QLineEdit") && qobject_cast<NamePrompt *>(object->parent()))
        return new NameFieldInterface(static_cast<QLineEdit *>(object));
    return nullptr;
}

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
} // namespace accessibility

Q_DECLARE_METATYPE(accessibility::SpiReference)

namespace accessibility {
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
//   the new text (Qt 6.4 to 6.11), which breaks Orca's handler. The game
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

} // namespace

void followReaders() {
    static NameOnActivation naming;
    QAccessible::installActivationObserver(&naming); // once: Qt keeps no observer twice
}

QString gameTitle() {
    return QStringLiteral("ホシフルツルギ２");
}

namespace {

QtMessageHandler &laterHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

// Qt's AT-SPI bridge lets a screen reader look at each key first and gives
// it 100 ms to answer; past that it warns and hands the key to the game all
// the same. A reader busy presenting a new scene often takes longer on a
// busy machine: the key is not lost, and the warning is not printed.
void quietKeyTimeouts(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QSpiApplication::keyEventError")) &&
        text.contains(QLatin1String("NoReply")))
        return;
    if (laterHandler())
        laterHandler()(type, context, text);
}

} // namespace

} // namespace accessibility

// Once, when the application object is made; the interfaces themselves are
// made only when asked for.
static void installAccessibleKinds() {
    QAccessible::installFactory(accessibility::describe);
    // QApplication installs Qt's own factory for its widgets after this
    // runs, and the factory installed last is asked first: once the
    // application is made, this one goes last again, so that it describes
    // the name prompt's field before Qt does. The key timeouts are kept
    // quiet from then on.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            QAccessible::removeFactory(accessibility::describe);
            QAccessible::installFactory(accessibility::describe);
            // After start-up has put its own message handler back.
            accessibility::laterHandler() = qInstallMessageHandler(accessibility::quietKeyTimeouts);
        },
        Qt::QueuedConnection);
    accessibility::EventOrder::install();
}
Q_COREAPP_STARTUP_FUNCTION(installAccessibleKinds)
