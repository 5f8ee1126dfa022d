// Speech profiles kept per movie in a folder of the caller's choice, so synchronising the same
// movie again does not decode its sound again. An entry is trusted only for the same file:
// the same path, size and time of last change.
#pragma once

#include "external/movie_speech.h"

#include <cstddef>
#include <string>

namespace tessaview {

class CachedMovieSpeech : public MovieSpeech {
public:
    // At most `maxEntries` profiles are kept; the least recently written go first.
    CachedMovieSpeech(MovieSpeech& reader, std::string folder, size_t maxEntries = 200);

    // A kept profile when the file is unchanged; otherwise the reader's, then kept. A folder
    // that cannot be written only means nothing is kept.
    SpeechProfile ReadSpeech(const std::string& movie, const SpeechReadControl& control) override;

    // Where the entry for `movie` lives, whatever the movie's state.
    std::string EntryPath(const std::string& movie) const;

private:
    MovieSpeech& reader_;
    std::string folder_;
    size_t maxEntries_;
    void keep(const std::string& entry, const std::string& key, const SpeechProfile& profile) const;
    void trim() const;
};

}  // namespace tessaview
