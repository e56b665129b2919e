// storyplay: plays a script of player actions through the game's real window
// on Qt's offscreen platform and prints what happened as JSON lines.
//
//   storyplay [--language ja|en] SCRIPT_FILE | - | --layout
//
// It plays the Japanese edition unless told otherwise, whatever the
// machine's language, so that a transcript reads the same everywhere.
#include "builder.h"
#include "language.h"
#include "look.h"
#include "player.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char *argv[]) {
    PlaybackApplication app(argc, argv);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    QStringList args = app.arguments().mid(1);
    language::Edition edition = language::Edition::Japanese;
    if (args.size() == 3 && args[0] == QLatin1String("--language") &&
        (args[1] == u"ja" || args[1] == u"en")) {
        edition = args[1] == u"en" ? language::Edition::English : language::Edition::Japanese;
        args = args.mid(2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: storyplay [--language ja|en] SCRIPT_FILE | - | --layout\n");
        return 2;
    }
    if (!language::use(edition)) {
        out << "{\"event\":\"error\",\"message\":\"the English texts cannot be loaded\"}\n";
        return 2;
    }

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const LayoutError &error) {
        out << "{\"event\":\"error\",\"message\":" << jsonString(QString::fromUtf8(error.what()))
            << "}\n";
        return 2;
    }
    if (args[0] == QLatin1String("--layout")) {
        Player::printLayout(*form, out);
        return 0;
    }

    QFile file;
    const bool opened = args[0] == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(args[0]), file.open(QIODevice::ReadOnly));
    if (!opened) {
        out << "{\"event\":\"error\",\"message\":"
            << jsonString(QStringLiteral("cannot read %1").arg(args[0])) << "}\n";
        return 2;
    }
    const QStringList script = QString::fromUtf8(file.readAll()).split(u'\n');

    form->show();
    Player player(*form, out);
    return player.play(script);
}
