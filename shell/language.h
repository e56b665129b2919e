// The game's two editions: Japanese, as the story was written, and English,
// its translation (translations/hoshifuru2_en.ts, compiled into the game).
// Which one is played is chosen once, before the window is made.
#pragma once

#include <QString>

namespace language {

enum class Edition { Japanese, English };

// Plays the edition: for English, installs its texts in the application
// (after the application object is made, before any widget). False when
// they cannot be loaded.
bool use(Edition edition);
Edition current();

// The embedded picture file for a picture of the layout: a picture with
// words in it has a twin for each translation (balloon_en for balloon).
QString pictureFile(const QString &picture);

} // namespace language
