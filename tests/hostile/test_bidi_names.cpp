// A player's name never changes how the text around it is shown: names with
// right-to-left overrides, stray or unclosed isolates, right-to-left letters
// and paragraph separators are pasted into the real name prompt, the north
// road is walked to the message that begins with the name, and that message
// box's text, as painted, must look exactly like the same message with the
// name's letters already in the order they show in (no direction marks).
// What is stored and what the box reports as its text stay as typed. A name
// inside a narration, with text on both sides, is kept from both.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "player.h"
#include "services.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>

namespace {

const QString walkedOn = QStringLiteral("は先に進むためしばらく歩いた。");

// Pastes the name into the prompt, and keeps a picture of the text of every
// message box that opens.
class Painter : public fixture::Answerer {
public:
    QString name;
    QList<QImage> pictures;

    Painter() {
        onPrompt = [this](NamePrompt *prompt) {
            QGuiApplication::clipboard()->setText(name);
            QTest::keyClick(prompt->field(), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        };
        onMessage = [this](MessageBox *box) {
            pictures << textPicture(box);
            QTest::keyClick(box->button(), Qt::Key_Return);
        };
    }

    static QImage textPicture(MessageBox *box) {
        auto *view = box->findChild<PlainTextView *>();
        return view ? view->grab().toImage() : QImage();
    }
};

} // namespace

class BidiNamesTest : public QObject {
    Q_OBJECT

    Painter painter;
    TForm1 *form = nullptr;

    // START with the name, then north past the villager: the third message
    // begins with the name.
    void walkNorth(const QString &name) {
        painter.name = name;
        painter.messages.clear();
        painter.pictures.clear();
        for (QWidget *widget : form->topLevelWidgets())
            widget->hide();
        form->start->show();
        clickWidget(form->start);
        chooseEntry(form->Box1, 0);
        clickWidget(form->BitBtn1);
        clickWidget(form->namiki);
        chooseEntry(form->Box2, 0);
        clickWidget(form->BitBtn2);
        clickWidget(form->BitBtn5);
    }

private slots:
    void initTestCase() {
        fixture::setUp();
        Services::instance().setObserver(&painter);
        form = new TForm1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanupTestCase() {
        Services::instance().setObserver(nullptr);
        delete form;
    }

    void nameStaysInsideItsPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("seen"); // the name's letters as they show
        QTest::newRow("right-to-left override left open")
            << QStringLiteral("\u202Eabc") << QStringLiteral("cba");
        QTest::newRow("stray isolate end, then an override")
            << QStringLiteral("\u2069\u202Eabc") << QStringLiteral("cba");
        QTest::newRow("right-to-left isolate left open")
            << QStringLiteral("\u2067abc") << QStringLiteral("abc");
        QTest::newRow("override around punctuation")
            << QStringLiteral("\u202Exy!") << QStringLiteral("!yx");
        QTest::newRow("plain") << QStringLiteral("ゆう") << QStringLiteral("ゆう");
    }

    void nameStaysInsideItsPlace() {
        QFETCH(QString, name);
        QFETCH(QString, seen);
        walkNorth(name);
        QCOMPARE(PlayerName, name);
        QCOMPARE(painter.messages.size(), 4);
        QCOMPARE(painter.messages.at(2), name + walkedOn);

        MessageBox expected(Services::instance().applicationTitle(), seen + walkedOn, nullptr);
        const QImage want = Painter::textPicture(&expected);
        const QImage got = painter.pictures.at(2);
        if (got != want) {
            const QString stem = QDir::tempPath() + QStringLiteral("/bidi-") +
                                 QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
            got.save(stem + QStringLiteral("-got.png"));
            want.save(stem + QStringLiteral("-want.png"));
            QFAIL(
                qPrintable(QStringLiteral("the message is painted otherwise than \"%1\" (%2-*.png)")
                               .arg(seen + walkedOn, stem)));
        }
    }

    // A narration may put the name anywhere in its sentence: the text on
    // either side of it shows as if the name had no direction marks.
    void nameInsideANarrationStaysInItsPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("seen");
        QTest::newRow("right-to-left override left open")
            << QStringLiteral("\u202Eabc") << QStringLiteral("cba");
        QTest::newRow("stray isolate end, then an override")
            << QStringLiteral("\u2069\u202Eabc") << QStringLiteral("cba");
        QTest::newRow("plain") << QStringLiteral("Alex") << QStringLiteral("Alex");
    }
    void nameInsideANarrationStaysInItsPlace() {
        QFETCH(QString, name);
        QFETCH(QString, seen);
        const QString pattern = QStringLiteral("Then %1 walked on, 12 steps.");
        const StoryText story(pattern, name);
        QCOMPARE(story.text(), pattern.arg(name));
        QCOMPARE(story.nameStart(), 5);
        QCOMPARE(story.nameLength(), name.size());
        MessageBox got(Services::instance().applicationTitle(), story, nullptr);
        MessageBox want(Services::instance().applicationTitle(), pattern.arg(seen), nullptr);
        QCOMPARE(got.text(), pattern.arg(name));
        QVERIFY(Painter::textPicture(&got) == Painter::textPicture(&want));
    }
};

QTEST_MAIN(BidiNamesTest)
#include "test_bidi_names.moc"
