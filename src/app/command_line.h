// The command line read before any window exists: --help and --version answer on standard
// output without a display; anything else is the movie, as it always was.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tessaview {

// The exit status when the command line is answered without starting the player (0 for
// --help and --version, 2 for an option nobody knows), or nothing when the player starts.
// Qt's own options (-platform, -display, -style ...) are left for QApplication.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// What the player starts with: the movie, and subtitles named with --subtitle FILE (in place
// of the autoloaded one) and --second-subtitle FILE. Empty where not given.
struct PlayerArguments {
    std::string movie;
    std::string subtitle;
    std::string secondSubtitle;
};
// `arguments` as the toolkit left them, program name first.
PlayerArguments ReadPlayerArguments(const std::vector<std::string>& arguments);

}  // namespace tessaview
