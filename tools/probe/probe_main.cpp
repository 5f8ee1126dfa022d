// tessaview-probe: loads a subtitle file with the player's own loader and prints what the
// player would hold: reader, time base, messages, error, cues and the text due at frames.
#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "subtitle/code_page.h"
#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tessaview {
namespace {

// Collects what the player would show; the VobSub library and language choice are left out.
class ProbeHost : public SubtitleHost {
public:
    std::vector<std::string> messages;
    void semsg(const std::string& text) override { messages.push_back(text); }
    // A VobSub pair goes to the real library so its languages and pictures can be listed.
    std::unique_ptr<FfmpegVobSub> vobsub;
    void LoadVobSubFile(const std::string& path) override
    {
        vobsub = CreateFfmpegVobSub();
        vobsub->LoadVobSubFile(path);
    }
    void SelectVobSubLanguage() override {}
    void SubtitleFrameRateChosen(int, const std::string&) override {}
};

struct Options {
    double fps = 25.0;
    std::optional<std::string> codePage;
    std::vector<int32_t> at;
    bool json = false;
    std::string file;
};

// A private folder for tmpsub, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaview-probe-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            path_ = made;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

const char* const usageText =
    "usage: tessaview-probe [--fps RATE] [--codepage NAME] [--at FRAME]... [--json] FILE\n";

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--fps" && hasValue) {
            const std::string value = argv[++i];
            const auto r = std::from_chars(value.data(), value.data() + value.size(), options.fps);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size() || !(options.fps > 0) || options.fps > 1e6)
                return false;
        } else if (arg == "--codepage" && hasValue) {
            options.codePage = argv[++i];
        } else if (arg == "--at" && hasValue) {
            const std::string value = argv[++i];
            int32_t frame = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), frame);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size())
                return false;
            options.at.push_back(frame);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            return false;
        }
    }
    return !options.file.empty();
}

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// Cue text for a person: CR LF shown as a line break with an indent.
std::string readable(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += "\n        ";
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

int run(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            std::cout << usageText;
            return 0;
        }
    }
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << usageText;
        return 2;
    }
    const std::string codePage = options.codePage.value_or(LocaleAnsiCodePage());
    try {
        CodePageToUtf8("", codePage);
    } catch (const std::exception&) {
        std::cerr << "tessaview-probe: unknown code page " << codePage << "\n" << usageText;
        return 2;
    }
    TempFolder folder;
    if (folder.path().empty()) {
        std::cerr << "tessaview-probe: cannot create a temporary folder\n";
        return 1;
    }

    ProbeHost host;
    SubtitleCore core(host, folder.path());
    core.MovieFrameRate = options.fps;
    core.EngineFrameRate = options.fps;
    std::optional<std::string> error;
    try {
        core.LoadSubtitle(options.file);
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::vector<std::string> due;
    for (int32_t frame : options.at)
        due.push_back(core.FindSubtitleText(frame));

    const auto text = [&](const std::string& bytes) { return CodePageToUtf8(bytes, codePage); };
    std::ostringstream out;
    if (options.json) {
        out << "{\"reader\": " << (core.LastReader().empty() ? "null" : jsonString(core.LastReader()))
            << ", \"timeBased\": " << (core.SubIsTimeBased ? "true" : "false") << ", \"messages\": [";
        for (size_t i = 0; i < host.messages.size(); ++i)
            out << (i ? ", " : "") << jsonString(text(host.messages[i]));
        out << "], \"error\": " << (error ? jsonString(text(*error)) : "null") << ", \"cues\": [";
        for (size_t i = 0; i < core.SubList.size(); ++i) {
            const TTimeSpan& cue = *core.SubList[i];
            out << (i ? ",\n  " : "\n  ") << "{\"start\": " << cue.StartTime << ", \"end\": " << cue.EndTime
                << ", \"text\": " << jsonString(text(cue.Text)) << "}";
        }
        out << "], \"at\": [";
        for (size_t i = 0; i < due.size(); ++i)
            out << (i ? ", " : "") << "{\"frame\": " << options.at[i] << ", \"text\": " << jsonString(text(due[i])) << "}";
        out << "]";
        if (host.vobsub) {
            // Languages as GetLangNum/GetLangName give them; pictures per language index.
            const int32_t highest = host.vobsub->GetLangNum();
            out << ", \"languages\": [";
            for (int32_t i = 0; i <= highest; ++i) {
                char name[VobSubLangNameSize] = {};
                host.vobsub->GetLangName(i, name);
                out << (i ? ", " : "") << "{\"index\": " << i << ", \"name\": " << jsonString(name) << "}";
            }
            out << "], \"pictures\": [";
            for (int32_t i = 0; i <= highest; ++i)
                out << (i ? ", " : "") << host.vobsub->pictureCount(i);
            out << "]";
        }
        out << "}\n";
    } else {
        out << "file:      " << options.file << "\n"
            << "reader:    " << (core.LastReader().empty() ? "(none)" : core.LastReader()) << "\n"
            << "times in:  " << (core.SubIsTimeBased ? "seconds" : "frames") << " (at " << options.fps << " fps)\n";
        for (const std::string& message : host.messages)
            out << "message:   " << text(message) << "\n";
        if (error)
            out << "error:     " << text(*error) << "\n";
        out << "cues:      " << core.SubList.size() << "\n";
        for (size_t i = 0; i < core.SubList.size(); ++i) {
            const TTimeSpan& cue = *core.SubList[i];
            out << "  #" << i + 1 << "  " << cue.StartTime << " .. " << cue.EndTime << "\n        "
                << readable(text(cue.Text)) << "\n";
        }
        for (size_t i = 0; i < due.size(); ++i)
            out << "at " << options.at[i] << ": " << (due[i].empty() ? "(nothing)" : readable(text(due[i]))) << "\n";
    }
    std::cout << out.str();
    return error ? 1 : 0;
}

}  // namespace
}  // namespace tessaview

int main(int argc, char** argv)
{
    return tessaview::run(argc, argv);
}
