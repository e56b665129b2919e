// Hostile player names through the real START handler and its name prompt:
// markup, ampersands, tabs and control characters, bidirectional marks,
// combining marks, emoji and other characters outside code page 932, and
// pastes of ten thousand characters. Each name is typed key by key or pasted
// with Ctrl+V into the prompt's field and confirmed with Enter; then the
// player walks the north road to the message that begins with the name.
//
// For every name: nothing crashes, the stored name fits the 255-byte field of
// code page 932, never ends in half a character, holds one line (a paste
// keeps its first line; a line or paragraph break typed inserts nothing), is
// what the field kept of the input (a prefix cut at a character boundary, as
// long as fits), and the messages show it exactly as stored, never as markup.
// No message box, however long its text, is taller than the screen.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "player.h"
#include "services.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>
#include <QTextBoundaryFinder>
#include <cstdint>
#include <vector>

namespace {

const QString defaultName = QStringLiteral("あなた");
const QString welcome = QStringLiteral("ようこそ!冒険の島へ!さあ旅の始まりです。");
const QString northWalk =
    QStringLiteral("北に向かうことにした。しばらく歩くと怪しい人影を見つけた。");
const QString walkedOn = QStringLiteral("は先に進むためしばらく歩いた。");
const QString exclamations = QStringLiteral("！！！！！！！");
constexpr int byteLimit = 255;

QString fromUcs4(std::initializer_list<char32_t> codePoints) {
    QString text;
    for (const char32_t c : codePoints)
        text += QString::fromUcs4(&c, 1);
    return text;
}

// A small deterministic generator; the same names on every machine.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : m_state(seed) {}

    std::uint32_t next() {
        // xorshift64*
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return std::uint32_t((m_state * 0x2545F4914F6CDD1DULL) >> 32);
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

    const QString &piece() { return pieces()[size_t(below(int(pieces().size())))]; }
    const QString &wide() { return wides()[size_t(below(int(wides().size())))]; }

    // A name of a few hostile pieces.
    QString shortName() {
        QString name;
        const int count = below(9);
        for (int i = 0; i < count; ++i)
            name += piece();
        return name;
    }

    // A name around the byte limit: two-byte characters and single bytes up
    // to within a few bytes of 255, then pieces that straddle the limit.
    QString nearLimit() {
        QString name;
        const int target = byteLimit - 8 + below(12);
        while (cp932Length(name) < target)
            name += chance(70) ? wide() : QStringLiteral("a");
        const int tail = 1 + below(4);
        for (int i = 0; i < tail; ++i)
            name += piece();
        return name;
    }

    // A paste of at least `units` UTF-16 code units, never splitting a pair.
    QString huge(int units) {
        QString name;
        while (name.size() < units)
            name += chance(50) ? piece() : wide();
        return name;
    }

private:
    static const std::vector<QString> &pieces() {
        static const std::vector<QString> list = {
            // markup and format strings
            QStringLiteral("<b>x</b>"), QStringLiteral("<img src=x>"),
            QStringLiteral("<a href=\"y\">z</a>"), QStringLiteral("<br>"), QStringLiteral("<!--"),
            QStringLiteral("&"), QStringLiteral("&amp;"), QStringLiteral("&&"),
            QStringLiteral("&O"), QStringLiteral("%1"), QStringLiteral("%n"), QStringLiteral("\\"),
            QStringLiteral("\""), QStringLiteral("'"),
            // blanks, tabs and control characters
            QStringLiteral(" "), QStringLiteral("\t"), QStringLiteral("\n"), QStringLiteral("\r\n"),
            QString(QChar(0)), QStringLiteral("\x01"), QStringLiteral("\x1b[31m"),
            QStringLiteral("\x7f"), fromUcs4({0x85}), fromUcs4({0x3000}), fromUcs4({0x2028}),
            fromUcs4({0x2029}), QStringLiteral("\v\f\r"),
            // bidirectional and other format marks
            fromUcs4({0x200E}), fromUcs4({0x200F}), fromUcs4({0x202E}), fromUcs4({0x2066}),
            fromUcs4({0x2069}), fromUcs4({0x200D}), fromUcs4({0xFEFF}), fromUcs4({0xAD}),
            // combining marks, alone and on a base
            fromUcs4({0x301}), fromUcs4({'e', 0x301}), fromUcs4({0x304B, 0x3099}),
            fromUcs4({'a', 0x20DD}), fromUcs4({'o', 0x308, 0x304, 0x323}),
            // emoji and other characters outside code page 932
            fromUcs4({0x1F600}), fromUcs4({0x1F469, 0x200D, 0x1F4BB}), fromUcs4({0x1F1EF, 0x1F1F5}),
            fromUcs4({0x1F44D, 0x1F3FD}), fromUcs4({0x20BB7}), fromUcs4({0xE9}), fromUcs4({0xDF}),
            fromUcs4({0xD55C}), fromUcs4({0x627}), fromUcs4({0x915, 0x94D, 0x937}),
            fromUcs4({0xE000}),
            // ordinary names and marks of the game's own texts
            QStringLiteral("ゆうしゃ"), QStringLiteral("勇者"), QStringLiteral("ｱｲｳ"),
            QStringLiteral("ー"), QStringLiteral("―"), QStringLiteral("①"), QStringLiteral("Ⅱ"),
            QStringLiteral("Taro"), QStringLiteral("a"), QStringLiteral("0123456789"), defaultName,
            QStringLiteral("た")};
        return list;
    }
    static const std::vector<QString> &wides() {
        static const std::vector<QString> list = {
            QStringLiteral("あ"), QStringLiteral("な"), QStringLiteral("た"),
            QStringLiteral("勇"), QStringLiteral("者"), QStringLiteral("Ａ"),
            QStringLiteral("ー"), fromUcs4({0x1F600}),  fromUcs4({0xE9})};
        return list;
    }

    std::uint64_t m_state;
};

bool hasLoneSurrogate(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 == text.size() || !text[i + 1].isLowSurrogate())
                return true;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

// The code points of a text, each as its own string (a pair stays whole).
QStringList codePoints(const QString &text) {
    QStringList list;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        list << text.mid(i, length);
        i += length - 1;
    }
    return list;
}

