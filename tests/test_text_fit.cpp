// Every authored text on screen as the layout was made: memo lines on one
// row each at the layout's 12-pixel pitch, hand-made line breaks where a
// row is full, labels as large as their text, nothing cut by a frame.
#include "accessibility.h"
#include "form1.h"
#include "look.h"
#include "platform/readers.h"
#include "services.h"
#include "widgets.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace layout;

namespace {

// Rows of one memo line as the memo lays it out.
int rowsOf(const kinds::TMemo *memo, int line) {
    const QTextBlock block = memo->document()->findBlockByNumber(line);
    memo->document()->documentLayout()->blockBoundingRect(block); // lays it out
    return block.layout()->lineCount();
}

// Width of the memo's text area: the rows wrap at its right edge.
int textWidth(const kinds::TMemo *memo) {
    return memo->viewport()->width() - 2 * int(memo->document()->documentMargin());
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installLook();
        accessibility::installInterfaces();
        platform::installReaderBridgeFixes();
        Services::instance().setSilent(true);
        m_form = new TForm1;
        m_form->buildEverything();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        // Every scene on screen once, so that each memo has laid out its
        // text at its real width.
        for (QWidget *scene : m_form->topLevelWidgets()) {
            scene->show();
            QCoreApplication::processEvents();
        }
    }
    void cleanupTestCase() { delete m_form; }

    void memoLinesKeepOneRowEach() {
        QStringList wrapped;
        int lines = 0;
        for (const TForm1::Built &built : m_form->built()) {
            const auto *memo = qobject_cast<const kinds::TMemo *>(built.widget);
            if (!memo)
                continue;
            const QStringList text = memo->lines();
            for (int i = 0; i < text.size(); ++i, ++lines) {
                if (rowsOf(memo, i) != 1)
                    wrapped << memo->objectName() + QStringLiteral(": ") + text[i];
            }
        }
        qInfo("%d memo lines, %lld wrapped", lines, qlonglong(wrapped.size()));
        QCOMPARE(lines, 44);
        QVERIFY2(wrapped.isEmpty(), qPrintable(wrapped.join(u'\n')));
    }

    void memoRowsLieOnTheLineGrid() {
        for (const TForm1::Built &built : m_form->built()) {
            const auto *memo = qobject_cast<const kinds::TMemo *>(built.widget);
            if (!memo)
                continue;
            const int pitch = -built.font.height;
            const int margin = int(memo->document()->documentMargin());
            QCOMPARE(margin, 1);
            // Inside a two-pixel sunken frame.
            QCOMPARE(memo->viewport()->geometry(), memo->rect().adjusted(2, 2, -2, -2));
            const QTextDocument *document = memo->document();
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                QTextCursor cursor(block);
                const QRect row = memo->cursorRect(cursor);
                QCOMPARE(row.top(), margin + block.blockNumber() * pitch);
                QCOMPARE(row.height(), pitch);
            }
        }
    }

    // A line the author ended by hand (other than the speaker's name) ends
    // where the row is full: the next line's first character would not fit.
    void handMadeBreaksFallWhereRowsAreFull() {
        int breaks = 0, full = 0;
        QStringList early;
        for (const TForm1::Built &built : m_form->built()) {
            const auto *memo = qobject_cast<const kinds::TMemo *>(built.widget);
            if (!memo)
                continue;
            const QFontMetrics metrics(memo->font());
            const QStringList text = memo->lines();
            for (int i = 1; i + 1 < text.size(); ++i) {
                ++breaks;
                const QString joined = text[i] + text[i + 1].left(1);
                if (metrics.horizontalAdvance(joined) > textWidth(memo))
                    ++full;
                else
                    early << memo->objectName() + QStringLiteral(": ") + text[i];
            }
        }
        qInfo("%d of %d hand-made breaks where the row is full; early: %s", full, breaks,
              qPrintable(early.join(QStringLiteral(", "))));
        QCOMPARE(breaks, 26);
        QVERIFY2(full >= 25, qPrintable(early.join(u'\n')));
    }

    void labelsHoldTheirWholeText() {
        int labels = 0;
        for (const TForm1::Built &built : m_form->built()) {
            const auto *label = qobject_cast<const kinds::TLabel *>(built.widget);
            if (!label)
                continue;
            ++labels;
            const QFontMetrics metrics(label->font());
            const QRect area = label->contentsRect();
            const QRect ink = metrics.boundingRect(label->text())
                                  .translated(area.left(), area.top() + metrics.ascent());
            QVERIFY2(label->rect().contains(ink),
                     qPrintable(QStringLiteral("%1: ink %2,%3 %4x%5 in %6x%7")
                                    .arg(label->objectName())
                                    .arg(ink.x())
                                    .arg(ink.y())
                                    .arg(ink.width())
                                    .arg(ink.height())
                                    .arg(label->width())
                                    .arg(label->height())));
            QVERIFY2(label->width() >= metrics.horizontalAdvance(label->text()),
                     qPrintable(label->objectName()));
            QVERIFY(label->height() >= metrics.height());
            QVERIFY(label->rect().contains(area));
        }
        QCOMPARE(labels, 20);
    }

private:
    TForm1 *m_form = nullptr;
};

QTEST_MAIN(TextFitTest)
#include "test_text_fit.moc"
