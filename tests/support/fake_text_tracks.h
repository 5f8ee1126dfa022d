// Text tracks for tests: one scripted answer for every movie, and the movie last asked about.
#pragma once

#include "external/text_tracks.h"

namespace tessaview {

class FakeTextTracks : public TextTracks {
public:
    std::optional<TextTrack> track;
    std::optional<MovieTiming> timing;
    std::string askedFor;
    std::optional<TextTrack> FirstTextTrack(const std::string& movie) override
    {
        askedFor = movie;
        return track;
    }
    std::optional<MovieTiming> ReadMovieTiming(const std::string& movie) override
    {
        askedFor = movie;
        return timing;
    }
};

}  // namespace tessaview
