// Films that speak known lines, heard by the real reader: subtitles moved, stretched, already
// right, another film's, and a film of music alone, fitted back by the alignment and by
// tessaview-probe --sync, and told by its --doctor. A cut has its made-up films in test_sync.
#include "spoken_film.h"
#include "external/ffmpeg/ffmpeg_speech.h"
#include "external/speech_cache.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaview::testing {
namespace {

const std::string probe = std::string(TESSAVIEW_BINARY_DIR) + "/tools/probe/tessaview-probe";

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SpokenFilm, MovedStretchedAndRightSubtitlesLandOnTheirLines) {
    const test::TempDir dir;
    const SpokenFilm film = makeSpokenFilm(dir.path(), "talk", makeScript(1, 36), "noise", 10);
    const SpeechProfile speech = CreateFfmpegMovieSpeech()->ReadSpeech(film.movie, {});
    struct Case {
        const char* name;
        double subtitleRate;  // the subtitle's times are the film's divided by this
        int64_t subtitleShift;
    };
    for (const Case& c :
         {Case{"already right", 1.0, 0}, Case{"moved later", 1.0, -7300}, Case{"moved earlier", 1.0, 12000},
          Case{"25 fps read as 23.976", 25 / 23.976, -1000}, Case{"23.976 fps read as 25", 23.976 / 25, 800}}) {
        const std::vector<SyncCue> cues = mapped(film.truth, [&](int64_t t) {
            return std::llround(static_cast<double>(t) / c.subtitleRate) + c.subtitleShift;
        });
        const SyncResult result = AlignToSpeech(cues, speech);
        SCOPED_TRACE(std::string(c.name) + ": " + describe(result));
        EXPECT_EQ(result.verdict, SyncVerdict::Solid);
        EXPECT_DOUBLE_EQ(result.rate, c.subtitleRate);  // never a rate for the right one
        EXPECT_EQ(result.pieces.size(), 1u);
        expectOnTheirLines(result, cues, film.truth);
    }

    // The probe keeps the speech in its cache (read back from there as SpeechCache's test shows).
    const std::string late = dir.file("late.srt"), synced = dir.file("late.synced.srt"), cache = dir.file("cache");
    writeSubRip(late, mapped(film.truth, [](int64_t t) { return t + 4300; }), film.texts);
    const std::string command = probe + " --sync " + film.movie + " --json --cache " + cache + " --write " + synced +
                                " " + late + " > " + dir.file("out.json");
    ASSERT_EQ(run(command), 0) << command;
    const std::string json = test::readFile(dir.file("out.json"));
    EXPECT_NE(json.find("\"sync\": {\"verdict\": \"solid\", \"shiftMs\": -4"), std::string::npos) << json;
    EXPECT_NE(json.find("\"rate\": 1.0, \"pieces\": [{\"fromCue\": 0, \"shiftMs\": -4"), std::string::npos) << json;
    std::vector<SyncCue> written;
    std::vector<std::string> texts;
    readSubRip(synced, written, texts);
    ASSERT_EQ(written.size(), film.truth.size());
    EXPECT_EQ(texts, film.texts);
    expectOnTheirLines(SyncResult{}, written, film.truth);  // as written, with nothing more to correct
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cache), std::filesystem::directory_iterator()), 1);

    // The doctor tells the same from the same cache.
    const std::string doctor =
        probe + " --doctor --movie " + film.movie + " --cache " + cache + " " + late + " > " + dir.file("out.txt");
    ASSERT_EQ(run(doctor), 0) << doctor;
    const std::string told = test::readFile(dir.file("out.txt"));
    EXPECT_NE(told.find("\n  file  sync: about 4.3 s late\n"), std::string::npos) << told;
    EXPECT_EQ(told.find("fps;"), std::string::npos) << told;
}