// The line and paragraph breaks a one-line field keeps out.
qsizetype firstBreak(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (QStringView(u"\n\v\f\r\u0085\u2028\u2029").contains(text[i]))
            return i;
    }
    return -1;
}

// What typing `input` key by key over the selected default leaves in a field
// that holds at most 255 bytes: a key whose character would pass the limit
// inserts nothing, control characters are no characters a key can type, and
// a line or paragraph separator typed inserts nothing.
QString typedResult(const QString &input) {
    QString name = defaultName;
    bool replaced = false;
    for (const QString &c : codePoints(input)) {
        if (c.size() == 1 && (c[0].category() == QChar::Other_Control || firstBreak(c) == 0))
            continue;
        const QString candidate = (replaced ? name : QString()) + c;
        if (cp932Length(candidate) <= byteLimit) {
            name = candidate;
            replaced = true;
        }
    }
    return name;
}

enum class Entry { Typed, Pasted };

// Answers the prompt with the current name and every message box with Enter,
// recording what was shown.
class Feeder : public fixture::Answerer {
public:
    Entry entry = Entry::Typed;
    QString input;
    QString fieldAfterEntry;
    QString promptResult;
    QStringList markupWidgets; // message boxes that hold a label reading markup

    Feeder() {
        onPrompt = [this](NamePrompt *prompt) {
            QLineEdit *field = prompt->field();
            if (entry == Entry::Typed) {
                for (const QString &c : codePoints(input))
                    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, c, Qt::NoModifier);
            } else {
                QGuiApplication::clipboard()->setText(input);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            }
            fieldAfterEntry = field->text();
            QTest::keyClick(field, Qt::Key_Return);
        };
        onMessage = [this](MessageBox *box) {
            for (const QLabel *label : box->findChildren<QLabel *>()) {
                if (label->textFormat() != Qt::PlainText)
                    markupWidgets << label->text();
            }
            QTest::keyClick(box->button(), Qt::Key_Return);
        };
    }
    void promptClosed(NamePrompt *, const QString &result) override { promptResult = result; }
};

} // namespace

class HostileNamesTest : public QObject {
    Q_OBJECT

    Feeder feeder;
    TForm1 *form = nullptr;

    // START with the name, then the road to the message that begins with it.
    // Returns whether the road reached the Demon King's encounter button.
    bool playRound(Entry entry, const QString &input) {
        feeder.entry = entry;
        feeder.input = input;
        feeder.messages.clear();
        feeder.markupWidgets.clear();
        feeder.promptResult = QStringLiteral("(no prompt)");
        // Back to the opening: only START shown, as after the Well of Time.
        for (QWidget *widget : form->topLevelWidgets())
            widget->hide();
        form->start->show();

        clickWidget(form->start);
        if (!form->hajimari->isVisible())
            return false;
        chooseEntry(form->Box1, 0);
        clickWidget(form->BitBtn1);
        if (!form->namiki->isVisible())
            return false;
        clickWidget(form->namiki);
        chooseEntry(form->Box2, 0);
        clickWidget(form->BitBtn2);
        if (!form->Panel1->isVisible())
            return false;
        clickWidget(form->BitBtn5);
        return form->daimaou->isVisible();
    }

