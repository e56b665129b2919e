// Ending the game from outside: SIGTERM, SIGINT and SIGHUP end it whenever
// they come, even while a dialog is open, and the process ends without the
// toolkit's teardown once the window has closed.
#pragma once

#include <functional>

class QWidget;

namespace platform {

// From here on SIGTERM, SIGINT and SIGHUP (unless SIGHUP was ignored when
// the program started, as under nohup) are kept on a socket until the
// window can act on them, and writing to a closed pipe only fails. Where
// the program waits outside its event loop and so cannot act on them, it
// ends half a second after the signal, with status 0 as when the window
// closes. False, after one line on standard error, when the socket cannot
// be made.
bool catchEndSignals();

// True when a signal to end came before the window could act on it.
bool endSignalPending();

// Every signal caught from now on calls END, which closes the window
// whatever is open in it; WINDOW is the notifier's owner.
void endOnSignals(QWidget &window, std::function<void()> end);

// Ends the process once the window has closed and the event loop has ended:
// standard output and error are flushed and the process exits with STATUS
// at once. The toolkit's own teardown is not run: nothing of the game is
// left to keep, and Qt 6.4's Wayland teardown can wait for ever.
[[noreturn]] void endProcess(int status);

} // namespace platform
