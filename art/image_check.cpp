// Decodes pictures with Qt's own image readers, as the game and the desktop
// do, and compares every pixel with the text source the picture was made
// from.
//
//   art_image_check ART_DIR                      every NAME.bmp (and NAME.ico)
//   art_image_check --png SCALE SOURCE.txt FILE  a PNG scaled up by SCALE

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>

namespace {

struct Source {
    int width = 0;
    int height = 0;
    QHash<QChar, QRgb> colours;
    QChar transparent;
    QStringList rows;
};

bool readSource(const QString &path, Source &s) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bool palette = false, pixels = false;
    const QRegularExpression space(QStringLiteral("\\s+"));
    while (!f.atEnd()) {
        QString line = QString::fromLatin1(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (pixels) {
            s.rows << line;
            continue;
        }
        const QStringList w = line.section(u'#', 0, 0).trimmed().split(space);
        if (w[0] == u"size" && w.size() == 3) {
            s.width = w[1].toInt();
            s.height = w[2].toInt();
        } else if (w[0] == u"transparent" && w.size() == 2) {
            s.transparent = w[1][0];
        } else if (w[0] == u"palette") {
            palette = true;
        } else if (w[0] == u"pixels") {
            pixels = true;
        } else if (palette && w[0].size() == 1 && w.size() == 2) {
            s.colours.insert(w[0][0], qRgb(0, 0, 0) | w[1].toUInt(nullptr, 16));
        }
    }
    if (s.rows.size() != s.height)
        return false;
    for (const QString &row : s.rows)
        if (row.size() != s.width)
            return false;
    return true;
}

// withAlpha: the image carries the source's transparency (ICO, PNG);
// otherwise only the colours are compared.
bool sameAsSource(const QString &imagePath, const Source &s, int scale, bool withAlpha) {
    const QImage image(imagePath);
    if (image.isNull()) {
        std::printf("%s: Qt cannot read it\n", qPrintable(imagePath));
        return false;
    }
    if (image.width() != s.width * scale || image.height() != s.height * scale) {
        std::printf("%s: %dx%d, expected %dx%d\n", qPrintable(imagePath), image.width(),
                    image.height(), s.width * scale, s.height * scale);
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = s.rows[y / scale][x / scale];
            const QRgb got = image.pixel(x, y);
            const bool clear = withAlpha && c == s.transparent;
            const bool ok = clear ? qAlpha(got) == 0
                                  : (got & 0xffffff) == (s.colours.value(c) & 0xffffff) &&
                                        (!withAlpha || qAlpha(got) == 255);
            if (!ok) {
                std::printf("%s: pixel (%d,%d) is #%08x, source says '%c'%s\n",
                            qPrintable(imagePath), x, y, got, c.toLatin1(),
                            clear ? " (transparent)" : "");
                return false;
            }
        }
    }
    return true;
}

int checkFolder(const QString &dirPath) {
    const QDir dir(dirPath);
    int failures = 0, checked = 0;
    const QStringList sources = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : sources) {
        if (name == u"CMakeLists.txt")
            continue;
        Source s;
        if (!readSource(dir.filePath(name), s)) {
            std::printf("%s: cannot read the source\n", qPrintable(name));
            ++failures;
            continue;
        }
        const QString base = dir.filePath(QFileInfo(name).completeBaseName());
        failures += !sameAsSource(base + QStringLiteral(".bmp"), s, 1, false);
        ++checked;
        if (QFile::exists(base + QStringLiteral(".ico"))) {
            failures += !sameAsSource(base + QStringLiteral(".ico"), s, 1, true);
            ++checked;
        }
    }
    // The game keys the close glyph's transparency off its bottom-left pixel.
    const QImage glyph(dir.filePath(QStringLiteral("close_glyph.bmp")));
    if (glyph.isNull() || glyph.pixel(0, glyph.height() - 1) != qRgb(128, 128, 0)) {
        std::printf("close_glyph.bmp: bottom-left pixel is not olive (128,128,0)\n");
        ++failures;
    }
    std::printf("%d of %d pictures decode to their sources\n", checked - failures, checked);
    return failures == 0 && checked > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv); // image format plugins (ICO) need it
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1)
        return checkFolder(args[0]);
    if (args.size() == 4 && args[0] == u"--png") {
        Source s;
        if (!readSource(args[2], s)) {
            std::printf("%s: cannot read the source\n", qPrintable(args[2]));
            return 1;
        }
        return sameAsSource(args[3], s, args[1].toInt(), true) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: art_image_check ART_DIR | --png SCALE SOURCE.txt FILE.png\n");
    return 2;
}
