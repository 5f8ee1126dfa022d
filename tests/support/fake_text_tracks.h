// Text tracks for tests: one scripted answer for every movie, and a latch that holds a track
// read (the player reads on a worker thread) as a slow disk would, until released or stopped.
#pragma once

#include "external/text_tracks.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace tessaview {

class FakeTextTracks : public TextTracks {
public:
    // Set before the reads.
    std::optional<TextTrack> track;

    void Hold() { held_ = true; }
    void Release() { held_ = false; }
    int Reads() const { return reads_; }        // track reads begun
    int Finished() const { return finished_; }  // track reads that ran to their end or stop
    std::string AskedFor() const {
        const std::lock_guard lock(mutex_);
        return askedFor_;
    }

    std::optional<TextTrack> FirstTextTrack(const std::string& movie, std::stop_token stop) override {
        ask(movie);
        ++reads_;
        while (held_ && !stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::optional<TextTrack> answer = stop.stop_requested() ? std::nullopt : track;
        ++finished_;
        return answer;
    }
    std::optional<MovieTiming> ReadMovieTiming(const std::string& movie) override {
        ask(movie);
        return std::nullopt;
    }

private:
    mutable std::mutex mutex_;
    std::string askedFor_;
    std::atomic<bool> held_{false};
    std::atomic<int> reads_{0};
    std::atomic<int> finished_{0};

    void ask(const std::string& movie) {
        const std::lock_guard lock(mutex_);
        askedFor_ = movie;
    }
};

}  // namespace tessaview
