// Subtitle text stored inside a movie file, and the movie's own timing, as the player asks
// for them: the autoload reads the first text track, the doctor compares cue times with the
// movie. FFmpeg answers them in external/ffmpeg; tests use a fake.
#pragma once

#include <optional>
#include <stop_token>
#include <string>

namespace tessaview {

// A text track written out as the subtitle file it came from.
struct TextTrack {
    std::string extension;  // ".srt" for SubRip, ".ass" for SubStation
    std::string text;       // the whole file, UTF-8 with its byte-order mark
};

struct MovieTiming {
    double frameRate = 0.0;      // frames per second of the first picture stream
    double lengthSeconds = 0.0;  // whole movie
};

class TextTracks {
public:
    virtual ~TextTracks() = default;
    // The movie's first SubRip or SubStation track; nothing when it has none or cannot be read,
    // or when `stop` is requested before the end (the whole file is read: seconds on a slow disk).
    virtual std::optional<TextTrack> FirstTextTrack(const std::string& movie, std::stop_token stop = {}) = 0;
    virtual std::optional<MovieTiming> ReadMovieTiming(const std::string& movie) = 0;
};

}  // namespace tessaview