    // The checks every name must pass, whatever way it was entered.
    void checkStoredName(const QString &input, bool walked) {
        const QString context = QStringLiteral("input %1").arg(describe(input));
        const QByteArray where = context.toUtf8();
        QVERIFY2(walked, where.constData());
        QCOMPARE(feeder.promptResult, PlayerName);
        QCOMPARE(feeder.fieldAfterEntry, PlayerName);
        QVERIFY2(cp932Length(PlayerName) <= byteLimit, where.constData());
        QVERIFY2(!hasLoneSurrogate(PlayerName), where.constData());
        const QStringList expected{welcome, northWalk, PlayerName + walkedOn, exclamations};
        QCOMPARE(feeder.messages, expected);
        QVERIFY2(feeder.markupWidgets.isEmpty(), where.constData());
    }

    static QString describe(const QString &text) {
        QString shown;
        for (const QString &c : codePoints(text.left(40))) {
            const char32_t cp = c.toUcs4().value(0);
            shown +=
                (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || c[0].category() == QChar::Other_Format)
                    ? QStringLiteral("\\u{%1}").arg(uint(cp), 0, 16)
                    : c;
        }
        return QStringLiteral("\"%1\"%2 (%3 units)")
            .arg(shown, text.size() > 40 ? QStringLiteral("…") : QString())
            .arg(text.size());
    }

    // A pasted name: what the field kept is a prefix of the paste that ends
    // between two characters, and is as long as the limit allows: at least
    // every whole grapheme that fits, at most every code point that fits.
    void checkPasted(const QString &pasted) {
        if (pasted.isEmpty()) {
            QCOMPARE(PlayerName, QString());
            return;
        }
        // The first line of the paste; none leaves the default as it was.
        const QString input = pasted.left(firstBreak(pasted));
        if (input.isEmpty()) {
            QCOMPARE(PlayerName, defaultName);
            return;
        }
        const qsizetype shortest = fittingPrefix(input, true);
        const qsizetype longest = fittingPrefix(input, false);
        const bool kept = input.startsWith(PlayerName) && PlayerName.size() >= shortest &&
                          PlayerName.size() <= longest;
        const QString report = QStringLiteral("pasted %1 kept %2 (%3 units; %4 to %5 expected)")
                                   .arg(describe(input), describe(PlayerName))
                                   .arg(PlayerName.size())
                                   .arg(shortest)
                                   .arg(longest);
        QVERIFY2(kept, report.toUtf8().constData());
    }

    // Length of the longest prefix of text within the byte limit that ends on
    // a grapheme boundary (or a code point boundary).
    static qsizetype fittingPrefix(const QString &text, bool wholeGraphemes) {
        qsizetype fits = 0;
        if (wholeGraphemes) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
            for (qsizetype at = graphemes.toNextBoundary(); at > 0;
                 at = graphemes.toNextBoundary()) {
                if (cp932Length(text.left(at)) > byteLimit)
                    break;
                fits = at;
            }
            return fits;
        }
        for (const QString &c : codePoints(text)) {
            if (cp932Length(text.left(fits + c.size())) > byteLimit)
                break;
            fits += c.size();
        }
        return fits;
    }

