// Text tracks taken out of movies that ffmpeg makes here, and the movies' timing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "external/ffmpeg/ffmpeg_text_tracks.h"

namespace tessaview {
namespace {

namespace fs = std::filesystem;

struct TrackCase {
    const char* codec;  // ffmpeg's subtitle encoder
    const char* input;  // file written beside, in the encoder's own format
    const char* extension;
    const char* expectedLines;  // lines that must appear in the written-out file
};

TEST(FfmpegTextTracks, FirstTextTrackComesBackAsItsFileAndTheMovieTellsItsTiming) {
    const TrackCase cases[] = {
        {"srt", "1\n00:00:00,500 --> 00:00:01,250\nHello\nthere\n", ".srt",
         "1\r\n00:00:00,500 --> 00:00:01,250\r\nHello\r\nthere\r\n"},
        {"ass",
         "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nFormat: Name, Fontsize\nStyle: Default,20\n\n[Events]\n"
         "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere\n",
         ".ass", "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere\r\n"},
    };
    const fs::path folder = fs::temp_directory_path() / ("tessaview-tracks-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const auto tracks = CreateFfmpegTextTracks();
    for (const TrackCase& c : cases) {
        const fs::path input = folder / (std::string("in.") + c.codec);
        const fs::path movie = folder / (std::string(c.codec) + ".mkv");
        std::ofstream(input) << c.input;
        const std::string make = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
                                 "color=c=black:size=32x32:rate=25:duration=2 -i " +
                                 input.string() + " -c:v mpeg4 -c:s " + c.codec + " " + movie.string();
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::optional<TextTrack> track = tracks->FirstTextTrack(movie.string());
        ASSERT_TRUE(track) << c.codec;
        EXPECT_EQ(track->extension, c.extension);
        EXPECT_EQ(track->text.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_NE(track->text.find(c.expectedLines), std::string::npos) << track->text;
        const std::optional<MovieTiming> timing = tracks->ReadMovieTiming(movie.string());
        ASSERT_TRUE(timing);
        EXPECT_DOUBLE_EQ(timing->frameRate, 25.0);
        EXPECT_NEAR(timing->lengthSeconds, 2.0, 0.1);
    }
    // A movie without a text track, and no movie at all.
    EXPECT_FALSE(tracks->FirstTextTrack((folder / "in.srt").string() + ".none"));
    EXPECT_FALSE(tracks->ReadMovieTiming((folder / "missing.mkv").string()));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tessaview
