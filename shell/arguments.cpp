// The game's command line (see arguments.h).
#include "arguments.h"

#include <QChar>
#include <QList>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace arguments {

namespace {

constexpr std::string_view helpText =
    "Usage: hoshifuru2 [--language ja|en]\n"
    "       hoshifuru2 [--help | --version]\n"
    "ホシフルツルギ２, a small Japanese text adventure in one window.\n"
    "With no argument the game starts on the desktop (X11 or Wayland), in\n"
    "the desktop's language: English or Japanese.\n"
    "\n"
    "  --language ja|en  play in Japanese or in English\n"
    "  -h, --help        print this help and exit\n"
    "  -v, --version     print the version and exit\n"
    "\n"
    "The game keeps no settings and stores nothing. Manual: man 6 hoshifuru2\n";

constexpr std::string_view versionText = "hoshifuru2 " HOSHIFURU2_VERSION "\n"
                                         "Copyright 2026 The ホシフルツルギ２ developers.\n"
                                         "Released under the MIT licence.\n";

// An argument as it may be shown on a terminal: control and format
// characters (escapes, bidirectional overrides, line separators) written
// as \u{XXXX}, so that a refused argument can neither drive the terminal
// nor reorder the line it is shown in.
std::string shown(const char *argument) {
    QString text;
    for (const char32_t c : QString::fromUtf8(argument).toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph) {
            text += QStringLiteral("\\u{%1}").arg(
                QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
            continue;
        }
        if (c == U'"' || c == U'\\')
            text += u'\\';
        text += QString::fromUcs4(&c, 1);
    }
    return text.toStdString();
}

// Writes TEXT on standard output; a failed write is an error, as a full
// disk is to any program that prints.
int print(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "hoshifuru2: cannot write to standard output: %s\n",
                     std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace

CommandLine read(int argc, const char *const argv[]) {
    CommandLine commandLine;
    const auto refuse = [](std::string line) { return CommandLine{Request::Refuse, line, {}}; };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        Request request = Request::Play;
        if (argument == "--help" || argument == "-h") {
            request = Request::Help;
        } else if (argument == "--version" || argument == "-v") {
            request = Request::Version;
        } else if ((argument == "--language" || argument.starts_with("--language=")) &&
                   !commandLine.edition) {
            // Its value as the next argument, or after "=".
            const char *value = argument == "--language" ? (i + 1 < argc ? argv[++i] : nullptr)
                                                         : argv[i] + std::strlen("--language=");
            if (value && std::string_view(value) == "ja")
                commandLine.edition = language::Edition::Japanese;
            else if (value && std::string_view(value) == "en")
                commandLine.edition = language::Edition::English;
            else if (!value)
                return refuse("--language takes ja or en");
            else
                return refuse("--language takes ja or en, not \"" + shown(value) + '"');
        } else {
            return refuse("unknown argument \"" + shown(argv[i]) +
                          "\" (hoshifuru2 --help lists the options)");
        }
        if (commandLine.request == Request::Play)
            commandLine.request = request;
    }
    return commandLine;
}

std::optional<int> answer(const CommandLine &commandLine) {
    switch (commandLine.request) {
    case Request::Play:
        return std::nullopt;
    case Request::Help:
        return print(helpText);
    case Request::Version:
        return print(versionText);
    case Request::Refuse:
        std::fprintf(stderr, "hoshifuru2: %s\n", commandLine.refused.c_str());
        return 2;
    }
    return 2;
}

} // namespace arguments