private slots:
    void initTestCase() {
        fixture::setUp();
        Services::instance().setObserver(&feeder);
        form = new TForm1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanupTestCase() {
        Services::instance().setObserver(nullptr);
        delete form;
    }

    // The byte count the limit rests on agrees with a real code page 932
    // encoder for every text that encoder can write.
    void byteCountMatchesTheCodePage() {
        QStringEncoder encoder("windows-31j");
        if (!encoder.isValid())
            encoder = QStringEncoder("Shift_JIS");
        if (!encoder.isValid())
            QSKIP("this Qt has no code page 932 encoder");
        Generator generator(0x5eed0932);
        const QStringList alphabet = {
            QStringLiteral("a"),  QStringLiteral("~"),  QStringLiteral(" "),  QStringLiteral("ｱ"),
            QStringLiteral("ﾟ"),  QStringLiteral("｡"),  QStringLiteral("あ"), QStringLiteral("勇"),
            QStringLiteral("Ａ"), QStringLiteral("ー"), QStringLiteral("―"),  QStringLiteral("　"),
            QStringLiteral("！"), QStringLiteral("『"), QStringLiteral("Ⅱ"),  QStringLiteral("①"),
            QStringLiteral("＼"), QStringLiteral("\t")};
        int compared = 0;
        for (int i = 0; i < 2000; ++i) {
            QString text;
            const int length = generator.below(40);
            for (int k = 0; k < length; ++k)
                text += alphabet[generator.below(int(alphabet.size()))];
            QStringEncoder fresh(encoder.name());
            const QByteArray bytes = fresh.encode(text);
            if (fresh.hasError())
                continue;
            QCOMPARE(cp932Length(text), int(bytes.size()));
            ++compared;
        }
        QVERIFY(compared > 1000);
    }

    void typedNames_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("nothing typed") << QString();
        QTest::newRow("only control characters") << QStringLiteral("\t\x01\x7f\n");
        QTest::newRow("markup") << QStringLiteral("<b>x</b><img src=x>&amp;&");
        QTest::newRow("exactly 255 bytes") << QString(127, u'あ') + u'a';
        QTest::newRow("254 bytes then a wide one, then a narrow one")
            << QString(127, u'あ') + u'い' + u'b';
        QTest::newRow("254 bytes then emoji") << QString(127, u'勇') + fromUcs4({0x1F600});
        QTest::newRow("255 bytes then a combining mark")
            << QString(127, u'あ') + u'e' + fromUcs4({0x301});
        QTest::newRow("ten thousand keys") << Generator(7).huge(10000);
        QTest::newRow("line and paragraph separators")
            << QStringLiteral("Ta") + fromUcs4({0x2028}) + QStringLiteral("ro") +
                   fromUcs4({0x2029});
        Generator generator(0x4e414d45);
        for (int i = 0; i < 1100; ++i) {
            const QString name = generator.chance(60)   ? generator.shortName()
                                 : generator.chance(90) ? generator.nearLimit()
                                                        : generator.huge(600);
            QTest::addRow("typed %d", i) << name;
        }
    }

    void typedNames() {
        QFETCH(QString, input);
        const bool walked = playRound(Entry::Typed, input);
        checkStoredName(input, walked);
        QCOMPARE(PlayerName, typedResult(input));
    }

    void pastedNames_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("empty clipboard") << QString();
        QTest::newRow("markup") << QStringLiteral("<b>x</b><img src=x>&amp;&");
        QTest::newRow("tabs and controls") << QStringLiteral("a\tb\x01"
                                                             "c\x1b[31md");
        QTest::newRow("exactly 255 bytes") << QString(127, u'あ') + u'a';
        QTest::newRow("256 bytes") << QString(128, u'あ');
        QTest::newRow("emoji across the limit") << QString(127, u'あ') + fromUcs4({0x1F600});
        QTest::newRow("ten thousand characters") << QString(10000, u'x');
        QTest::newRow("ten thousand ending as the default ends")
            << QString(9999, u'x') + QStringLiteral("た");
        QTest::newRow("ten thousand ending in the default") << QString(9997, u'x') + defaultName;
        QTest::newRow("ten thousand starting with the default")
            << defaultName + QString(9997, u'x');
        QTest::newRow("a thousand line feeds") << QString(1000, u'\n');
        QTest::newRow("a thousand line separators") << QString(1000, QChar::LineSeparator);
        QTest::newRow("two lines") << QStringLiteral("Taro\r\nHanako\r\n");
        QTest::newRow("two paragraphs")
            << QStringLiteral("勇者") + QChar::ParagraphSeparator + QStringLiteral("Hanako");
        Generator generator(0x50415354);
        for (int i = 0; i < 1100; ++i) {
            const int kind = generator.below(100);
            const QString name = kind < 45   ? generator.shortName()
                                 : kind < 85 ? generator.nearLimit()
                                             : generator.huge(10000);
            QTest::addRow("pasted %d", i) << name;
        }
    }

    void pastedNames() {
        QFETCH(QString, input);
        const bool walked = playRound(Entry::Pasted, input);
        checkStoredName(input, walked);
        checkPasted(input);
    }

    // A message of a thousand lines: the box with its OK button stays within
    // the screen's available area, and its text is still the whole text.
    void tallMessageFitsTheScreen() {
        QString text;
        for (int i = 0; i < 1000; ++i)
            text += QStringLiteral("行%1\n").arg(i);
        MessageBox box(QStringLiteral("Hoshifuru2"), StoryText(text), form);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect available = box.screen()->availableGeometry();
        QVERIFY2(available.contains(box.frameGeometry()),
                 qPrintable(QStringLiteral("box %1×%2 at %3,%4 on an available area of %5×%6")
                                .arg(box.frameGeometry().width())
                                .arg(box.frameGeometry().height())
                                .arg(box.frameGeometry().x())
                                .arg(box.frameGeometry().y())
                                .arg(available.width())
                                .arg(available.height())));
        QVERIFY(box.rect().contains(box.button()->geometry()));
        QCOMPARE(box.text(), text);
    }
};

QTEST_MAIN(HostileNamesTest)
#include "test_hostile_names.moc"
