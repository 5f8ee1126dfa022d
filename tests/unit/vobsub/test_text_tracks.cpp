// Text tracks taken out of movies that ffmpeg makes here, and the movies' timing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "support/temp_dir.h"

namespace tessaview {
namespace {

TEST(FfmpegTextTracks, FirstTextTrackComesBackAsItsFileAndTheMovieTellsItsTiming) {
    const struct {
        const char* codec;  // ffmpeg's subtitle encoder, and the extension of its own format
        std::string input;
        const char* extension;
        const char* expectedLines;  // lines that must appear in the written-out file
    } cases[] = {
        {"srt", "1\n00:00:00,500 --> 00:00:01,250\nHello\nthere\n", ".srt",
         "1\r\n00:00:00,500 --> 00:00:01,250\r\nHello\r\nthere\r\n"},
        {"ass",
         "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nFormat: Name, Fontsize\nStyle: Default,20\n\n"
         "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere\n",
         ".ass", "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere\r\n"},
    };
    const test::TempDir dir;
    const auto tracks = CreateFfmpegTextTracks();
    for (const auto& c : cases) {
        const std::string movie = dir.file(std::string(c.codec) + ".mkv");
        const std::string input = dir.write(std::string("in.") + c.codec, c.input);
        const std::string make = "ffmpeg -loglevel error -nostdin -y -f lavfi -i color=size=32x32:rate=25:duration=2 "
                                 "-i " + input + " -c:v mpeg4 -c:s " + c.codec + " " + movie;
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::optional<TextTrack> track = tracks->FirstTextTrack(movie);
        ASSERT_TRUE(track) << c.codec;
        EXPECT_EQ(track->extension, c.extension);
        EXPECT_EQ(track->text.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_NE(track->text.find(c.expectedLines), std::string::npos) << track->text;
        const std::optional<MovieTiming> timing = tracks->ReadMovieTiming(movie);
        ASSERT_TRUE(timing);
        EXPECT_DOUBLE_EQ(timing->frameRate, 25.0);
        EXPECT_NEAR(timing->lengthSeconds, 2.0, 0.1);
    }
    EXPECT_FALSE(tracks->FirstTextTrack(dir.file("missing.mkv")));
    EXPECT_FALSE(tracks->ReadMovieTiming(dir.file("missing.mkv")));
}

}  // namespace
}  // namespace tessaview
