// The alert sound: the freedesktop sound theme's "bell" sound, played
// through libcanberra on a thread of the sound's own. The library is loaded
// there on the first beep, not at start-up: most moments of the game make no
// sound, and a missing library only means the display's bell instead.
#pragma once

class QString;

namespace platform {

// Asks for the desktop's alert sound and returns at once; nothing the sound
// system does (loading, connecting to a sound server that never answers) is
// ever waited for here. Where no sound can be played, the display's bell
// rings instead, on the application's thread. A beep that cannot start within
// a second of being asked for is dropped: a late beep belongs to nothing.
void playAlertSound();

// The name a sound mixer shows for the game's sounds (the game's title in
// the edition played); given before the first sound.
void nameAlertSoundSource(const QString &name);

} // namespace platform