TEST(SpokenFilm, AnotherFilmsSubtitleAndMusicAloneAreNeverSolid) {
    const test::TempDir dir;
    const SpokenFilm film = makeSpokenFilm(dir.path(), "talk", makeScript(3, 30), "music", 10);
    const SpokenFilm music = makeSpokenFilm(dir.path(), "music", {}, "music", 60);
    const auto reader = CreateFfmpegMovieSpeech();

    // Another film's lines: times as its script would give them, a word every 330 ms.
    std::vector<SyncCue> other;
    int64_t at = 0;
    for (const SpokenLine& line : makeScript(99, 30)) {
        at += line.gapMs;
        const int64_t length = 330 * static_cast<int64_t>(std::count(line.text.begin(), line.text.end(), ' ') + 1);
        other.push_back({at, at + length + 400});
        at += length;
    }
    const SyncResult tune = AlignToSpeech(film.truth, reader->ReadSpeech(music.movie, {}));
    EXPECT_EQ(tune.verdict, SyncVerdict::NoSpeech) << describe(tune);
    // Its own lines over that music fit.
    const std::vector<SyncCue> early = mapped(film.truth, [](int64_t t) { return t - 2500; });
    const SyncResult own = AlignToSpeech(early, reader->ReadSpeech(film.movie, {}));
    EXPECT_EQ(own.verdict, SyncVerdict::Solid) << describe(own);
    expectOnTheirLines(own, early, film.truth);

    // The doctor says so, in JSON as well.
    const std::string foreignFile = dir.file("other.srt"), cache = dir.file("cache"), json = dir.file("out.json");
    writeSubRip(foreignFile, other, film.texts);
    ASSERT_EQ(
        run(probe + " --doctor --json --movie " + film.movie + " --cache " + cache + " " + foreignFile + " > " + json),
        0);
    EXPECT_NE(
        test::readFile(json).find("{\"line\": 0, \"kind\": \"sync\", \"detail\": \"does not match this movie's speech: "
                                  "probably another film's subtitle\"}"),
        std::string::npos)
        << test::readFile(json);

    // The probe writes nothing then, and says why bad input cannot be synchronised.
    const std::string subtitle = dir.file("talk.srt"), out = dir.file("out.srt");
    EXPECT_EQ(run(probe + " --sync " + music.movie + " --write " + out + " " + subtitle + " > /dev/null 2>&1"), 3);
    EXPECT_FALSE(std::filesystem::exists(out));
    const std::string mute = dir.file("mute.mkv"), empty = dir.write("empty.srt", ""), said = dir.file("said");
    ASSERT_EQ(run("ffmpeg -loglevel error -nostdin -f lavfi -i color=s=32x32:r=5:d=2 -c:v mpeg4 " + mute), 0);
    const std::string vobSub = std::string(TESSAVIEW_CORPUS_DIR) + "/vobsub/tiny.idx";
    const std::pair<std::string, std::string> cases[] = {
        {mute + " " + subtitle, "The movie " + mute + " has no sound to synchronise to."},
        {film.movie + " " + empty, empty + " is empty: no lines to synchronise"},
        {film.movie + " " + vobSub, vobSub + ": synchronising pictures is not supported"},
    };
    // A movie without sound leaves the doctor to its other findings.
    ASSERT_EQ(run(probe + " --doctor --movie " + mute + " --cache " + cache + " " + subtitle + " > " + said), 0);
    EXPECT_NE(test::readFile(said).find("  file  sync: the movie's speech could not be read: The movie " + mute +
                                        " has no sound to synchronise to.\n"),
              std::string::npos)
        << test::readFile(said);
    for (const auto& [arguments, message] : cases) {
        if (arguments.find("vobsub") != std::string::npos && !std::filesystem::exists(vobSub)) continue;
        EXPECT_EQ(run(probe + " --sync " + arguments + " --write " + out + " > /dev/null 2> " + said), 1) << arguments;
        EXPECT_EQ(test::readFile(said), "tessaview-probe: " + message + "\n");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
}  // namespace tessaview::testing
