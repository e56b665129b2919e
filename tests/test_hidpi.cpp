// A display twice as dense: the window at twice its size in device pixels,
// text drawn at the full resolution, pictures and glyphs enlarged by whole
// pixels without smoothing, bevel rings two device pixels wide and never
// blurred. Frames hold at three times and at fractional densities too.
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "services.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

using namespace layout;

namespace {

constexpr int ratio = 2;

// The window's device pixels inside a widget, grabbed from the window so
// that the widget shows over what lies beneath it.
QImage devicePixels(TForm1 &form, QWidget *widget) {
    const QRect area(widget->mapTo(&form, QPoint(0, 0)), widget->size());
    return form.grab(area).toImage();
}

// Aligned 2 × 2 blocks of device pixels that are not of one colour: detail
// finer than a layout pixel.
int finerBlocks(const QImage &image) {
    int blocks = 0;
    for (int y = 0; y + 1 < image.height(); y += ratio)
        for (int x = 0; x + 1 < image.width(); x += ratio) {
            const QRgb first = image.pixel(x, y);
            if (image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first ||
                image.pixel(x + 1, y + 1) != first)
                ++blocks;
        }
    return blocks;
}

QRgb rgb(ColorName color) {
    return colorValue(color).rgb();
}

// The window as drawn at any device pixel ratio.
QImage drawnAt(QWidget *window, qreal scale) {
    QImage image((QSizeF(window->size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::magenta);
    window->render(&image);
    return image;
}

// The device pixels of a widget's two-pixel frame band drawn at `scale`,
// against the same window drawn at one device pixel per layout pixel
// (`layoutPixels`): at whole ratios each device pixel must be the layout
// pixel it enlarges; at fractional ones the surface beneath (`beneath`)
// may show only where a layout pixel under that device pixel shows it.
// Returns how many device pixels fail.
int frameBandFaults(const QImage &device, const QImage &layoutPixels, qreal scale,
                    const QRect &frame, QRgb beneath) {
    const bool whole = scale == std::floor(scale);
    int faults = 0;
    for (int y = int(frame.top() * scale); y < int(std::ceil((frame.bottom() + 1) * scale)); ++y)
        for (int x = int(frame.left() * scale); x < int(std::ceil((frame.right() + 1) * scale));
             ++x) {
            // Only device pixels whose centre lies inside the band.
            const qreal lx = (x + 0.5) / scale, ly = (y + 0.5) / scale;
            const QRectF inside = QRectF(frame).adjusted(2, 2, -2, -2);
            if (!QRectF(frame).contains(lx, ly) || lx == frame.left() || ly == frame.top() ||
                inside.contains(lx, ly))
                continue;
            const QRgb drawn = device.pixel(x, y);
            if (whole) {
                faults += drawn != layoutPixels.pixel(int(lx), int(ly));
                continue;
            }
            if (drawn != beneath)
                continue;
            bool shownThere = false;
            for (int oy = int(y / scale); oy < std::ceil((y + 1) / scale); ++oy)
                for (int ox = int(x / scale); ox < std::ceil((x + 1) / scale); ++ox)
                    shownThere |= layoutPixels.pixel(ox, oy) == beneath;
            faults += !shownThere;
        }
    return faults;
}

// Checks the frame band of every framed widget in a window, drawn at two
// and three times and at fractional ratios.
void checkFrames(QWidget *window, const QList<QWidget *> &framed, QRgb beneath) {
    const QImage layoutPixels = drawnAt(window, 1);
    for (const qreal scale : {2.0, 3.0, 1.25, 1.5, 1.75}) {
        const QImage device = drawnAt(window, scale);
        for (QWidget *widget : framed) {
            const QRect frame(widget->mapTo(window, QPoint(0, 0)), widget->size());
            const int faults = frameBandFaults(device, layoutPixels, scale, frame, beneath);
            if (faults > 0)
                QFAIL(qPrintable(QStringLiteral("%1 (%2) at %3: %4 device pixels of its frame")
                                     .arg(widget->objectName(), widget->metaObject()->className())
                                     .arg(scale)
                                     .arg(faults)));
        }
    }
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::setUp(); }

    void windowIsTwiceAsLargeWithTextAtFullResolution() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), QSize(383, 359)); // the layout keeps its own units
        const QPixmap shot = form.grab();
        QCOMPARE(shot.devicePixelRatio(), qreal(ratio));
        QCOMPARE(shot.size(), QSize(383 * ratio, 359 * ratio));
        QCOMPARE(shot.toImage().pixel(383 * ratio - 1, 359 * ratio - 1), qRgb(128, 0, 0));
        // Text enlarged from a layout-sized drawing would come in 2 × 2 blocks.
        QVERIFY(finerBlocks(devicePixels(form, form.Label1)) > 50);
        QVERIFY(finerBlocks(devicePixels(form, form.start)) > 10);
    }

    void picturesAreEnlargedByWholePixels() {
        TForm1 form;
        int compared = 0;
        form.buildEverything();
        for (const TForm1::Built &built : form.built()) {
            if (built.row->kind != TImage)
                continue;
            auto *image = static_cast<kinds::TImage *>(built.widget);
            const QImage source = image->picture().pixmap.toImage();
            const QSize shown = source.size().boundedTo(image->size());
            const QImage device = image->grab().toImage();
            QCOMPARE(device.size(), image->size() * ratio);
            for (int y = 0; y < shown.height() * ratio; ++y)
                for (int x = 0; x < shown.width() * ratio; ++x) {
                    if (device.pixel(x, y) != source.pixel(x / ratio, y / ratio))
                        QFAIL(qPrintable(QStringLiteral("%1 at device pixel %2,%3")
                                             .arg(image->objectName())
                                             .arg(x)
                                             .arg(y)));
                }
            ++compared;
        }
        QCOMPARE(compared, 23);
    }

    void closingGlyphIsEnlargedByWholePixels() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Label1->hide();
        form.start->hide();
        form.BitBtn7->show();
        form.setFocus(); // no focus outline over the face
        const QImage glyph = kinds::closeGlyph().toImage();
        QVERIFY(!glyph.isNull());
        const QImage device = devicePixels(form, form.BitBtn7);
        const int captionWidth =
            QFontMetrics(form.BitBtn7->font()).horizontalAdvance(form.BitBtn7->text());
        const QRect face = form.BitBtn7->rect();
        const QPoint at(kinds::TBitBtn::contentLeft(face.width(), glyph.width(), captionWidth),
                        (face.height() - glyph.height()) / 2);
        int opaque = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                if (qAlpha(glyph.pixel(x, y)) == 0)
                    continue;
                ++opaque;
                const QPoint d = (at + QPoint(x, y)) * ratio;
                for (int dy = 0; dy < ratio; ++dy)
                    for (int dx = 0; dx < ratio; ++dx)
                        QCOMPARE(device.pixel(d.x() + dx, d.y() + dy), glyph.pixel(x, y));
            }
        QVERIFY(opaque > 100);
    }

    // Memos, lists, the drop-down list and push buttons draw their frames
    // as the scene panels do: enlarged by whole pixels at two and three
    // times, and with nothing of the scene showing through at fractional
    // ratios. So do the name prompt's field and buttons.
    void framesHoldAtEveryDensity() {
        TForm1 form;
        form.buildEverything();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Label1->hide();
        form.start->hide();
        int framed = 0;
        for (const TForm1::Built &built : form.built()) {
            if (!built.row->topLevel)
                continue;
            if (auto *button = qobject_cast<kinds::TButton *>(built.widget)) {
                // The buttons that announce an event stand on the window.
                button->show();
                checkFrames(&form, {button}, form.palette().color(QPalette::Window).rgb());
                if (QTest::currentTestFailed())
                    return;
                button->hide();
                ++framed;
                continue;
            }
            auto *scene = qobject_cast<kinds::TPanel *>(built.widget);
            if (!scene)
                continue;
            QList<QWidget *> children;
            for (QWidget *child : scene->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<kinds::TMemo *>(child) || qobject_cast<kinds::TListBox *>(child) ||
                    qobject_cast<kinds::TComboBox *>(child) ||
                    qobject_cast<kinds::TButton *>(child))
                    children << child;
            }
            if (children.isEmpty())
                continue;
            scene->show();
            checkFrames(&form, children, rgb(scene->colorName()));
            if (QTest::currentTestFailed())
                return;
            scene->hide();
            framed += int(children.size());
        }
        QCOMPARE(framed, 80);

        NamePrompt prompt(QStringLiteral("ホシフルツルギⅡ"), QStringLiteral("名前を教えてちょ"),
                          QStringLiteral("あなた"), nullptr);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        checkFrames(&prompt, {prompt.field(), prompt.okButton(), prompt.cancelButton()},
                    prompt.palette().color(QPalette::Window).rgb());
    }

    void bevelRingsAreTwoDevicePixelsEach() {
        kinds::TPanel panel(nullptr, kinds::TPanel::Frame{bvRaised, bvLowered, 2, 1, true},
                            clYellow);
        panel.resize(40, 30);
        const QImage device = panel.grab().toImage();
        QCOMPARE(device.size(), QSize(80, 60));
        const QRgb light = rgb(clBtnHighlight), shadow = rgb(clBtnShadow), own = rgb(clYellow);
        // Ring by ring from the left and from the right edge, on the middle row.
        const QList<QRgb> fromLeft = {shadow, rgb(clWindowFrame), light, light, own, shadow, shadow,
                                      own};
        const QList<QRgb> fromRight = {light, rgb(clBtnFace), shadow, shadow,
                                       own,   light,          light,  own};
        for (int ring = 0; ring < fromLeft.size(); ++ring)
            for (int d = 0; d < ratio; ++d)
                for (int y = 28; y < 32; ++y) {
                    QCOMPARE(device.pixel(ring * ratio + d, y), fromLeft[ring]);
                    QCOMPARE(device.pixel(79 - ring * ratio - d, y), fromRight[ring]);
                }
        // The top edge the same way, on the middle column.
        for (int ring = 0; ring < fromLeft.size(); ++ring)
            for (int d = 0; d < ratio; ++d)
                QCOMPARE(device.pixel(40, ring * ratio + d), fromLeft[ring]);
    }
};

int main(int argc, char *argv[]) {
    // Before the application exists: the scale factor is read at start-up.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(ratio));
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
