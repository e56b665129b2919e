// Which edition the desktop's language asks for: English where the first of
// the desktop's languages that is English or Japanese is English, Japanese
// otherwise and under the C locale. Each case runs this program again in
// the environment given, so that Qt reads the languages from it as the game
// does at start-up.
#include "language.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <cstdio>

using language::Edition;

namespace {

constexpr char probe[] = "--edition-for-desktop";

QString editionFor(const QStringList &environment) {
    QProcess child;
    QProcessEnvironment clean;
    // Nothing of the test's own languages leaks in.
    clean.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    for (const QString &setting : environment)
        clean.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    child.setProcessEnvironment(clean);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(probe)});
    if (!child.waitForFinished(30000) || child.exitCode() != 0)
        return QStringLiteral("(the probe failed)");
    return QString::fromUtf8(child.readAllStandardOutput());
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void desktopLanguages_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("edition");
        auto row = [](const char *name, const QStringList &environment, const char *edition) {
            QTest::newRow(name) << environment << QString::fromLatin1(edition);
        };
        row("English, American", {"LANG=en_US.UTF-8"}, "en");
        row("English, British", {"LANG=en_GB.UTF-8"}, "en");
        row("Japanese", {"LANG=ja_JP.UTF-8"}, "ja");
        row("German: neither", {"LANG=de_DE.UTF-8"}, "ja");
        row("no language set", {}, "ja");
        row("C", {"LANG=C"}, "ja");
        row("C.UTF-8", {"LANG=C.UTF-8"}, "ja");
        row("POSIX", {"LANG=POSIX"}, "ja");
        row("LANGUAGE: German, then English", {"LANG=de_DE.UTF-8", "LANGUAGE=de:en"}, "en");
        row("LANGUAGE: French, Japanese, English", {"LANG=de_DE.UTF-8", "LANGUAGE=fr:ja:en"}, "ja");
        row("LANGUAGE over LANG", {"LANG=ja_JP.UTF-8", "LANGUAGE=en_GB"}, "en");
        row("LC_MESSAGES over LANG", {"LANG=ja_JP.UTF-8", "LC_MESSAGES=en_US.UTF-8"}, "en");
        row("LC_ALL over LANG", {"LANG=en_US.UTF-8", "LC_ALL=ja_JP.UTF-8"}, "ja");
        row("LC_ALL=C over LANG", {"LANG=en_US.UTF-8", "LC_ALL=C"}, "ja");
        row("LC_MESSAGES=C over LANG", {"LANG=en_US.UTF-8", "LC_MESSAGES=C"}, "ja");
        // As gettext does, LANGUAGE counts only where the locale is not C.
        row("LANGUAGE under C", {"LANG=C", "LANGUAGE=en"}, "ja");
    }
    void desktopLanguages() {
        QFETCH(QStringList, environment);
        QFETCH(QString, edition);
        QCOMPARE(editionFor(environment), edition);
    }

    void languageTags() {
        QCOMPARE(language::editionOf(QStringLiteral("en-Latn-US")), Edition::English);
        QCOMPARE(language::editionOf(QStringLiteral("ja")), Edition::Japanese);
        QVERIFY(!language::editionOf(QStringLiteral("de-DE")).has_value());
        QVERIFY(!language::editionOf(QStringLiteral("C")).has_value());
    }

    // The English texts are part of the program, and a picture with words
    // in it has its English twin.
    void englishTextsAreBuiltIn() {
        QCOMPARE(language::pictureFile(QStringLiteral("balloon")), QStringLiteral("balloon"));
        QVERIFY(language::use(Edition::English));
        QCOMPARE(language::current(), Edition::English);
        QCOMPARE(QCoreApplication::translate("TForm1", "あなた"), QStringLiteral("You"));
        QCOMPARE(language::pictureFile(QStringLiteral("balloon")), QStringLiteral("balloon_en"));
        QCOMPARE(language::pictureFile(QStringLiteral("oldman")), QStringLiteral("oldman"));
    }
};

int main(int argc, char *argv[]) {
    if (argc == 2 && qstrcmp(argv[1], probe) == 0) {
        QCoreApplication app(argc, argv);
        std::fputs(language::fromDesktop() == Edition::English ? "en" : "ja", stdout);
        return 0;
    }
    QCoreApplication app(argc, argv);
    LanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_language.moc"
