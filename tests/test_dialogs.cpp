// Dialog geometry, the application title, the name field's byte limit and
// every way of answering the name prompt and the message box.
#include "dialogs.h"
#include "fixture.h"
#include "look.h"
#include "platform/readers.h"
#include "platform/wayland_titlebar.h"
#include "services.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

namespace {

using fixture::Answerer;
using fixture::typeText;

QString askName(Answerer &answerer, std::function<void(NamePrompt *)> action) {
    answerer.onPrompt = std::move(action);
    return Services::instance().askName(nullptr, QStringLiteral("ホシフルツルギⅡ"),
                                        QStringLiteral("名前を教えてちょ"),
                                        QStringLiteral("あなた"));
}

} // namespace

class DialogTest : public QObject {
    Q_OBJECT
    Answerer answerer;

private slots:
    void initTestCase() {
        fixture::setUp();
        Services::instance().setObserver(&answerer);
    }

    void messageGeometryFollowsTheUnits() {
        const CharSize size{6, 12};
        const MessageGeometry g = messageGeometry(size, QSize(20, 12), 75);
        QCOMPARE(g.client, QSize(99, 72));
        QCOMPARE(g.text.topLeft(), QPoint(12, 12));
        QCOMPARE(g.button, QRect(12, 39, 75, 21));
        // A text wider than the button widens the box by the margins only.
        const MessageGeometry wide = messageGeometry(size, QSize(300, 48), 75);
        QCOMPARE(wide.client, QSize(324, 108));
        QCOMPARE(wide.button, QRect(124, 75, 75, 21));
    }

    void promptGeometryFollowsTheUnits() {
        const PromptGeometry g = promptGeometry(CharSize{6, 12}, 18);
        QCOMPARE(g.client, QSize(270, 95));
        QCOMPARE(g.label, QPoint(12, 12));
        QCOMPARE(g.edit, QRect(12, 29, 246, 18));
        QCOMPARE(g.ok, QRect(57, 62, 75, 21));
        QCOMPARE(g.cancel, QRect(138, 62, 75, 21));
    }

    void unitsRoundHalvesUpward() {
        QCOMPARE(unitsX(1, CharSize{6, 12}), 2);   // 1.5
        QCOMPARE(unitsX(1, CharSize{5, 12}), 1);   // 1.25
        QCOMPARE(unitsY(63, CharSize{6, 12}), 95); // 94.5
        QCOMPARE(unitsY(3, CharSize{6, 13}), 5);   // 4.875
    }

    void applicationTitleComesFromTheFileName() {
        QCOMPARE(applicationTitle(QStringLiteral("C:/GAMES/STORY.V2.EXE")),
                 QStringLiteral("Story"));
        QCOMPARE(applicationTitle(QStringLiteral("/usr/games/hoshifuru2")),
                 QStringLiteral("hoshifuru2"));
        QCOMPARE(applicationTitle(QStringLiteral("./HOSHIFURU2")), QStringLiteral("Hoshifuru2"));
        QCOMPARE(applicationTitle(QStringLiteral("x")), QStringLiteral("x"));
    }

    void cp932CountsDoubleByteCharacters() {
        QCOMPARE(cp932Length(QStringLiteral("abc")), 3);
        QCOMPARE(cp932Length(QStringLiteral("あなた")), 6);
        QCOMPARE(cp932Length(QStringLiteral("ｱｲｳ")), 3);                 // half-width katakana
        QCOMPARE(cp932Length(QString::fromUtf8("\xF0\x9F\x98\x80")), 2); // one emoji, one slot
    }

