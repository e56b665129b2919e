// Work that the first showings of the game would otherwise do while the
// player waits: opening the fonts of the scenes and of the two dialogs
// (finding a font and its
// fallbacks for Japanese text takes milliseconds the first time each one
// is used). It is done once, right after the first frame the window paints
// while it has the keyboard (its focus drawn), from the event loop: the
// window's complete look does not wait for it, and nothing runs later.
#pragma once

class TForm1;

// Does the work once after the window's first paint as the active window.
void warmUpAfterFirstFrame(TForm1 *window);
