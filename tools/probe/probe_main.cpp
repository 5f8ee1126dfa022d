// tessaview-probe: loads a subtitle file with the player's own loader and prints what the
// player would hold: reader, time base, messages, error, cues and the text due at frames.
#include "probe_sync.h"

#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "shell/settings/file_locations.h"
#include "subtitle/code_page.h"
#include "subtitle/number_rules.h"
#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/subtitle_doctor.h"
#include "subtitle/text_encoding.h"
#include "subtitle/text_rules.h"
#include "subtitle/time_base.h"
#include "sync/subtitle_sync.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
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
    void LoadVobSubFile(const std::string& path) override {
        vobsub = CreateFfmpegVobSub();
        vobsub->LoadVobSubFile(path);
    }
    void SelectVobSubLanguage() override {}
    void SubtitleFrameRateChosen(int, const std::string&) override {}
};

struct Options {
    std::optional<double> fps;
    std::optional<std::string> codePage;
    std::vector<std::string> at;  // frames, or times such as 1:02:03.5
    bool json = false;
    bool doctor = false;
    bool help = false;
    std::optional<std::string> movie;
    std::optional<std::string> sync;   // the movie whose speech the subtitle is fitted to
    std::optional<std::string> write;  // with --sync: the corrected SubRip
    std::optional<std::string> cache;  // with --sync or --movie: where speech profiles are kept
    std::string file;
};

const char* const usageText =
    "usage: tessaview-probe [--fps RATE] [--codepage NAME|CHARSET] [--at FRAME|TIME]... [--json]\n"
    "                       [--doctor [--movie MOVIE]] FILE\n"
    "       tessaview-probe --sync MOVIE [--json] [--write OUT] [--cache DIR] FILE\n";

const char* const helpText =
    "Loads a subtitle FILE as the player does and prints its reader, messages and cues.\n"
    "  --fps RATE         frame rate for time-based cues (default: the movie's, else 25)\n"
    "  --codepage NAME    decode cue text with this code page (CP1251) or the font dialog's\n"
    "                     character-set number (204)\n"
    "  --at FRAME|TIME    the text due at a frame (1500) or a time (1:02:03.5); repeatable\n"
    "  --json             the same facts as JSON\n"
    "  --doctor           also list the file's problems with their line numbers\n"
    "  --movie MOVIE      with --doctor: fit the cue times to the movie's frame rate and length,\n"
    "                     and to its speech as --sync does\n"
    "  --sync MOVIE       fit the cue times to the movie's speech: verdict (solid, unsure,\n"
    "                     no-speech, no-match), shift, rate, pieces, margin, speech share\n"
    "  --write OUT        with --sync: write the corrected SubRip to OUT, only when solid\n"
    "                     (exit status 3 and nothing written otherwise)\n"
    "  --cache DIR        with --sync or --movie: keep speech profiles in DIR (default\n"
    "                     $XDG_STATE_HOME/tessaview/speech-cache)\n"
    "  --help             this text\n";

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--doctor") {
            options.doctor = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--movie" && hasValue) {
            options.movie = argv[++i];
        } else if (arg == "--sync" && hasValue) {
            options.sync = argv[++i];
        } else if (arg == "--write" && hasValue) {
            options.write = argv[++i];
        } else if (arg == "--cache" && hasValue) {
            options.cache = argv[++i];
        } else if (arg == "--fps" && hasValue) {
            const std::string value = argv[++i];
            double fps = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), fps);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size() || !(fps > 0) || fps > 1e6) return false;
            options.fps = fps;
        } else if (arg == "--codepage" && hasValue) {
            // Character set 1, the font dialog's default, reads each file in its own encoding.
            if (const std::string value = argv[++i]; value != "1") options.codePage = value;
        } else if (arg == "--at" && hasValue) {
            options.at.push_back(argv[++i]);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            return false;
        }
    }
    const bool syncOnly = !options.sync && (options.write || (options.cache && !options.movie));
    const bool notWithSync = options.sync && (options.doctor || options.movie || !options.at.empty());
    return options.help || (!options.file.empty() && (!options.movie || options.doctor) && !syncOnly && !notWithSync);
}