    void promptAnswers_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("result");
        enum { Enter, Escape, CancelButton, CloseControl, OkButton };
        QTest::newRow("Enter at once") << QString() << int(Enter) << QStringLiteral("あなた");
        QTest::newRow("typed over the default")
            << QStringLiteral("ゆう") << int(Enter) << QStringLiteral("ゆう");
        QTest::newRow("OK button")
            << QStringLiteral("ゆう") << int(OkButton) << QStringLiteral("ゆう");
        QTest::newRow("Escape after editing")
            << QStringLiteral("ゆう") << int(Escape) << QStringLiteral("あなた");
        QTest::newRow("cancel button")
            << QStringLiteral("ゆう") << int(CancelButton) << QStringLiteral("あなた");
        QTest::newRow("close control")
            << QStringLiteral("ゆう") << int(CloseControl) << QStringLiteral("あなた");
        QTest::newRow("blanks kept")
            << QStringLiteral("  ゆ う ") << int(Enter) << QStringLiteral("  ゆ う ");
        QTest::newRow("markup literal")
            << QStringLiteral("<b>x</b>&&") << int(Enter) << QStringLiteral("<b>x</b>&&");
    }

    void promptAnswers() {
        QFETCH(QString, keys);
        QFETCH(int, ending);
        QFETCH(QString, result);
        QString shownDefault;
        bool allSelected = false;
        const QString name = askName(answerer, [&](NamePrompt *prompt) {
            shownDefault = prompt->field()->text();
            allSelected = prompt->field()->selectedText() == shownDefault;
            QCOMPARE(prompt->focusWidget(), prompt->field());
            typeText(prompt->field(), keys);
            switch (ending) {
            case 0:
                QTest::keyClick(prompt->field(), Qt::Key_Return);
                break;
            case 1:
                QTest::keyClick(prompt->field(), Qt::Key_Escape);
                break;
            case 2:
                prompt->cancelButton()->click();
                break;
            case 3:
                prompt->close();
                break;
            case 4:
                prompt->okButton()->click();
                break;
            }
        });
        QCOMPARE(shownDefault, QStringLiteral("あなた"));
        QVERIFY(allSelected);
        QCOMPARE(name, result);
    }

    void emptiedFieldGivesEmptyName() {
        const QString name = askName(answerer, [](NamePrompt *prompt) {
            QTest::keyClick(prompt->field(), Qt::Key_Backspace);
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        });
        QVERIFY(name.isEmpty());
    }

    void enterOnCancelCancels() {
        const QString name = askName(answerer, [](NamePrompt *prompt) {
            typeText(prompt->field(), QStringLiteral("ゆう"));
            prompt->cancelButton()->setFocus();
            QTest::keyClick(prompt->cancelButton(), Qt::Key_Return);
        });
        QCOMPARE(name, QStringLiteral("あなた"));
    }

    void fieldStopsAt255Bytes() {
        // 200 kanji would be 400 bytes: the field keeps 127 of them (254 bytes),
        // then one ASCII letter fits, then nothing more.
        const QString name = askName(answerer, [](NamePrompt *prompt) {
            typeText(prompt->field(), QString(200, QChar(0x6f22)));
            typeText(prompt->field(), QStringLiteral("ab"));
            typeText(prompt->field(), QStringLiteral("漢"));
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        });
        QCOMPARE(name, QString(127, QChar(0x6f22)) + u'a');
        QCOMPARE(cp932Length(name), 255);

        const QString ascii = askName(answerer, [](NamePrompt *prompt) {
            typeText(prompt->field(), QString(300, u'z'));
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        });
        QCOMPARE(ascii, QString(255, u'z'));
    }

    void pasteIsCutToWholeCharacters() {
        // A paste over the limit keeps what fits, never half a character.
        const QString name = askName(answerer, [](NamePrompt *prompt) {
            prompt->field()->setText(QString(254, u'x'));
            prompt->field()->end(false);
            prompt->field()->insert(QStringLiteral("漢字abc"));
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        });
        QCOMPARE(name, QString(254, u'x'));
        const QString surrogates = askName(answerer, [](NamePrompt *prompt) {
            prompt->field()->setText(QString(250, u'x'));
            prompt->field()->end(false);
            prompt->field()->insert(
                QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"));
            QTest::keyClick(prompt->field(), Qt::Key_Return);
        });
        QCOMPARE(surrogates,
                 QString(250, u'x') + QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"));
    }

    void promptUsesItsOwnFont() {
        NamePrompt prompt(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("d"), nullptr);
        const CharSize size = charSize(NamePrompt::dialogFont());
        const PromptGeometry g = promptGeometry(size, unitsY(12, size));
        QCOMPARE(prompt.size(), g.client);
        QCOMPARE(prompt.field()->geometry(), g.edit);
        QCOMPARE(prompt.okButton()->geometry(), g.ok);
        QCOMPARE(prompt.cancelButton()->geometry(), g.cancel);
        QVERIFY(prompt.okButton()->isDefault());
    }

    void messageBoxShowsTextLiterally() {
        const QString text = QStringLiteral("<b>x</b> <img src=x> && &amp;");
        MessageBox box(QStringLiteral("hoshifuru2"), text, nullptr);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.windowTitle(), QStringLiteral("hoshifuru2"));
        QCOMPARE(box.button()->text(), QStringLiteral("OK"));
        QVERIFY(box.button()->isDefault());
        // No child of the box interprets the text as markup.
        for (QLabel *label : box.findChildren<QLabel *>())
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void longWordsWrapWithinHalfTheScreen() {
        const int half = QApplication::primaryScreen()->geometry().width() / 2;
        const CharSize size = charSize(MessageBox::messageFont());
        const int margin = unitsX(8, size);
        MessageBox box(QString(), QString(400, u'W') + QStringLiteral("は先に進んだ。"), nullptr);
        QVERIFY2(box.width() <= half + 2 * margin, qPrintable(QString::number(box.width())));
        MessageBox shortBox(QString(), QStringLiteral("W"), nullptr);
        QVERIFY(box.height() > shortBox.height() * 2);
    }

    // Where the game draws the title bars (Wayland), the narrowest message
    // box the layout can give (a one-character text: the button's width and
    // the margins) still shows its whole title; the main window's title
    // keeps its icon and its size.
    void narrowestMessageBoxShowsItsWholeTitle() {
        const QString title = QStringLiteral("hoshifuru2");
        MessageBox box(title, QStringLiteral("！"), nullptr);
        platform::frameWindow(&box);
        const platform::TitleLayout narrow = platform::layOutTitle(box.width(), title, true, 1);
        QCOMPARE(narrow.text, title);
        QVERIFY(QFontMetrics(narrow.font).horizontalAdvance(title) <= narrow.rect.width());
        // Left of the close button (18 pixels, 8 from the edge).
        QVERIFY(narrow.rect.left() >= 0 && narrow.rect.right() < box.width() - 8 - 18);
        const platform::TitleLayout main =
            platform::layOutTitle(383 + 6, QStringLiteral("ホシフルツルギ２"), true, 2);
        QVERIFY(main.icon);
        QCOMPARE(main.font.pixelSize(), 14);
    }

    void everyWayDismissesAMessageBox_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Enter") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("Space") << 2;
        QTest::newRow("close control") << 3;
    }

    void everyWayDismissesAMessageBox() {
        QFETCH(int, way);
        answerer.onMessage = [way](MessageBox *box) {
            switch (way) {
            case 0:
                QTest::keyClick(box->button(), Qt::Key_Return);
                break;
            case 1:
                QTest::keyClick(box->button(), Qt::Key_Escape);
                break;
            case 2:
                QTest::keyClick(box->button(), Qt::Key_Space);
                break;
            case 3:
                box->close();
                break;
            }
        };
        answerer.messages.clear();
        Services::instance().message(nullptr, QStringLiteral("一"));
        Services::instance().message(nullptr, QStringLiteral("二"));
        answerer.onMessage = nullptr;
        QCOMPARE(answerer.messages, QStringList({QStringLiteral("一"), QStringLiteral("二")}));
    }
};

QTEST_MAIN(DialogTest)
#include "test_dialogs.moc"
