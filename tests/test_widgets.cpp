// How the widget kinds paint and behave: panel rings, the bitmap button's
// face, and the index rules of list and combo boxes.
#include "fixture.h"
#include "widgets.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

using namespace layout;

namespace {

QRgb at(const QImage &image, int x, int y) {
    return image.pixel(x, y);
}
QRgb rgb(ColorName color) {
    return colorValue(color).rgb();
}

} // namespace

class WidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::setUp(); }

    void panelPaintsItsRingsInOrder() {
        kinds::TPanel::Frame frame{bvRaised, bvLowered, 2, 1, true};
        kinds::TPanel panel(nullptr, frame, clYellow);
        panel.resize(40, 30);
        const QImage image = panel.grab().toImage();
        const QRgb light = rgb(clBtnHighlight), shadow = rgb(clBtnShadow);
        const QRgb own = rgb(clYellow);
        // Sunken single frame.
        QCOMPARE(at(image, 0, 0), shadow);
        QCOMPARE(at(image, 39, 29), light);
        QCOMPARE(at(image, 1, 1), rgb(clWindowFrame));
        QCOMPARE(at(image, 38, 28), rgb(clBtnFace));
        // Raised outer bevel, two rings.
        QCOMPARE(at(image, 2, 10), light);
        QCOMPARE(at(image, 3, 10), light);
        QCOMPARE(at(image, 37, 10), shadow);
        QCOMPARE(at(image, 36, 10), shadow);
        // Border in the panel's colour, then the lowered inner bevel.
        QCOMPARE(at(image, 4, 10), own);
        QCOMPARE(at(image, 5, 10), shadow);
        QCOMPARE(at(image, 6, 10), shadow);
        QCOMPARE(at(image, 34, 10), light);
        QCOMPARE(at(image, 7, 10), own);
        QCOMPARE(panel.innerRect(), QRect(7, 7, 26, 16));
    }

    void panelWithDefaultsHasOneRaisedRing() {
        kinds::TPanel panel(nullptr, kinds::TPanel::Frame{}, clLime);
        panel.resize(20, 20);
        const QImage image = panel.grab().toImage();
        QCOMPARE(at(image, 0, 5), rgb(clBtnHighlight));
        QCOMPARE(at(image, 19, 5), rgb(clBtnShadow));
        QCOMPARE(at(image, 1, 5), rgb(clLime));
    }

    void panelCaptionIsCentred() {
        kinds::TPanel panel(nullptr, kinds::TPanel::Frame{}, clWhite);
        panel.setFont(fontValue(windowFont));
        panel.resize(101, 41);
        panel.setCaption(QStringLiteral("■"));
        const QImage image = panel.grab().toImage();
        int left = 100, right = 0, top = 40, bottom = 0;
        for (int y = 1; y < 40; ++y)
            for (int x = 1; x < 100; ++x)
                if (at(image, x, y) != rgb(clWhite)) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        QVERIFY(right > left);
        QVERIFY2(std::abs((left + right) - 100) <= 2,
                 qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
        QVERIFY2(std::abs((top + bottom) - 40) <= 4,
                 qPrintable(QStringLiteral("%1..%2").arg(top).arg(bottom)));
    }

    void bitmapButtonFaceRaisedAndPressed() {
        kinds::TBitBtn button(nullptr, false);
        button.setFont(fontValue(FontSpec{PGothic, -12, fsBold, clWindowText}));
        button.setText(QStringLiteral("OK"));
        button.resize(75, 25);
        const QImage raised = button.grab().toImage();
        QCOMPARE(at(raised, 0, 0), rgb(clBtnHighlight));
        QCOMPARE(at(raised, 74, 24), rgb(clWindowFrame));
        QCOMPARE(at(raised, 73, 23), rgb(clBtnShadow));
        QCOMPARE(at(raised, 1, 1), rgb(clBtnFace));

        button.setDown(true);
        const QImage pressed = button.grab().toImage();
        QCOMPARE(at(pressed, 0, 0), rgb(clBtnShadow));
        QCOMPARE(at(pressed, 74, 24), rgb(clBtnShadow));
        QCOMPARE(at(pressed, 1, 1), rgb(clBtnFace));
        // The caption moves one pixel right and one down.
        int inked = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 10; x < 64; ++x) {
                if (at(raised, x, y) != rgb(clBtnFace)) {
                    ++inked;
                    QCOMPARE(at(pressed, x + 1, y + 1), at(raised, x, y));
                }
            }
        QVERIFY(inked > 10);
    }

    void bitmapButtonFocusOutlineAndDots() {
        QWidget window;
        window.resize(100, 40);
        kinds::TBitBtn button(&window, false);
        button.setText(QStringLiteral("OK"));
        button.setGeometry(0, 0, 75, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        button.setFocus();
        QVERIFY(button.hasFocus());
        const QImage image = button.grab().toImage();
        QCOMPARE(at(image, 0, 0), rgb(clWindowFrame));
        QCOMPARE(at(image, 0, 24), rgb(clWindowFrame));
        QCOMPARE(at(image, 1, 1), rgb(clBtnHighlight));
        QCOMPARE(at(image, 4, 4), rgb(clWindowFrame));
        QCOMPARE(at(image, 5, 4), rgb(clBtnFace));
        QCOMPARE(at(image, 6, 4), rgb(clWindowFrame));
    }

    void glyphAndCaptionAreCentredAsAPair() {
        QCOMPARE(kinds::TBitBtn::contentLeft(153, 18, 100), (153 - 122 + 1) / 2);
        QCOMPARE(kinds::TBitBtn::contentLeft(75, 0, 15), 30);
        QCOMPARE(kinds::TBitBtn::contentLeft(75, 18, 36), 9);
    }

    void listIndexStaysUnsetUntilPicked() {
        QWidget window;
        window.resize(200, 100);
        kinds::TListBox list(&window, clWindow, 12);
        list.setEntries({"まずは北に向かう", "とりあえず西へ行く"});
        list.setGeometry(0, 0, 121, 33);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        list.setFocus();
        QCOMPARE(list.itemIndex(), -1); // focus alone makes a row current, not chosen
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(1)).center());
        QCOMPARE(list.itemIndex(), 1);
        window.hide();
        window.show();
        QCOMPARE(list.itemIndex(), 1);
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(list.itemIndex(), 0);
        QCOMPARE(list.visualItemRect(list.item(1)).height(), 12);
    }

    void comboIndexOnlyFromTheList() {
        QWidget window;
        window.resize(200, 100);
        kinds::TComboBox combo(&window, 12);
        combo.setEntries({"とりあえず話す", "立ち去る"}, QStringLiteral("どうちます？"));
        combo.setGeometry(8, 8, 145, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(combo.itemIndex(), -1);
        QCOMPARE(combo.currentText(), QStringLiteral("どうちます？"));
        combo.setFocus();
        combo.lineEdit()->selectAll();
        for (const QChar c : QStringLiteral("新しい"))
            QTest::sendKeyEvent(QTest::Click, combo.lineEdit(), Qt::Key_unknown, QString(c), {});
        QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
        QCOMPARE(combo.count(), 2); // typing never adds an entry
        QCOMPARE(combo.itemIndex(), -1);

        combo.showPopup();
        QAbstractItemView *view = combo.view();
        const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(combo.itemIndex(), 1);
        QCOMPARE(combo.currentText(), QStringLiteral("立ち去る"));
    }

    void memoKeepsLinesAndWraps() {
        kinds::TMemo memo(nullptr, clWindow);
        memo.setLines(QStringLiteral("並木さん\n　「ここら辺は気を"));
        QCOMPARE(memo.lines(),
                 QStringList({QStringLiteral("並木さん"), QStringLiteral("　「ここら辺は気を")}));
        QCOMPARE(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!memo.isReadOnly());
    }

    void buttonCaptionsShowAmpersands() {
        kinds::TButton button(nullptr);
        button.setCaption(QStringLiteral("A&B"));
        QCOMPARE(button.caption(), QStringLiteral("A&B"));
        QCOMPARE(button.text(), QStringLiteral("A&&B"));
    }
};

QTEST_MAIN(WidgetTest)
#include "test_widgets.moc"
