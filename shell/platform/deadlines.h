// The program's two deadlines, on one timer that fires even while the
// program waits outside its event loop: the end after a signal to end
// (end_signals.h), and the end of start-up (display_opening.h). Every call
// here is safe in a signal handler but makeDeadlineTimer().
#pragma once

namespace platform {

// Makes the timer; without it no deadline holds. Once, before the first
// deadline is set.
bool makeDeadlineTimer();

// The program ends with status 0 half a second from now (as the window's
// close would have ended it), unless an end is due already.
void endWithinGrace();

// Start-up ends the program with status 1 after LINE is written on standard
// error, if it is still running ten seconds from now. LINE must live until
// the next call.
void limitStartUp(const char *line);
// Changes what the line says without moving the deadline.
void sayOnStartUpLimit(const char *line);
// Start-up is over: no limit.
void startUpDone();

} // namespace platform
