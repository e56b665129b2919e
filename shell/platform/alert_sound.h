// The alert sound: the freedesktop sound theme's "bell" sound, played
// through libcanberra without waiting. The library is loaded on the first
// beep (or by the warm-up after the first frame), not at start-up: most
// moments of the game make no sound, and a missing library only means the
// fallback bell.
#pragma once

class QString;

namespace platform {

// Starts the desktop's alert sound without waiting for it; false when no
// sound could be started.
bool playAlertSound();

// Loads the sound library and connects to the sound system ahead of the
// first beep, without a sound.
void prepareAlertSound();

// The name a sound mixer shows for the game's sounds (the game's title in
// the edition played); given before the first sound.
void nameAlertSoundSource(const QString &name);

} // namespace platform
