// Ending the game from outside: SIGTERM, SIGINT and SIGHUP close its window
// as the window's close control does, whenever they come, and the process
// ends without the toolkit's teardown once the window has closed.
#pragma once

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

// Every signal caught from now on closes the window, as its close control
// does.
void endOnSignals(QWidget &window);

// Ends the process once the window has closed and the event loop has ended:
// standard output and error are flushed and the process exits with STATUS
// at once. The toolkit's own teardown is not run: nothing of the game is
// left to keep, and Qt 6.4's Wayland teardown can wait for ever.
[[noreturn]] void endProcess(int status);

} // namespace platform
