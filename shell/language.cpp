#include "language.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

namespace language {

namespace {

Edition &played() {
    static Edition edition = Edition::Japanese;
    return edition;
}

} // namespace

bool use(Edition edition) {
    played() = edition;
    if (edition == Edition::Japanese)
        return true;
    // Lives as long as the application.
    static QTranslator english;
    if (english.isEmpty() && !english.load(QStringLiteral(":/i18n/hoshifuru2_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&english);
}

Edition current() {
    return played();
}

QString pictureFile(const QString &picture) {
    if (played() == Edition::English) {
        const QString twin = picture + QStringLiteral("_en");
        if (QFile::exists(QStringLiteral(":/art/%1.bmp").arg(twin)))
            return twin;
    }
    return picture;
}

} // namespace language
