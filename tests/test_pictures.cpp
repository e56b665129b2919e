// The pictures as the scenes show them: decoded once and shared, drawn at
// natural size with the scene's colour beside them, the balloon's words in
// its visible part, and the closing glyph without its olive background.
#include "fixture.h"
#include "form1.h"
#include "services.h"

#include <QTest>

using namespace layout;

namespace {

// The widget as it shows inside its scene, which must be on screen.
QImage shownIn(TForm1 &form, QWidget *scene, QWidget *widget) {
    scene->show();
    form.show();
    const QImage image = scene->grab().toImage();
    return image.copy(QRect(widget->mapTo(scene, QPoint()), widget->size()));
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::setUp(); }

    void everyPictureIsDecodedOnceAndShared() {
        TForm1 form;
        QHash<QString, qint64> keyOf;
        int images = 0;
        form.buildEverything();
        for (const TForm1::Built &built : form.built()) {
            auto *image = qobject_cast<kinds::TImage *>(built.widget);
            if (!image)
                continue;
            ++images;
            const kinds::TImage::Picture &picture = image->picture();
            QVERIFY2(!picture.pixmap.isNull(), built.row->name);
            QCOMPARE(picture.pixmap.size(), QSize(picture.width, picture.height));
            const QString name = QString::fromUtf8(built.row->pictureName);
            if (keyOf.contains(name))
                QCOMPARE(picture.pixmap.cacheKey(), keyOf.value(name));
            keyOf.insert(name, picture.pixmap.cacheKey());
        }
        QCOMPARE(images, 23);
        QCOMPARE(keyOf.size(), 13);
        QCOMPARE(kinds::picture(QStringLiteral("demonking")).depth, 8);
        QCOMPARE(kinds::picture(QStringLiteral("villager")).depth, 24);
        QCOMPARE(kinds::picture(QStringLiteral("balloon")).depth, 4);
        // The castle icon comes once the window is shown.
        form.show();
        QCoreApplication::processEvents();
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.windowIcon().availableSizes().value(0), QSize(32, 32));
    }

    void sceneColourShowsBesideASmallerPicture() {
        TForm1 form;
        // The villager is 73 x 86 in a 73 x 89 widget on a white scene.
        const QImage villager = shownIn(form, form.namiki1, form.Image1);
        QCOMPARE(villager.pixel(36, 87), qRgb(255, 255, 255));
        QVERIFY(villager.pixel(36, 40) != qRgb(255, 255, 255));
        // The old man is 65 x 85 in a 73 x 89 widget on a yellow scene.
        const QImage oldMan = shownIn(form, form.nageki1, form.Image5);
        QCOMPARE(oldMan.pixel(70, 40), qRgb(255, 255, 0));
        QCOMPARE(oldMan.pixel(30, 87), qRgb(255, 255, 0));
        QVERIFY(oldMan.pixel(30, 40) != qRgb(255, 255, 0));
    }

    void balloonWordsLieInItsVisibleRows() {
        const QImage balloon = kinds::picture(QStringLiteral("balloon")).pixmap.toImage();
        QCOMPARE(balloon.height(), 100);
        const QRgb ink = qRgb(0x1c, 0x14, 0x28);
        int inkAbove = 0, inkBelow = 0;
        for (int y = 0; y < balloon.height(); ++y)
            for (int x = 0; x < balloon.width(); ++x)
                if (balloon.pixel(x, y) == ink)
                    ++(y < 73 ? inkAbove : inkBelow);
        QVERIFY2(inkAbove > 150, qPrintable(QString::number(inkAbove)));
        QCOMPARE(inkBelow, 0);
        // The shop shows only those 73 rows.
        TForm1 form;
        QCOMPARE(form.Image20->height(), 73);
    }

    void closingGlyphIsDrawnWithoutItsBackground() {
        TForm1 form;
        form.show();
        form.BitBtn7->show();
        const QImage button = form.BitBtn7->grab().toImage();
        int olive = 0, blue = 0;
        for (int y = 0; y < button.height(); ++y)
            for (int x = 0; x < button.width(); ++x) {
                const QColor c = button.pixelColor(x, y);
                olive += c.rgb() == qRgb(128, 128, 0) ? 1 : 0;
                blue += (c.blue() > 100 && c.red() < 60 && c.green() < 60) ? 1 : 0;
            }
        QCOMPARE(olive, 0);
        QVERIFY2(blue > 10, qPrintable(QString::number(blue)));
        const QPixmap &glyph = kinds::closeGlyph();
        QCOMPARE(glyph.size(), QSize(18, 18));
        QVERIFY(glyph.hasAlpha());
        QCOMPARE(&kinds::closeGlyph(), &glyph);
    }
};

QTEST_MAIN(PictureTest)
#include "test_pictures.moc"
