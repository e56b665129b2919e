#include "language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>

namespace language {

namespace {

Edition &played() {
    static Edition edition = Edition::Japanese;
    return edition;
}

} // namespace

std::optional<Edition> editionOf(const QString &tag) {
    // "C" and "POSIX" name no language (QLocale would take them for English).
    if (tag == u"C" || tag == u"POSIX")
        return std::nullopt;
    switch (QLocale(tag).language()) {
    case QLocale::Japanese:
        return Edition::Japanese;
    case QLocale::English:
        return Edition::English;
    default:
        return std::nullopt;
    }
}

Edition fromDesktop(const QStringList &uiLanguages, bool cLocale) {
    if (cLocale)
        return Edition::Japanese;
    for (const QString &tag : uiLanguages) {
        if (const std::optional<Edition> edition = editionOf(tag))
            return *edition;
    }
    return Edition::Japanese;
}

Edition fromDesktop() {
    // Under the C locale Qt still lists LANGUAGE's languages, but gives the
    // system locale no language.
    const QLocale system = QLocale::system();
    return fromDesktop(system.uiLanguages(), system.language() == QLocale::C);
}

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