// A frame number as it stands, or a time (h:mm:ss.fff, m:ss) at `fps`.
std::optional<int32_t> frameAt(const std::string& value, double fps) {
    int32_t frame = 0;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), frame);
    if (r.ec == std::errc() && r.ptr == value.data() + value.size()) return frame;
    if (value.find(':') == std::string::npos) return std::nullopt;
    const std::optional<double> seconds = ParseClockText(value);
    if (!seconds || *seconds * fps > 2147483647.0 || *seconds * 1000 > 2147483647.0) return std::nullopt;
    // To whole milliseconds first, then as the player turns cue times into frames.
    return MillisecondsToFrames(static_cast<int32_t>(RoundHalfAway(*seconds * 1000)), fps);
}

// A code page name, or the font dialog's character-set number turned into its code page.
std::string codePageOption(const std::string& value) {
    return IsDigitString(value) && value.size() <= 3 ? WindowsCharSetCodePage(std::stoi(value)) : value;
}

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
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
std::string readable(const std::string& utf8) {
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

// Cue times for a person: h:mm:ss.mmm, frames with their time at `fps`.
std::string timeText(int32_t time, bool timeBased, double fps) {
    if (time == OpenEndTime) return "(open)";
    if (time == EndlessTime) return "(movie end)";
    if (timeBased) return ClockText(time / 1000.0);
    return std::to_string(time) + " (" + ClockText(time / fps) + ")";
}

// Problems for a person: every line, but a kind met many times shows its first few.
void printProblems(std::ostream& out, const std::vector<Problem>& problems,
                   const std::function<std::string(const std::string&)>& text) {
    constexpr int shownPerKind = 5;
    std::map<std::string, int> seen;
    for (const Problem& p : problems) ++seen[p.kind];
    std::map<std::string, int> printed;
    out << "problems:  " << (problems.empty() ? "none found" : std::to_string(problems.size())) << "\n";
    for (const Problem& p : problems) {
        if (++printed[p.kind] > shownPerKind) continue;
        out << "  " << (p.line ? "line " + std::to_string(p.line) : std::string("file")) << "  " << p.kind << ": "
            << text(p.detail) << "\n";
    }
    for (const auto& [kind, count] : seen)
        if (count > shownPerKind) out << "  ... " << count - shownPerKind << " more " << kind << "\n";
}

// A cue time for --json: seconds with up to three decimals (1.5, 1.999) when time-based,
// otherwise the frame number; the open end (-1) and the movie's end (2147483647) as they are.
std::string jsonTime(int32_t time, bool timeBased) {
    if (!timeBased || time == OpenEndTime || time == EndlessTime) return std::to_string(time);
    const int64_t magnitude = time < 0 ? -static_cast<int64_t>(time) : time;
    std::string text = (time < 0 ? "-" : "") + std::to_string(magnitude / 1000);
    if (const int64_t ms = magnitude % 1000) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(ms));
        text += fraction;
        while (text.back() == '0') text.pop_back();
    }
    return text;
}

