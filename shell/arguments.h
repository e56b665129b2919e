// The game's command line: it plays with no arguments, or with --language
// ja|en in the edition named, and answers --help and --version as Debian's
// programs do. Any other argument is refused before anything is read or
// shown.
#pragma once

#include "language.h"

#include <optional>
#include <string>

namespace arguments {

enum class Request { Play, Help, Version, Refuse };

// What the command line asks for. The first of --help and --version (or
// -h, -v) decides; one argument that is none of these, nor one --language
// with ja or en, refuses the whole line.
struct CommandLine {
    Request request = Request::Play;
    std::string refused;                      // why, naming the first argument not understood
    std::optional<language::Edition> edition; // the one --language names
};

CommandLine read(int argc, const char *const argv[]);

// Prints the answer to a request that is not to play (the help and the
// version on standard output, a refusal on standard error) and gives the
// status to end with; nothing when the game is to start.
std::optional<int> answer(const CommandLine &commandLine);

} // namespace arguments
