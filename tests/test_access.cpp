// What a screen reader learns through Qt's accessibility: role, name, state
// and actions of the widget kinds, the alert of a message box, the labelled
// name field, and the tree of a scene as it is on screen.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "platform/readers.h"
#include "services.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

using namespace layout;

namespace {

QAccessibleInterface *reader(QObject *object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString name(QObject *object) {
    return reader(object)->text(QAccessible::Name);
}

// What a reader presents of an interface's children: role and name of those
// not marked invisible, in order.
QStringList shown(QAccessibleInterface *parent) {
    QStringList lines;
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (!child->state().invisible)
            lines << QStringLiteral("%1 %2")
                         .arg(int(child->role()))
                         .arg(child->text(QAccessible::Name));
    }
    return lines;
}

QString line(QAccessible::Role role, const QString &text) {
    return QStringLiteral("%1 %2").arg(int(role)).arg(text);
}

// Counts what Qt asks the factories for these classes; makes nothing itself.
const QStringList lazyKinds = {"kinds::TPanel", "kinds::TImage", "kinds::TListBox"};
int asked = 0;
QAccessibleInterface *countingFactory(const QString &className, QObject *) {
    if (lazyKinds.contains(className))
        ++asked;
    return nullptr;
}

// Enter on the name prompt and on every message box, each through its window.
void answerThroughWindows(fixture::Answerer &answerer) {
    answerer.onMessage = [](MessageBox *box) {
        QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    };
}

} // namespace

class AccessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        platform::followReaders(); // as the game does once Qt has started
        fixture::setUp();
    }

    // First, while no reader has been listening. (Qt itself makes interfaces
    // for widgets whose text is set or that come on screen.)
    void startUpMakesNoInterfaceOfItsOwn() {
        QAccessible::installFactory(countingFactory);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        QCOMPARE(asked, 0);
        QCOMPARE(form.Box1->accessibleName(), QString());
        QAccessible::setActive(true); // a reader starts listening
        QCOMPARE(form.Box1->accessibleName(), QStringLiteral("行き先を選んで下さい"));
        QVERIFY(asked > 0);
        QAccessible::removeFactory(countingFactory);
    }

    void windowLabelsAndButtons() {
        TForm1 form;
        QCOMPARE(reader(&form)->role(), QAccessible::Window);
        QCOMPARE(name(&form), QStringLiteral("ホシフルツルギ２"));
        QCOMPARE(reader(form.Label1)->role(), QAccessible::StaticText);
        QCOMPARE(name(form.Label1), QStringLiteral("ホシフルツルギⅡ"));
        form.start->setCaption(QStringLiteral("A&B"));
        QCOMPARE(reader(form.start)->role(), QAccessible::Button);
        QCOMPARE(name(form.start), QStringLiteral("A&B"));
        QVERIFY(reader(form.start)->state().focusable);
    }

    void bitmapButtonIsAButtonWithAPressAction() {
        QWidget window;
        auto *button = new kinds::TBitBtn(&window, false);
        button->setText(QStringLiteral("R&D"));
        auto *closing = new kinds::TBitBtn(&window, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QAccessibleInterface *iface = reader(button);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("R&D")); // no mnemonic
        QCOMPARE(iface->text(QAccessible::Description), QString());
        QVERIFY(!reader(closing)->text(QAccessible::Description).isEmpty());
        QVERIFY(iface->state().focusable && !iface->state().pressed);
        button->setDown(true);
        QVERIFY(iface->state().pressed);
        button->setDown(false);

        QAccessibleActionInterface *actions = iface->actionInterface();
        QCOMPARE(actions->actionNames(),
                 QStringList({QAccessibleActionInterface::pressAction(),
                              QAccessibleActionInterface::setFocusAction()}));
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.count(), 0); // not inside the reader's request
        QTRY_COMPARE(clicks.count(), 1);
        button->hide();
        QVERIFY(iface->state().invisible);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), 1);
    }

    void panelsAndPicturesByWhatTheyShow() {
        TForm1 form;
        QCOMPARE(reader(form.hajimari)->role(), QAccessible::Grouping);
        QCOMPARE(name(form.hajimari), QStringLiteral("分かれ道")); // no caption
        // A caption padded with ideographic spaces is read without them; the
        // person it stands for describes the panel.
        QCOMPARE(name(form.namiki1), QStringLiteral("どうしますか？"));
        QCOMPARE(reader(form.namiki1)->text(QAccessible::Description), QStringLiteral("並木さん"));
        QCOMPARE(name(form.shiro), QStringLiteral("ホシフル城"));
        QCOMPARE(reader(form.shiro)->text(QAccessible::Description), QString());
        QCOMPARE(name(form.hime), QStringLiteral("お姫様")); // its caption is its own name
        QCOMPARE(name(form.nakama1), QStringLiteral("サスライの剣士"));

        QCOMPARE(reader(form.Image1)->role(), QAccessible::Graphic);
        QCOMPARE(name(form.Image1), QStringLiteral("村人の並木さん"));
        QCOMPARE(name(form.Image20), QStringLiteral("吹き出し「いらっしゃい 何を買う？」"));
        // Only the balloon's top 73 rows show.
        QCOMPARE(reader(form.Image20)->imageInterface()->imageSize(), QSize(100, 73));

        int panels = 0, pictures = 0;
        form.buildEverything();
        for (const TForm1::Built &built : form.built()) {
            QAccessibleInterface *iface = reader(built.widget);
            const QString text = iface->text(QAccessible::Name);
            if (built.row->kind == TPanel) {
                ++panels;
                QCOMPARE(iface->role(), QAccessible::Grouping);
                QVERIFY2(!text.isEmpty() && text != built.widget->objectName() &&
                             text == text.trimmed(),
                         built.row->name);
            } else if (built.row->kind == TImage) {
                ++pictures;
                QCOMPARE(iface->role(), QAccessible::Graphic);
                QVERIFY2(!text.isEmpty(), built.row->name);
                QCOMPARE(iface->imageInterface()->imageDescription(), text);
            }
        }
        QCOMPARE(panels, 39);
        QCOMPARE(pictures, 23);
    }

    void listsComboAndMemosWithTheirContents() {
        TForm1 form;
        QAccessible::setActive(true);
        QAccessibleInterface *list = reader(form.Box1);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("行き先を選んで下さい"));
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(1)->role(), QAccessible::ListItem);
        QCOMPARE(list->child(1)->text(QAccessible::Name), QStringLiteral("とりあえず西へ行く"));
        QVERIFY(!list->child(1)->state().selected);
        form.Box1->item(1)->setSelected(true);
        QVERIFY(list->child(1)->state().selected && !list->child(0)->state().selected);
        // The question is the list's name alone: readers that read a help
        // text (from Qt 6.8 on) would read it again as a hint. The entries
        // know their list, the list its entries.
        QVERIFY(list->text(QAccessible::Help).isEmpty());
        QCOMPARE(list->child(1)->parent(), list);
        QCOMPARE(list->indexOfChild(list->child(1)), 1);
        QCOMPARE(QAccessible::queryAccessibleInterface(form.Box1), list);
        QCOMPARE(name(form.moribox1), QStringLiteral("どちらへ行きますか？")); // by the caption
        QCOMPARE(name(form.List3), QStringLiteral("お姫様"));                  // by the person

        QAccessibleInterface *combo = reader(form.Box2);
        QCOMPARE(combo->role(), QAccessible::ComboBox);
        QCOMPARE(combo->text(QAccessible::Value), QStringLiteral("どうちます？"));
        QAccessibleInterface *entries = combo->child(0);
        QCOMPARE(entries->role(), QAccessible::List);
        QCOMPARE(entries->child(0)->text(QAccessible::Name), QStringLiteral("とりあえず話す"));
        form.Box2->setCurrentIndex(1);
        QCOMPARE(combo->text(QAccessible::Value), QStringLiteral("立ち去る"));

        QAccessibleInterface *memo = reader(form.memo1);
        QCOMPARE(memo->role(), QAccessible::EditableText);
        QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("並木さん"));
        QCOMPARE(memo->text(QAccessible::Value), form.memo1->lines().join(u'\n'));
        QCOMPARE(memo->text(QAccessible::Value).count(u'\n'), 4);
    }

    void messageBoxIsAnAlertWithItsText() {
        Services::instance().setApplicationTitle(QStringLiteral("Hoshifuru2"));
        const QString text = QStringLiteral("<b>ゆう</b>&は先に進むためしばらく歩いた。");
        QStringList seen;
        fixture::Answerer answerer;
        answerer.onMessage = [&seen](MessageBox *box) {
            QAccessibleInterface *alert = reader(box);
            QAccessibleTextInterface *own = alert->textInterface();
            seen << line(alert->role(), alert->text(QAccessible::Name))
                 << alert->text(QAccessible::Description)
                 << (own ? own->text(0, own->characterCount()) : QString()) << shown(alert);
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        };
        fixture::Observing observing(answerer);
        Services::instance().message(nullptr, text);
        observing.end();
        // Named by the game, not by the program file's name in its title bar;
        // its text is its static text, and with Qt 6.8 and later (whose
        // Orca reads an alert's description or own text, and Japanese static
        // text never) its description and its own text too.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        const QString own = text;
#else
        const QString own;
#endif
        QCOMPARE(seen,
                 QStringList({line(QAccessible::AlertMessage, QStringLiteral("ホシフルツルギ２")),
                              own, own, line(QAccessible::StaticText, text),
                              line(QAccessible::Button, QStringLiteral("OK"))}));
    }

    // The reader bridge's warnings that say nothing to the player are not
    // printed; every other warning is.
    void readerNoiseIsQuiet() {
        using platform::isReaderNoise;
        QVERIFY(isReaderNoise(QtWarningMsg, "default",
                              QStringLiteral("QSpiApplication::keyEventError "
                                             "org.freedesktop.DBus.Error.NoReply")));
        QVERIFY(isReaderNoise(QtWarningMsg, "default",
                              QStringLiteral("QSpiApplication::notifyKeyboardListenerCallback "
                                             "with no queued key called")));
        QVERIFY(isReaderNoise(QtWarningMsg, "qt.accessibility.atspi",
                              QStringLiteral("Could not find accessible on path: "
                                             "/org/a11y/atspi/accessible/2147483712")));
        QVERIFY(isReaderNoise(QtWarningMsg, "default",
                              QStringLiteral("WARNING Qt AtSpiAdaptor: Could not find accessible "
                                             "on path: /org/a11y/atspi/accessible/2147483712")));
        QVERIFY(
            isReaderNoise(QtWarningMsg, "qt.accessibility.atspi",
                          QStringLiteral("Subscription string not handled: \"Window:Destroy:\"")));
        QVERIFY(
            isReaderNoise(QtWarningMsg, "qt.accessibility.atspi",
                          QStringLiteral("AtSpiAdaptor::applicationInterface does not implement "
                                         "\"GetApplicationBusAddress\" "
                                         "\"/org/a11y/atspi/accessible/root\"")));
        QVERIFY(!isReaderNoise(QtWarningMsg, "qt.accessibility.atspi",
                               QStringLiteral("Cannot register with the accessibility bus")));
        QVERIFY(!isReaderNoise(QtCriticalMsg, "qt.accessibility.atspi",
                               QStringLiteral("Could not find accessible on path: /x")));
        QVERIFY(!isReaderNoise(QtWarningMsg, "qt.qpa.xcb",
                               QStringLiteral("Could not find accessible on path: /x")));
    }

    void promptFieldIsLabelledByThePrompt() {
        const QString label = QStringLiteral("名前&を教えてちょ");
        NamePrompt prompt(QStringLiteral("ホシフルツルギⅡ"), label, QStringLiteral("あなた"),
                          nullptr);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QCOMPARE(reader(&prompt)->role(), QAccessible::Dialog);
        QCOMPARE(name(&prompt), QStringLiteral("ホシフルツルギⅡ"));
        QCOMPARE(shown(reader(&prompt)),
                 QStringList(
                     {line(QAccessible::StaticText, label), line(QAccessible::EditableText, label),
                      line(QAccessible::Button, "OK"), line(QAccessible::Button, "キャンセル")}));
        QAccessibleInterface *field = reader(prompt.field());
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("あなた"));
        const auto labels = field->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), label);
        QCOMPARE(prompt.prompt(), label); // the '&' is shown, not a mnemonic
        // The default is one run of text, selected whole: a reader that reads
        // by runs says all of it.
        QAccessibleTextInterface *text = field->textInterface();
        int start = -1, end = -1;
        text->attributes(1, &start, &end);
        QCOMPARE(text->text(start, end), QStringLiteral("あなた"));
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), QStringLiteral("あなた"));
    }

    void treeListsWhatIsOnScreen() {
        fixture::Answerer answerer;
        answerThroughWindows(answerer);
        fixture::Observing observing(answerer);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QAccessibleInterface *window = reader(&form);
        QCOMPARE(window->childCount(), 54); // every scene, the hidden ones marked
        QCOMPARE(shown(window), QStringList({line(QAccessible::StaticText, "ホシフルツルギⅡ"),
                                             line(QAccessible::Button, "START")}));

        QTest::mouseClick(form.start, Qt::LeftButton, {}, form.start->rect().center());
        observing.end();
        QAccessible::setActive(true);
        form.activateWindow(); // as the window manager does after a dialog
        QVERIFY(QTest::qWaitForWindowActive(&form));

        QCOMPARE(shown(window), QStringList({line(QAccessible::Grouping, "分かれ道")}));
        QCOMPARE(shown(reader(form.hajimari)),
                 QStringList({line(QAccessible::StaticText, "行き先を選んで下さい"),
                              line(QAccessible::Button, "OK"),
                              line(QAccessible::List, "行き先を選んで下さい")}));
        form.buildEverything();
        for (const TForm1::Built &built : form.built()) {
            QAccessibleInterface *iface = reader(built.widget);
            QVERIFY2(iface->state().invisible == !built.widget->isVisible(), built.row->name);
            if (built.widget->isVisible())
                QVERIFY(window->rect().contains(iface->rect()));
        }
        // The focus is in the new scene, on the list that asks its question.
        QCOMPARE(QApplication::focusWidget(), form.Box1);
        QVERIFY(reader(form.Box1)->state().focused);
    }
};

QTEST_MAIN(AccessTest)
#include "test_access.moc"
