// A clipboard owner that never answers: Qt waits up to five seconds a
// request, three requests a paste, for the program that owns the X
// clipboard, and offers no way to wait less.
#pragma once

namespace platform {

// Whether the program that owns the X clipboard (or with `primary`, the
// selection) answers a request within `limitMs` milliseconds, asked on a
// connection of its own; also true when nobody owns it, and off X11.
bool clipboardAnswers(bool primary, int limitMs);

} // namespace platform
