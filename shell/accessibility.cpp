#include "accessibility.h"

#include "dialogs.h"
#include "widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>

namespace accessibility {

QString spokenCaption(const QString &panelName, const QString &caption) {
    const QString spoken = caption.trimmed();
    return spoken == panelName ? QString() : spoken;
}

QString panelName(const QString &panelName, const QString &caption, const QString &subject) {
    const QString spoken = spokenCaption(panelName, caption);
    return spoken.isEmpty() ? subject : spoken;
}

namespace {

// Writing without blanks between words (kana, kanji, their punctuation and
// full-width forms): a memo line of it was broken wherever the row was full,
// often inside a word.
bool writtenWithoutBlanks(QChar c) {
    const QChar::Script script = c.script();
    const char16_t code = c.unicode();
    return script == QChar::Script_Han || script == QChar::Script_Hiragana ||
           script == QChar::Script_Katakana || (code >= 0x3000 && code <= 0x303F) ||
           (code >= 0xFF00 && code <= 0xFFEF);
}

} // namespace

QString memoSpeech(const QStringList &lines) {
    QString speech;
    for (const QString &line : lines.mid(1)) {
        // Lines of words written apart were broken between two words.
        if (!speech.isEmpty() && !line.isEmpty() && !writtenWithoutBlanks(speech.back()) &&
            !writtenWithoutBlanks(line.front()))
            speech += u' ';
        speech += line;
    }
    return speech.trimmed();
}

namespace {

// The attributes of plain text: one run, the whole text, with none; no run
// outside it.
QString plainTextRun(int offset, int count, int *start, int *end) {
    const bool inside = offset >= 0 && offset <= count;
    *start = inside ? 0 : -1;
    *end = inside ? count : -1;
    return {};
}

// A scene panel: a grouping named by its caption or by its place or person.
class PanelInterface : public QAccessibleWidget {
public:
    explicit PanelInterface(kinds::TPanel *panel)
        : QAccessibleWidget(panel, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        const auto *panel = static_cast<const kinds::TPanel *>(widget());
        if (t == QAccessible::Name && panel->accessibleName().isEmpty())
            return panelName(panel->objectName(), panel->caption(), panel->subject());
        if (t == QAccessible::Description && panel->accessibleDescription().isEmpty()) {
            // A caption such as どうしますか？ names the panel; the place or
            // person it stands for then describes it.
            const QString subject = panel->subject();
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

    QString imageDescription() const override { return image()->subject(); }
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
            return QCoreApplication::translate("accessibility", "押すとゲームが終わります");
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
// program file's name, which tells a listener nothing), its text read once.
// Orca 43 (with Qt 6.4, Debian 12) reads an alert's static text, and a
// description or text of the alert's own besides it again. Orca 48 and later
// (with Qt 6.8 and later, Debian 13 and testing) read an alert's
// description, else its own text, and only where it has neither its static
// texts of three blank-separated words or more: a Japanese sentence has no
// blanks and was never read. Where the focus was lost before the box opened
// (the box or prompt before it closed), they leave the description out, as
// for a window met again. So where Qt is 6.8 or later, the box is described
// by its text and has it as its own text too.
class AlertInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AlertInterface(MessageBox *box) : QAccessibleWidget(box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return gameTitle();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty() &&
            alertHoldsItsText())
            return boxText();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && alertHoldsItsText())
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Text: the box's whole text, read-only, with nothing selected.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString all = boxText();
        start = std::clamp(start, 0, int(all.size()));
        end = std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(boxText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override {
        return plainTextRun(offset, characterCount(), start, end);
    }

private:
    QString boxText() const { return static_cast<const MessageBox *>(widget())->text(); }
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
        return plainTextRun(offset, characterCount(), start, end);
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

// A scene's list as Qt describes it, without a help text that repeats its
// name. Qt gives a list's name as its help text too; from Qt 6.8 on readers
// learn help texts, and Orca 48 reads one after the name, as a hint: the
// question the list answers was read twice. Everything else is Qt's own
// list interface, which this one wraps.
class ListInterface : public QAccessibleInterface {
public:
    explicit ListInterface(QAccessibleInterface *qt) : m_qt(qt) {}

    bool isValid() const override { return m_qt->isValid(); }
    QObject *object() const override { return m_qt->object(); }
    QWindow *window() const override { return m_qt->window(); }
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        return m_qt->relations(match);
    }
    QAccessibleInterface *focusChild() const override { return m_qt->focusChild(); }
    QAccessibleInterface *childAt(int x, int y) const override { return m_qt->childAt(x, y); }
    QAccessibleInterface *parent() const override { return m_qt->parent(); }
    QAccessibleInterface *child(int index) const override { return m_qt->child(index); }
    int childCount() const override { return m_qt->childCount(); }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return m_qt->indexOfChild(child);
    }
    QString text(QAccessible::Text t) const override {
        const QString text = m_qt->text(t);
        if (t == QAccessible::Help && text == m_qt->text(QAccessible::Name))
            return {};
        return text;
    }
    void setText(QAccessible::Text t, const QString &text) override { m_qt->setText(t, text); }
    QRect rect() const override { return m_qt->rect(); }
    QAccessible::Role role() const override { return m_qt->role(); }
    QAccessible::State state() const override { return m_qt->state(); }
    QColor foregroundColor() const override { return m_qt->foregroundColor(); }
    QColor backgroundColor() const override { return m_qt->backgroundColor(); }
    void *interface_cast(QAccessible::InterfaceType t) override { return m_qt->interface_cast(t); }

private:
    QAccessibleInterface *m_qt;
};

// Whether the factory below is asking Qt for its own interface of a list.
bool &askingQt() {
    static bool asking = false;
    return asking;
}

// Qt's own interface of a list, made and kept by Qt as for any list (the
// factory below answers nothing while Qt makes it). Qt then keeps the
// wrapper too, finds the newer of the two for the list from then on, and
// drops both when the list goes.
QAccessibleInterface *qtListInterface(QObject *list) {
    askingQt() = true;
    QAccessibleInterface *qt = QAccessible::queryAccessibleInterface(list);
    askingQt() = false;
    return qt;
}

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
    if (className == QLatin1String("kinds::TListBox") && !askingQt()) {
        if (QAccessibleInterface *qt = qtListInterface(object))
            return new ListInterface(qt);
    }
    return nullptr;
}

} // namespace

QString gameTitle() {
    return QCoreApplication::translate("TForm1", "ホシフルツルギ２");
}

bool alertHoldsItsText() {
    return QT_VERSION >= QT_VERSION_CHECK(6, 8, 0);
}

void installInterfaces() {
    // Once the application is made: QApplication installs Qt's own factory
    // for its widgets as it is made, and the factory installed last is asked
    // first, so this one describes the name prompt's field before Qt does.
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace accessibility
