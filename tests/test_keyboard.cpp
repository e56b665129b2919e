// Playing without a mouse: Tab through every scene in its rows' order, the
// focus landing in each new scene (on its choice, where it asks one), Space and Enter on buttons,
// arrows in lists, a whole road from START to an ending by keys alone; and the name field's text
// from an input method.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "services.h"

#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

using namespace layout;

namespace {

// The widgets of a top-level entry that the keyboard reaches, in its rows'
// tab order: a button itself, else the scene's focusable children.
QList<QWidget *> tabOrderOf(TForm1 &form, QWidget *scene) {
    form.buildEverything();
    auto focusable = [](Kind kind) {
        return kind == TButton || kind == TBitBtn || kind == TListBox || kind == TComboBox ||
               kind == TMemo;
    };
    if (focusable(form.find(scene->objectName())->row->kind))
        return {scene};
    std::vector<const TForm1::Built *> inside;
    for (const TForm1::Built &built : form.built()) {
        if (built.parentName == scene->objectName() && focusable(built.row->kind))
            inside.push_back(&built);
    }
    std::stable_sort(inside.begin(), inside.end(),
                     [](const auto *a, const auto *b) { return a->row->tab < b->row->tab; });
    QList<QWidget *> order;
    for (const TForm1::Built *built : inside)
        order << built->widget;
    return order;
}

QByteArray nameOf(const QWidget *widget) {
    return widget ? widget->objectName().toUtf8() : QByteArray("nothing");
}

// A key as the window system delivers it: to the window, which hands it to
// its focus widget.
void press(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

// Types the name into the prompt and presses Enter; Enter on every message
// box. Each key goes to the dialog's window, as the window system delivers it.
void answerByKeys(fixture::Answerer &player) {
    player.onPrompt = [](NamePrompt *prompt) {
        for (const QChar c : QStringLiteral("ゆう"))
            QTest::sendKeyEvent(QTest::Click, prompt->windowHandle(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        press(prompt, Qt::Key_Return);
    };
    player.onMessage = [](MessageBox *box) { press(box, Qt::Key_Return); };
}

void commit(QLineEdit *field, const QString &text) {
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(field, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(text);
    QApplication::sendEvent(field, &committed);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::setUp(); }

    void tabFollowsTheRowsInEveryScene() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Every scene, each made now as a handler reaching it would, after
        // the window is shown; their widgets come when each first shows.
        for (const TForm1::Built &built : form.built()) {
            if (built.row->topLevel)
                form.find(QString::fromUtf8(built.row->name));
        }
        int scenes = 0;
        for (QWidget *scene : form.topLevelWidgets()) {
            const QList<QWidget *> order = tabOrderOf(form, scene);
            if (order.isEmpty())
                continue; // the title label
            ++scenes;
            // The scene replaces the one holding the focus, as in a handler.
            for (QWidget *other : form.topLevelWidgets())
                other->hide();
            scene->show();
            // The focus lands on the scene's list or drop-down list, where it
            // has one, else on its first widget.
            const auto choice = std::find_if(order.begin(), order.end(), [](QWidget *widget) {
                return qobject_cast<QListWidget *>(widget) || qobject_cast<QComboBox *>(widget);
            });
            const qsizetype first = choice == order.end() ? 0 : choice - order.begin();
            QVERIFY2(form.focusWidget() == order[first], nameOf(form.focusWidget()));
            for (qsizetype i = 1; i <= order.size(); ++i) {
                press(&form, Qt::Key_Tab);
                QVERIFY2(form.focusWidget() == order[(first + i) % order.size()],
                         nameOf(scene) + " Tab: " + nameOf(form.focusWidget()));
            }
            press(&form, Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(form.focusWidget(), order[(first + order.size() - 1) % order.size()]);
        }
        QCOMPARE(scenes, 53);
    }

    void spaceAndEnterPressTheFocusedButton_data() {
        QTest::addColumn<bool>("bitmap");
        QTest::newRow("TButton") << false;
        QTest::newRow("TBitBtn") << true;
    }

    void spaceAndEnterPressTheFocusedButton() {
        QFETCH(bool, bitmap);
        QWidget window;
        QAbstractButton *button =
            bitmap ? static_cast<QAbstractButton *>(new kinds::TBitBtn(&window, false))
                   : new kinds::TButton(&window);
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus();
        press(&window, Qt::Key_Space);
        press(&window, Qt::Key_Return);
        press(&window, Qt::Key_Enter, Qt::KeypadModifier);
        press(&window, Qt::Key_Escape);
        QCOMPARE(clicks.count(), 3);
        // Hidden with nothing else to take the focus, it keeps the focus, but
        // no key presses it.
        button->hide();
        QCOMPARE(window.focusWidget(), button);
        press(&window, Qt::Key_Return);
        press(&window, Qt::Key_Space);
        QCOMPARE(clicks.count(), 3);
    }

    void arrowsChooseListEntries() {
        QWidget window;
        auto *before = new kinds::TButton(&window);
        auto *list = new kinds::TListBox(&window, clWindow, 12);
        list->setEntries({"右", "真ん中", "左"});
        list->setGeometry(50, 0, 65, 41);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        press(&window, Qt::Key_Tab);
        QCOMPARE(list->currentRow(), 0); // marked by the focus, not picked
        QCOMPARE(list->itemIndex(), -1);
        press(&window, Qt::Key_Down); // picks the marked entry
        QCOMPARE(list->itemIndex(), 0);
        press(&window, Qt::Key_Down);
        QCOMPARE(list->itemIndex(), 1);
        press(&window, Qt::Key_Down);
        press(&window, Qt::Key_Down);
        QCOMPARE(list->itemIndex(), 2);
        press(&window, Qt::Key_Up);
        QCOMPARE(list->itemIndex(), 1);
    }

    void playsFromStartToAnEndingByKeysAlone() {
        // North road: talk to the villager, walk on into the Demon King and
        // use the special move. Each step is a key for the focused widget,
        // after which the focus must be where the player goes on.
        fixture::Answerer player;
        answerByKeys(player);
        fixture::Observing observing(player);
        TForm1 form;
        QSignalSpy closed(&form, &TForm1::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, QWidget *>> road = {
            {Qt::Key_Space, {}, form.Box1}, // START: name, welcome, crossroads
            {Qt::Key_Down, {}, form.Box1},  // まずは北に向かう
            {Qt::Key_Tab, {}, form.BitBtn1},
            {Qt::Key_Return, {}, form.namiki},
            {Qt::Key_Space, {}, form.Box2}, // the villager
            {Qt::Key_Down, {}, form.Box2},  // とりあえず話す
            {Qt::Key_Tab, {}, form.BitBtn2},
            {Qt::Key_Return, {}, form.memo1}, // his warning
            {Qt::Key_Tab, {}, form.BitBtn5},
            {Qt::Key_Space, {}, form.daimaou},
            {Qt::Key_Return, {}, form.box4},
            {Qt::Key_Down, {}, form.box4}, // 『奥義・覇王絶滅拳』
            {Qt::Key_Tab, {}, form.BitBtn6},
            {Qt::Key_Return, {}, form.ougi},
            {Qt::Key_Space, {}, form.BitBtn7}, // ゲームオーバー
        };
        for (const auto &[key, modifiers, focusAfter] : road) {
            press(&form, key, modifiers);
            // What the window manager does once a dialog has closed.
            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QVERIFY2(QApplication::focusWidget() == focusAfter,
                     nameOf(QApplication::focusWidget()) + " instead of " + nameOf(focusAfter));
        }
        press(&form, Qt::Key_Return);
        observing.end();

        QCOMPARE(closed.count(), 1);
        QCOMPARE(PlayerName, QStringLiteral("ゆう"));
        QCOMPARE(player.messages.size(), 8);
        QCOMPARE(player.messages.first(),
                 QStringLiteral("ようこそ!冒険の島へ!さあ旅の始まりです。"));
        QCOMPARE(player.messages.last(),
                 QStringLiteral("ドカ――ン！！5000000のダメージをくらった！"));
        QCOMPARE(player.beeps, 6);
    }

    void inputMethodTextGoesIntoTheNameField() {
        NamePrompt prompt(QStringLiteral("ホシフルツルギⅡ"), QStringLiteral("名前を教えてちょ"),
                          QStringLiteral("あなた"), nullptr);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QLineEdit *field = prompt.field();
        QVERIFY(field->testAttribute(Qt::WA_InputMethodEnabled));

        // Composing replaces the selected default and shows, keeping nothing.
        QInputMethodEvent composing(QStringLiteral("ゆ"), {});
        QApplication::sendEvent(field, &composing);
        QCOMPARE(field->text(), QString());
        const QImage withPreedit = field->grab().toImage();
        QInputMethodEvent cleared(QString(), {});
        QApplication::sendEvent(field, &cleared);
        QVERIFY(field->grab().toImage() != withPreedit);
        commit(field, QStringLiteral("ゆう"));
        QCOMPARE(field->text(), QStringLiteral("ゆう"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(prompt.result(), QStringLiteral("ゆう"));

        // The 255-byte limit holds for committed text, cut between characters.
        field->setText(QString(251, u'a'));
        commit(field, QStringLiteral("あいう"));
        QCOMPARE(field->text(), QString(251, u'a') + QStringLiteral("あい"));
        commit(field, QStringLiteral("え"));
        QCOMPARE(cp932Length(field->text()), 255);
        field->setText(QString(254, u'a'));
        commit(field, QStringLiteral("𠮷")); // never half of a double-byte character
        QCOMPARE(field->text(), QString(254, u'a'));
        commit(field, QStringLiteral("ｱ"));
        QCOMPARE(field->text(), QString(254, u'a') + QStringLiteral("ｱ"));
        field->setText(QString(252, u'a'));
        commit(field, QStringLiteral("か\u3099")); // nor a letter without its mark
        QCOMPARE(field->text(), QString(252, u'a'));
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
