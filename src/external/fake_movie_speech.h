// A movie's speech for tests: one scripted profile (or error) for every movie, the movies it
// was asked about, and the progress it reports on the way.
#pragma once

#include "external/movie_speech.h"
#include "subtitle/runtime_error.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaview {

class FakeMovieSpeech : public MovieSpeech {
public:
    SpeechProfile profile;
    std::optional<std::string> error;  // thrown as a RuntimeError instead of answering
    std::vector<std::string> askedFor;

    SpeechProfile ReadSpeech(const std::string& movie, const SpeechReadControl& control) override {
        askedFor.push_back(movie);
        for (double done : {0.0, 0.5, 1.0}) {
            ThrowIfCancelled(control);
            if (control.progress) control.progress(done);
        }
        if (error) throw RuntimeError(*error);
        return profile;
    }
};

}  // namespace tessaview
