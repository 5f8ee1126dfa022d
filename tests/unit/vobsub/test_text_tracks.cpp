// A SubStation track taken out of a movie that ffmpeg makes here, and the movie's timing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "support/temp_dir.h"

namespace tessaview {
namespace {

TEST(FfmpegTextTracks, FirstTextTrackComesBackAsItsFileAndTheMovieTellsItsTiming) {
    const test::TempDir dir;
    const std::string dialogue = "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere";
    const std::string header = "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, "
                               "Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    const std::string script = dir.write("in.ass", header + dialogue + "\n");
    const std::string movie = dir.file("movie.mkv");
    const std::string make = "ffmpeg -loglevel error -nostdin -f lavfi -i color=size=32x32:rate=25:duration=2"
                             " -i " + script + " -c:v mpeg4 -c:s ass " + movie;
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    const auto tracks = CreateFfmpegTextTracks();
    const std::optional<TextTrack> track = tracks->FirstTextTrack(movie);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->extension, ".ass");
    EXPECT_EQ(track->text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(track->text.find(dialogue + "\r\n"), std::string::npos) << track->text;
    const std::optional<MovieTiming> timing = tracks->ReadMovieTiming(movie);
    ASSERT_TRUE(timing);
    EXPECT_DOUBLE_EQ(timing->frameRate, 25.0);
    EXPECT_NEAR(timing->lengthSeconds, 2.0, 0.1);
    EXPECT_FALSE(tracks->FirstTextTrack(script + ".none"));
    EXPECT_FALSE(tracks->ReadMovieTiming(script + ".none"));
}

}  // namespace
}  // namespace tessaview
