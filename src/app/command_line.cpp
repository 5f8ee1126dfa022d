// The command line read before any window exists.
#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessaview {
namespace {

constexpr std::string_view Usage =
    "Usage: tessaview [OPTION]... [MOVIE]\n"
    "A movie player for subtitles: plays MOVIE with the subtitle file beside it.\n"
    "\n"
    "      --subtitle FILE         show FILE as the subtitle, in place of the one beside MOVIE\n"
    "      --second-subtitle FILE  show FILE as a second subtitle under the first\n"
    "  -h, --help                  show this help and exit\n"
    "      --version               show the version and exit\n"
    "\n"
    "Qt's own options (-platform NAME, -display DISPLAY, -style NAME, ...) are passed on.\n"
    "A file whose name begins with '-' opens as the movie; so does anything after '--'.\n"
    "Settings live in ~/.config/tessaview/set.ini for an installed copy, else beside the program.\n";

// Qt's options that take a value in the next argument (or after '='), then those that take none.
constexpr std::array<std::string_view, 14> QtValueOptions{
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "display",  "geometry",           "session",       "style",  "stylesheet",      "name",        "title"};
// Our own options that take a file in the next argument (or after '=').
constexpr std::array<std::string_view, 2> FileOptions{"--subtitle", "--second-subtitle"};
constexpr std::array<std::string_view, 5> QtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <size_t N>
bool listed(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isFile(const char* name) {
    std::error_code ignored;
    return std::filesystem::exists(name, ignored);
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg.size() < 2 || arg[0] != '-' || isFile(argv[i])) continue;
        if (arg == "-h" || arg == "--help") {
            out << Usage;
            return 0;
        }
        if (arg == "--version") {
            out << "tessaview " TESSAVIEW_VERSION "\n";
            return 0;
        }
        const std::string_view option = arg.substr(0, arg.find('='));
        if (listed(FileOptions, option)) {
            if (option == arg && ++i >= argc) {
                err << "tessaview: option '" << arg << "' needs a file\n" << Usage;
                return 2;
            }
            continue;
        }
        // Qt reads "-name" and "--name" alike.
        std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
        const size_t equals = name.find('=');
        const bool joined = equals != std::string_view::npos;
        name = name.substr(0, equals);
        if (listed(QtValueOptions, name)) {
            i += joined ? 0 : 1;
            continue;
        }
        if (!joined && listed(QtFlags, name)) continue;
        err << "tessaview: unknown option '" << arg << "'\n" << Usage;
        return 2;
    }
    return std::nullopt;
}

PlayerArguments ReadPlayerArguments(const std::vector<std::string>& arguments) {
    PlayerArguments read;
    bool onlyMovie = false;  // after "--"
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const std::string_view option = std::string_view(arg).substr(0, arg.find('='));
        if (!onlyMovie && arg == "--" && !isFile(arg.c_str())) {
            onlyMovie = true;
        } else if (!onlyMovie && listed(FileOptions, option) && !isFile(arg.c_str())) {
            std::string value;
            if (option.size() < arg.size())
                value = arg.substr(option.size() + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            (option == "--subtitle" ? read.subtitle : read.secondSubtitle) = value;
        } else if (read.movie.empty()) {
            read.movie = arg;  // whatever it looks like, as it always was
        }
    }
    return read;
}

}  // namespace tessaview
