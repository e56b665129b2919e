// Standard input, output or error closed when the program starts: the next
// file the program opens would take its number (the signals' socket, the
// display's connection), and whatever Qt or a library writes to standard
// error would go into that file instead.
#pragma once

namespace platform {

// Opens /dev/null on each of standard input, output and error that is
// closed. First thing in main(), before anything else opens a file. False,
// after one line on standard error if it can be written, when one cannot be
// opened.
bool openClosedStandardStreams();

} // namespace platform
