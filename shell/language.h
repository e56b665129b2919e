// The game's two editions: Japanese, as the story was written, and English,
// its translation (translations/hoshifuru2_en.ts, compiled into the game).
// Which one is played is chosen once, before the window is made.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace language {

enum class Edition { Japanese, English };

// The edition a language tag asks for ("ja", "en", "en-Latn-GB", ...), if
// either.
std::optional<Edition> editionOf(const QString &tag);

// The edition for the desktop's languages, in the order the desktop prefers
// them (Qt's UI languages: LANGUAGE, then LC_ALL, LC_MESSAGES, LANG): the
// first that is English or Japanese decides; Japanese where none is, and
// under the C locale, whose programs speak untranslated (there, as for
// gettext, LANGUAGE does not count).
Edition fromDesktop(const QStringList &uiLanguages, bool cLocale);
Edition fromDesktop();

// Plays the edition: for English, installs its texts in the application
// (after the application object is made, before any widget). False when
// they cannot be loaded.
bool use(Edition edition);
Edition current();

// The embedded picture file for a picture of the layout: a picture with
// words in it has a twin for each translation (balloon_en for balloon).
QString pictureFile(const QString &picture);

} // namespace language