std::string jsonNumber(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

// The cues fitted to the movie's speech as --sync fits them; a movie whose speech cannot be
// read gives one finding that says so.
std::vector<std::string> speechFindings(const SubtitleCore& core, const std::string& movie, double movieFrameRate,
                                        const std::optional<std::string>& cache) {
    try {
        const SpeechProfile speech = ReadProbeSpeech(movie, cache);
        return SyncFindings(AlignToSpeech(CueTimesMs(core.SubList, core.SubIsTimeBased, core.MovieFrameRate), speech),
                            movieFrameRate);
    } catch (const std::exception& e) {
        return {std::string("the movie's speech could not be read: ") + e.what()};
    }
}

int run(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << usageText;
        return 2;
    }
    if (options.help) {
        std::cout << usageText << helpText;
        return 0;
    }
    const std::string codePage = options.codePage ? codePageOption(*options.codePage) : LocaleAnsiCodePage();
    try {
        CodePageToUtf8("", codePage);
    } catch (const std::exception&) {
        std::cerr << "tessaview-probe: unknown code page " << codePage << "\n" << usageText;
        return 2;
    }
    if (options.sync)
        return RunSyncProbe(
            {*options.sync, options.file, options.json, options.write, options.cache, options.fps, codePage});
    std::optional<MovieTiming> movie;
    if (options.movie) {
        movie = CreateFfmpegTextTracks()->ReadMovieTiming(*options.movie);
        if (!movie || !(movie->frameRate > 0)) {
            std::cerr << "tessaview-probe: cannot read the movie " << *options.movie << "\n";
            return 2;
        }
    }
    const double fps = options.fps.value_or(movie ? movie->frameRate : 25.0);
    std::vector<int32_t> frames;
    for (const std::string& at : options.at) {
        const std::optional<int32_t> frame = frameAt(at, fps);
        if (!frame) {
            std::cerr << "tessaview-probe: --at takes a frame or a time such as 1:02:03.5, not " << at << "\n";
            return 2;
        }
        frames.push_back(*frame);
    }
    // tmpsub goes in a private folder of its own, removed with everything in it at the end.
    const PrivateFolder folder("");
    if (folder.Path().empty()) {
        std::cerr << "tessaview-probe: cannot create a temporary folder\n";
        return 1;
    }

    ProbeHost host;
    SubtitleCore core(host, folder.Path());
    ReadFacts facts;
    if (options.doctor) core.Facts = &facts;
    core.MovieFrameRate = fps;
    core.EngineFrameRate = fps;
    std::optional<std::string> error;
    try {
        core.LoadSubtitle(options.file);
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::vector<std::string> due;
    for (int32_t frame : frames) due.push_back(core.FindSubtitleText(frame));
    std::vector<Problem> problems;
    std::optional<MovieFit> fit;
    if (options.doctor) {
        problems = DiagnoseSubtitle(core, facts, host.messages, error);
        if (movie && !core.SubIsVobSub) fit = FitToMovie(core, movie->frameRate, movie->lengthSeconds);
        if (movie && !core.SubIsVobSub && !core.SubList.empty())
            for (std::string& finding : speechFindings(core, *options.movie, movie->frameRate, options.cache))
                problems.push_back({0, "sync", std::move(finding)});
    }

    // A text file's encoding as the loader decided it (detected here when no reader ran); the
    // cues are read with it unless --codepage names another.
    std::optional<TextEncoding> encoding;
    if (!host.vobsub) {
        try {
            encoding =
                core.LastReader().empty() ? DetectTextEncoding(ReadWholeFile(options.file)) : core.FileEncoding();
        } catch (const std::exception&) {}
    }
    const std::string cueCodePage = options.codePage || core.CueCodePage().empty() ? codePage : core.CueCodePage();
    const std::function<std::string(const std::string&)> text = [&](const std::string& bytes) {
        return CodePageToUtf8(bytes, cueCodePage);
    };
    std::ostringstream out;
    if (options.json) {
        out << "{\"reader\": " << (core.LastReader().empty() ? "null" : jsonString(core.LastReader()))
            << ", \"timeBased\": " << (core.SubIsTimeBased ? "true" : "false") << ", \"messages\": [";
        for (size_t i = 0; i < host.messages.size(); ++i) out << (i ? ", " : "") << jsonString(text(host.messages[i]));
        out << "], \"error\": " << (error ? jsonString(text(*error)) : "null") << ", \"cues\": [";
        for (size_t i = 0; i < core.SubList.size(); ++i) {
            const TTimeSpan& cue = *core.SubList[i];
            out << (i ? ",\n  " : "\n  ") << "{\"start\": " << jsonTime(cue.StartTime, core.SubIsTimeBased)
                << ", \"end\": " << jsonTime(cue.EndTime, core.SubIsTimeBased)
                << ", \"text\": " << jsonString(text(cue.Text)) << "}";
        }
        out << "], \"at\": [";
        for (size_t i = 0; i < due.size(); ++i)
            out << (i ? ", " : "") << "{\"frame\": " << frames[i] << ", \"text\": " << jsonString(text(due[i])) << "}";
        out << "]";
        if (encoding) {
            out << ", \"encoding\": {\"name\": " << jsonString(encoding->name)
                << ", \"reason\": " << jsonString(encoding->reason) << ", \"charSet\": " << encoding->charSet
                << ", \"candidates\": [";
            for (size_t i = 0; i < encoding->candidates.size(); ++i)
                out << (i ? ", " : "") << "{\"name\": " << jsonString(encoding->candidates[i].name)
                    << ", \"sample\": " << jsonString(encoding->candidates[i].sample) << "}";
            out << "]}";
        }
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
            for (int32_t i = 0; i <= highest; ++i) out << (i ? ", " : "") << host.vobsub->pictureCount(i);
            out << "]";
        }
        if (options.doctor) {
            out << ", \"problems\": [";
            for (size_t i = 0; i < problems.size(); ++i)
                out << (i ? ",\n  " : "\n  ") << "{\"line\": " << problems[i].line
                    << ", \"kind\": " << jsonString(problems[i].kind)
                    << ", \"detail\": " << jsonString(text(problems[i].detail)) << "}";
            out << "]";
        }
        if (movie) {
            const auto optionalNumber = [](const auto& value) {
                return value ? jsonNumber(*value) : std::string("null");
            };
            out << ", \"movie\": {\"file\": " << jsonString(*options.movie)
                << ", \"frameRate\": " << jsonNumber(movie->frameRate)
                << ", \"length\": " << jsonNumber(movie->lengthSeconds);
            if (fit)
                out << ", \"lastCue\": " << jsonNumber(fit->lastCueSeconds)
                    << ", \"lastFrame\": " << optionalNumber(fit->lastFrame)
                    << ", \"fitRate\": " << optionalNumber(fit->fitRate)
                    << ", \"declaredRate\": " << optionalNumber(fit->declaredRate)
                    << ", \"frameRateItem\": " << (fit->frameRateItem.empty() ? "null" : jsonString(fit->frameRateItem))
                    << ", \"verdict\": " << jsonString(fit->verdict);
            out << "}";
        }
        out << "}\n";
    } else {
        out << "file:      " << options.file << "\n"
            << "reader:    " << (core.LastReader().empty() ? "(none)" : core.LastReader()) << "\n"
            << "times in:  " << (core.SubIsTimeBased ? "seconds" : "frames") << " (at " << FormatFrameRate(fps, '.', 6)
            << " fps)\n";
        if (encoding) out << "encoding:  " << encoding->name << " (" << encoding->reason << ")\n";
        // The doctor shows how the other likely code pages would read the file, for a person to
        // compare when the text looks wrong.
        for (size_t i = 1; options.doctor && encoding && i < encoding->candidates.size(); ++i)
            out << "  or " << encoding->candidates[i].name << ": " << encoding->candidates[i].sample << "\n";
        for (const std::string& message : host.messages) out << "message:   " << text(message) << "\n";
        if (error) out << "error:     " << text(*error) << "\n";
        out << "cues:      " << core.SubList.size() << "\n";
        for (size_t i = 0; i < core.SubList.size(); ++i) {
            const TTimeSpan& cue = *core.SubList[i];
            out << "  #" << i + 1 << "  " << timeText(cue.StartTime, core.SubIsTimeBased, fps) << " .. "
                << timeText(cue.EndTime, core.SubIsTimeBased, fps) << "\n        " << readable(text(cue.Text)) << "\n";
        }
        for (size_t i = 0; i < due.size(); ++i)
            out << "at " << frames[i] << " (" << ClockText(frames[i] / fps)
                << "): " << (due[i].empty() ? "(nothing)" : readable(text(due[i]))) << "\n";
        if (options.doctor) printProblems(out, problems, text);
        if (movie) {
            out << "movie:     " << *options.movie << ", " << FormatFrameRate(movie->frameRate, '.', 6) << " fps, "
                << ClockText(movie->lengthSeconds) << "\n";
            out << "  " << (fit ? fit->verdict : std::string("no cue with an end to compare")) << "\n";
        }
    }
    std::cout << out.str();
    return error ? 1 : 0;
}

}  // namespace
}  // namespace tessaview

int main(int argc, char** argv) { return tessaview::run(argc, argv); }
