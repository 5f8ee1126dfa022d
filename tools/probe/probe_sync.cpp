// The subtitle loaded as the player loads it, the movie's speech read (and kept in the cache
// folder), the alignment, and its report as text or JSON.
#include "probe_sync.h"

#include "external/ffmpeg/ffmpeg_speech.h"
#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "external/speech_cache.h"
#include "osdep/whole_file.h"
#include "shell/settings/file_locations.h"
#include "subtitle/subtitle_core.h"
#include "sync/subtitle_sync.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace tessaview {

namespace {

// Takes messages for the report; a VobSub pair is only noted, its pictures are not read.
class SyncProbeHost : public SubtitleHost {
public:
    std::vector<std::string> messages;
    bool vobSub = false;
    void semsg(const std::string& text) override { messages.push_back(text); }
    void LoadVobSubFile(const std::string&) override { vobSub = true; }
    void SelectVobSubLanguage() override {}
    void SubtitleFrameRateChosen(int, const std::string&) override {}
};

std::string number(double value, const char* format = "%.10g") {
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A JSON number that reads as a fraction: 1.0 rather than 1.
std::string decimal(double value) {
    std::string text = number(value);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    return text;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            out += '\\', out += static_cast<char>(c);
        else if (c < 0x20)
            out += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

int fail(const std::string& why) {
    std::cerr << "tessaview-probe: " << why << "\n";
    return 1;
}

}  // namespace

SpeechProfile ReadProbeSpeech(const std::string& movie, const std::optional<std::string>& cache) {
    const std::unique_ptr<MovieSpeech> reader = CreateFfmpegMovieSpeech();
    CachedMovieSpeech cached(*reader, cache.value_or(SpeechCacheFolder(InstalledFileLocations(std::getenv))));
    return cached.ReadSpeech(movie, {});
}

int RunSyncProbe(const SyncProbeOptions& options) {
    const auto began = std::chrono::steady_clock::now();
    const PrivateFolder folder("");
    if (folder.Path().empty()) return fail("cannot create a temporary folder");
    SyncProbeHost host;
    SubtitleCore core(host, folder.Path());
    std::optional<MovieTiming> timing = CreateFfmpegTextTracks()->ReadMovieTiming(options.movie);
    const double fps = options.fps.value_or(timing && timing->frameRate > 0 ? timing->frameRate : 25.0);
    core.MovieFrameRate = fps;
    core.EngineFrameRate = fps;
    std::error_code ignored;
    if (std::filesystem::is_regular_file(options.subtitle, ignored) &&
        std::filesystem::file_size(options.subtitle, ignored) == 0)
        return fail(options.subtitle + " is empty: no lines to synchronise");
    try {
        core.LoadSubtitle(options.subtitle);
    } catch (const std::exception& e) {
        return fail("cannot load the subtitle " + options.subtitle + ": " + e.what());
    }
    if (host.vobSub || core.SubIsVobSub) return fail(options.subtitle + ": synchronising pictures is not supported");
    if (core.LastReader().empty())
        return fail("cannot load the subtitle " + options.subtitle +
                    (host.messages.empty() ? std::string() : ": " + host.messages.front()));
    const std::vector<SyncCue> cues = CueTimesMs(core.SubList, core.SubIsTimeBased, fps);
    if (cues.empty()) return fail(options.subtitle + " holds no lines to synchronise");

    SpeechProfile speech;
    try {
        speech = ReadProbeSpeech(options.movie, options.cache);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    const SyncResult result = AlignToSpeech(cues, speech);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    const bool solid = result.verdict == SyncVerdict::Solid;
    std::ostringstream out;
    if (options.json) {
        out << "{\"file\": " << jsonString(options.subtitle) << ", \"movie\": " << jsonString(options.movie)
            << ", \"reader\": " << jsonString(core.LastReader()) << ", \"sync\": {\"verdict\": \""
            << SyncVerdictName(result.verdict) << "\", \"shiftMs\": " << result.ShiftMs()
            << ", \"rate\": " << decimal(result.rate) << ", \"pieces\": [";
        for (size_t i = 0; i < result.pieces.size(); ++i)
            out << (i ? ", " : "") << "{\"fromCue\": " << result.pieces[i].fromCue
                << ", \"shiftMs\": " << result.pieces[i].shiftMs << "}";
        out << "], \"margin\": " << number(result.margin, "%.3f")
            << ", \"speechShare\": " << number(result.speechShare, "%.3f")
            << ", \"seconds\": " << number(seconds, "%.3f") << "}}\n";
    } else {
        out << "file:      " << options.subtitle << "\nmovie:     " << options.movie
            << "\nsync:      " << SyncVerdictName(result.verdict) << "\n";
        if (result.verdict == SyncVerdict::NoSpeech) {
            out << "  the sound holds too little speech to fit the lines to ("
                << number(result.audioSpeechShare * 100, "%.0f") << " % of it is heard as speech)\n";
        } else {
            out << "  " << DescribeSync(result) << "\n";
            for (const SyncPiece& piece : result.pieces)
                out << "  from line " << piece.fromCue + 1 << ": "
                    << number(static_cast<double>(piece.shiftMs) / 1000, "%+.3f") << " s\n";
            if (result.rate != 1.0) out << "  rate:    x " << number(result.rate, "%.6f") << "\n";
            out << "  margin:  " << number(result.margin, "%.2f") << " over the runner-up\n";
            if (result.verdict == SyncVerdict::NoMatch)
                out << "  the lines fit this sound at no shift or rate: probably another film's subtitle\n";
            else if (result.verdict == SyncVerdict::Unsure)
                out << "  another answer comes close: check before trusting it\n";
        }
        out << "  seconds: " << number(seconds, "%.2f") << "\n";
    }
    std::cout << out.str();
    if (!options.write) return 0;
    if (!solid) {
        std::cerr << "tessaview-probe: the answer is not solid: " << *options.write << " not written\n";
        return 3;
    }
    ApplySync(core.SubList, core.SubIsTimeBased, fps, result);
    const std::string codePage = core.CueCodePage().empty() ? options.codePage : core.CueCodePage();
    if (!ReplaceWholeFile(*options.write, SubRipText(core.SubList, core.SubIsTimeBased, fps, codePage)))
        return fail("cannot write " + *options.write);
    return 0;
}

}  // namespace tessaview
