// How the built scenes look: children inside their panel's frame, one
// bevelled look for every kind in one palette, the keyboard's place visible
// in every list without covering its text, message box text broken only
// where it has to be and drawn in the game's Japanese face.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "look.h"
#include "services.h"
#include "widgets.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

using namespace layout;

namespace {

QRgb rgb(ColorName color) {
    return colorValue(color).rgb();
}

// The widget as painted on screen, children included.
QImage shot(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The widget drawn at a device pixel ratio.
QImage renderedAt(QWidget *widget, qreal scale) {
    QImage image((QSizeF(widget->size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::magenta);
    widget->render(&image);
    return image;
}

// Pixels of AREA where PLAIN shows ink (any colour but its background, the
// colour most of AREA has) and FOCUSED shows something else.
int coveredInk(const QImage &plain, const QImage &focused, const QRect &area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[plain.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    int covered = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (plain.pixel(x, y) != background && focused.pixel(x, y) != plain.pixel(x, y))
                ++covered;
    return covered;
}

int contrast(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The families of the faces that draw each run of the text.
QStringList facesDrawing(const QString &text, const QFont &font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun &run : layout.glyphRuns())
        faces << run.rawFont().familyName();
    return faces;
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        fixture::setUp();
        m_form = new TForm1;
        m_form->buildEverything();
    }
    void cleanupTestCase() { delete m_form; }

    // A bsSingle panel's sunken frame lies outside its client area: the
    // children are placed from inside it and never paint over it.
    void framedPanelsKeepTheirFrameClear() {
        int framed = 0;
        for (const TForm1::Built &built : m_form->built()) {
            auto *panel = qobject_cast<kinds::TPanel *>(built.widget);
            if (!panel || !panel->frame().borderSingle)
                continue;
            ++framed;
            const QRect client = panel->clientRect();
            QCOMPARE(client, panel->rect().adjusted(2, 2, -2, -2));
            const QImage image = shot(panel);
            const int r = image.width() - 1, b = image.height() - 1;
            for (int x = 0; x < image.width() - 1; ++x) {
                QCOMPARE(image.pixel(x, 0), rgb(clBtnShadow));
                QCOMPARE(image.pixel(x, b), rgb(clBtnHighlight));
            }
            for (int x = 1; x < image.width() - 2; ++x) {
                QVERIFY2(image.pixel(x, 1) == rgb(clWindowFrame),
                         qPrintable(
                             QStringLiteral("%1 top edge at %2").arg(panel->objectName()).arg(x)));
                QCOMPARE(image.pixel(x, b - 1), rgb(clBtnFace));
            }
            for (int y = 1; y < image.height() - 1; ++y) {
                QCOMPARE(image.pixel(0, y), rgb(clBtnShadow));
                QCOMPARE(image.pixel(r, y), rgb(clBtnHighlight));
            }
        }
        QCOMPARE(framed, 15);
        // The weapon shop's balloon sits at the top of the client area.
        const TForm1::Built *balloon = m_form->find(QStringLiteral("Image20"));
        QCOMPARE(balloon->widget->pos(), QPoint(8 + 2, 0 + 2));
    }

    // Push buttons, lists, memos and the drop-down field have the square
    // bevels of the panels and bitmap buttons, in the same desktop colours.
    void everyKindHasTheBevelledLook() {
        const QPalette palette = QApplication::palette();
        QCOMPARE(palette.color(QPalette::Button), colorValue(clBtnFace));
        QCOMPARE(palette.color(QPalette::Light), colorValue(clBtnHighlight));
        QCOMPARE(palette.color(QPalette::Dark), colorValue(clBtnShadow));
        QCOMPARE(palette.color(QPalette::Shadow), colorValue(clWindowFrame));

        kinds::TButton button(nullptr);
        button.resize(75, 25);
        QImage image = shot(&button);
        // Raised: lit outer top-left corner, dark outer bottom-right corner,
        // square (no rounding), the face in clBtnFace.
        QCOMPARE(image.pixel(0, 0), rgb(clBtnHighlight));
        QCOMPARE(image.pixel(74, 24), rgb(clWindowFrame));
        QCOMPARE(image.pixel(73, 23), rgb(clBtnShadow));
        QCOMPARE(image.pixel(37, 3), rgb(clBtnFace));

        // Sunken two-pixel frames on the list, the memo and the combo field,
        // as on a framed panel.
        kinds::TListBox list(nullptr, clWindow, 12);
        kinds::TMemo memo(nullptr, clWindow);
        kinds::TComboBox combo(nullptr, 12);
        for (QWidget *sunken : {static_cast<QWidget *>(&list), static_cast<QWidget *>(&memo),
                                static_cast<QWidget *>(&combo)}) {
            sunken->resize(97, 40);
            image = shot(sunken);
            const char *kind = sunken->metaObject()->className();
            QVERIFY2(image.pixel(0, 0) == rgb(clBtnShadow), kind);
            QVERIFY2(image.pixel(1, 1) == rgb(clWindowFrame), kind);
            QVERIFY2(image.pixel(96, 39) == rgb(clBtnHighlight), kind);
            QVERIFY2(image.pixel(95, 38) == rgb(clBtnFace), kind);
        }
    }

    // The entry that the arrow keys move from shows on every list colour
    // of the layout, and in the drop-down list.
    void keyboardPlaceShowsInEveryList() {
        int lists = 0;
        for (const TForm1::Built &built : m_form->built()) {
            auto *list = qobject_cast<kinds::TListBox *>(built.widget);
            if (!list)
                continue;
            ++lists;
            m_form->show();
            built.widget->window()->activateWindow();
            QWidget *scene = m_form->find(built.parentName)->widget;
            scene->show();
            list->setFocus(Qt::TabFocusReason);
            QVERIFY(QTest::qWaitFor([list] { return list->hasFocus(); }));
            QVERIFY(list->currentIndex().isValid());
            checkMarkerShows(list, list->visualRect(list->currentIndex()),
                             list->palette().color(QPalette::Base).rgb());
            scene->hide();
        }
        QCOMPARE(lists, 12);
    }

    // The focused entry's dotted frame lies on the entry's bounds, where the
    // ink of the taller glyphs reaches (rows are as tall as the face): it
    // never covers a pixel of the text, picked or not, at any density.
    void focusFrameLeavesTheTextWhole() {
        int entries = 0;
        for (const TForm1::Built &built : m_form->built()) {
            auto *list = qobject_cast<kinds::TListBox *>(built.widget);
            if (!list)
                continue;
            m_form->show();
            m_form->activateWindow();
            QWidget *scene = m_form->find(built.parentName)->widget;
            scene->show();
            for (int row = 0; row < list->count(); ++row) {
                for (const bool picked : {false, true}) {
                    const QModelIndex index = list->model()->index(row, 0);
                    list->selectionModel()->setCurrentIndex(
                        index,
                        picked ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
                    for (const qreal scale : {1.0, 2.0, 1.5}) {
                        list->setFocus(Qt::TabFocusReason);
                        QVERIFY(QTest::qWaitFor([list] { return list->hasFocus(); }));
                        const QImage focused = renderedAt(list->viewport(), scale);
                        m_form->setFocus();
                        QVERIFY(QTest::qWaitFor([list] { return !list->hasFocus(); }));
                        const QImage plain = renderedAt(list->viewport(), scale);
                        const QRect entry = list->visualRect(index);
                        const QRect device((QPointF(entry.topLeft()) * scale).toPoint(),
                                           (QSizeF(entry.size()) * scale).toSize());
                        QVERIFY2(coveredInk(plain, focused, device) == 0,
                                 qPrintable(QStringLiteral("%1 \"%2\"%3 at %4x: %5 pixels of text "
                                                           "covered")
                                                .arg(list->objectName(), list->item(row)->text(),
                                                     picked ? QStringLiteral(" picked") : QString())
                                                .arg(scale)
                                                .arg(coveredInk(plain, focused, device))));
                        // The frame is still there.
                        QVERIFY(focused.copy(device) != plain.copy(device));
                    }
                    ++entries;
                }
            }
            list->clearSelection();
            scene->hide();
        }
        QCOMPARE(entries, 2 * 33);
    }

    void comboPlaceShowsInItsList() {
        auto *combo =
            qobject_cast<kinds::TComboBox *>(m_form->find(QStringLiteral("Box2"))->widget);
        m_form->find(QStringLiteral("namiki1"))->widget->show();
        m_form->show();
        combo->setFocus(Qt::TabFocusReason);
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        view->setCurrentIndex(view->model()->index(1, 0));
        checkMarkerShows(view, view->visualRect(view->currentIndex()),
                         view->palette().color(QPalette::Base).rgb());
        combo->hidePopup();
    }

    // Words stay whole; only a word wider than the line is broken.
    void messageTextBreaksOnlyTheOverlongWord() {
        const QFont font = MessageBox::messageFont();
        const QString name = QStringLiteral("Alexandrovich").repeated(4);
        const QString text = name + QStringLiteral(" walked on for a while and met an old man");
        PlainTextView view(text, font, 120, nullptr);
        const QStringList lines = view.lines();
        QVERIFY(lines.size() > 3);
        QCOMPARE(lines.join(QString()).remove(u' '), QString(text).remove(u' '));
        // The long name is cut where the line is full ...
        QVERIFY(lines[0].size() < name.size());
        QVERIFY(name.startsWith(lines[0]));
        // ... and every ordinary word keeps its letters on one line.
        const QStringList words = text.mid(name.size()).split(u' ', Qt::SkipEmptyParts);
        QStringList afterName;
        for (const QString &line : lines)
            afterName += line.split(u' ', Qt::SkipEmptyParts);
        for (const QString &word : words)
            QVERIFY2(afterName.contains(word), qPrintable(word));
        QVERIFY(view.textSize().width() <= 120);
    }

    // Japanese in dialogs is drawn in the game's proportional face.
    void dialogsDrawJapaneseInTheGameFace() {
        const QString text =
            QStringLiteral("ようこそ冒険の島へさあ旅の始まりです。名前を教えてちょ");
        for (const QFont &font : {MessageBox::messageFont(), NamePrompt::dialogFont()}) {
            const QStringList faces = facesDrawing(text, font);
            QVERIFY(!faces.isEmpty());
            // Family names compare without case, as fontconfig matches them
            // (Qt 6.11 reports the name in lower case).
            for (const QString &face : faces)
                QVERIFY2(face.compare(QString::fromLatin1(gameFaceFamily), Qt::CaseInsensitive) ==
                             0,
                         qPrintable(face));
        }
    }

    // What a desktop's theme or font density could change, as pictures for
    // tests/look/desktops_test.sh to compare across desktops: the window
    // with a focused list and its selected entry, then with the focused
    // drop-down field, the name prompt with its default text selected, and
    // a message box (which follows the desktop's message font).
    void picturesForDesktopComparison() {
        const QString folder = qEnvironmentVariable("HOSHIFURU2_LOOK_PICTURES");
        if (folder.isEmpty())
            QSKIP("pictures for tests/look/desktops_test.sh");
        QApplication::setCursorFlashTime(0); // the text cursor always shown
        // A window of its own, whose scenes are made as they come on screen.
        TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // The scene on screen, and the keyboard in one of its widgets.
        auto focusIn = [&form](const QString &scene, const QString &name) -> QWidget * {
            form.find(scene)->widget->show();
            QWidget *widget = form.find(name)->widget;
            widget->setFocus(Qt::TabFocusReason);
            return QTest::qWaitFor([widget] { return widget->hasFocus(); }) ? widget : nullptr;
        };
        auto *list = qobject_cast<kinds::TListBox *>(
            focusIn(QStringLiteral("hajimari"), QStringLiteral("Box1")));
        QVERIFY(list);
        list->setCurrentRow(1);
        QVERIFY(shot(&form).save(folder + QStringLiteral("/list.png")));
        form.find(QStringLiteral("hajimari"))->widget->hide();
        QVERIFY(focusIn(QStringLiteral("namiki1"), QStringLiteral("Box2")));
        QVERIFY(shot(&form).save(folder + QStringLiteral("/combo.png")));
        form.find(QStringLiteral("namiki1"))->widget->hide();

        NamePrompt prompt(QStringLiteral("ホシフルツルギⅡ"), QStringLiteral("名前を教えてちょ"),
                          QStringLiteral("あなた"), nullptr);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QVERIFY(shot(&prompt).save(folder + QStringLiteral("/prompt.png")));
        prompt.close();
        MessageBox box(QStringLiteral("ホシフルツルギ２"),
                       StoryText(QStringLiteral("ゆうは先に進むためしばらく歩いた。")), nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QVERIFY(shot(&box).save(folder + QStringLiteral("/message.png")));
    }

private:
    // Along the edges of the current entry's rectangle there are pixels
    // that stand out from the list's background.
    void checkMarkerShows(QAbstractItemView *view, const QRect &entry, QRgb background) {
        const QImage image = shot(view->viewport());
        int marked = 0;
        for (int x = entry.left(); x <= entry.right(); ++x) {
            for (const int y : {entry.top(), entry.bottom()}) {
                if (contrast(image.pixel(x, y), background) >= 128)
                    ++marked;
            }
        }
        QVERIFY2(marked >= entry.width() / 2,
                 qPrintable(QStringLiteral("%1: %2 marked pixels along %3")
                                .arg(view->objectName())
                                .arg(marked)
                                .arg(entry.width())));
    }

    TForm1 *m_form = nullptr;
};

int main(int argc, char *argv[]) {
    // Not QTEST_MAIN, which makes Qt assume 96 DPI: the game's own set-up
    // must, or a large font density shows in the pictures.
    QApplication app(argc, argv);
    LookTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_look.moc"
