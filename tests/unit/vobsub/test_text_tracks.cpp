// Text tracks taken out of movies that ffmpeg makes here, and the movies' timing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "support/temp_dir.h"

namespace tessaview {
namespace {

TEST(FfmpegTextTracks, FirstTextTrackComesBackAsItsFileAndTheMovieTellsItsTiming) {
    const std::string dialogue = "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere";
    const std::string ass =
        "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, "
        "Style, Name, MarginL, MarginR, MarginV, Effect, Text\n" +
        dialogue + "\n";
    // ffmpeg's subtitle encoder and the file it reads, the lines that must come back.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"srt", "1\n00:00:00,050 --> 00:00:01,005\nHello\n", "00:00:00,050 --> 00:00:01,005\r\nHello\r\n"},
        {"ass", ass, dialogue + "\r\n"}};
    const test::TempDir dir;
    const auto tracks = CreateFfmpegTextTracks();
    for (const auto& [codec, text, lines] : cases) {
        const std::string movie = dir.file(codec + ".mkv");
        const std::string input = dir.write("in." + codec, text);
        const std::string make = "ffmpeg -loglevel error -nostdin -f lavfi -i color=s=32x32:r=25:d=2 -i " + input +
                                 " -c:v mpeg4 -c:s " + codec + " " + movie;
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::optional<TextTrack> track = tracks->FirstTextTrack(movie);
        ASSERT_TRUE(track) << codec;
        EXPECT_EQ(track->extension, "." + codec);
        EXPECT_EQ(track->text.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_NE(track->text.find(lines), std::string::npos) << track->text;
    }
    const std::optional<MovieTiming> timing = tracks->ReadMovieTiming(dir.file("ass.mkv"));
    ASSERT_TRUE(timing);
    EXPECT_DOUBLE_EQ(timing->frameRate, 25.0);
    EXPECT_NEAR(timing->lengthSeconds, 2.0, 0.1);
    EXPECT_FALSE(tracks->FirstTextTrack(dir.file("none.mkv")));
    // Told to stop (another movie opened), a read answers nothing.
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(tracks->FirstTextTrack(dir.file("srt.mkv"), stopped.get_token()));
    EXPECT_FALSE(tracks->ReadMovieTiming(dir.file("none.mkv")));
}

}  // namespace
}  // namespace tessaview
