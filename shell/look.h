// How the game looks on every desktop: its own Japanese faces, the classic
// bevelled widget style and the one palette from which every desktop colour
// of the layout (clBtnFace, clBtnHighlight, clWindow, ...) is taken.
#pragma once

class QString;

// Registers the embedded faces, maps the faces the layout names to them and
// sets the style and palette of the application. Call once, after the
// application object exists and before any widget is made.
void installLook();

// The family of the embedded proportional Japanese face.
extern const char *const gameFaceFamily;
