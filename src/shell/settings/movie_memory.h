// The per-movie memory: for each movie opened lately, where it was left and the subtitle
// choices made for it, in a small store of its own beside the settings. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <iosfwd>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessaview {

// The speech synchronisation in force on the subtitle's cue times, none without a shift: the
// first piece's shift, the rate, and the later pieces as "fromCue:shiftMs,...".
struct MovieSync {
    std::optional<int64_t> ShiftMs;
    std::optional<double> Rate;
    std::string Pieces;
    bool operator==(const MovieSync&) const = default;
};

struct MovieRecord {
    int64_t PositionMs = 0;     // where the movie was left
    int32_t SyncMs = 0;         // the synchronize value
    int32_t FrameRateItem = 0;  // the Subtitle FrameRate item's tag; 0 Same As Movie
    std::string Subtitle;       // a subtitle loaded by hand; autoloaded ones are found again
    // Keys this version does not know (a later one wrote them), kept as read and written back.
    std::vector<std::pair<std::string, std::string>> Other;
    MovieSync Sync;
    std::string SecondSubtitle{};  // the second subtitle shown under the first; empty: none
    int32_t SecondSyncMs = 0;      // its own offset
    bool operator==(const MovieRecord&) const = default;
};

// File name of the store in `folder`.
std::string MovieMemoryFileName(const std::string& folder);

class MovieMemory {
public:
    static constexpr std::size_t Capacity = 1000;

    MovieMemory() = default;  // empty, never written
    // Reads the store. A missing file is an empty memory; a damaged or unreadable one is
    // ignored with one line on `log`, and an unreadable one is never replaced.
    MovieMemory(std::string fileName, std::ostream& log);
    ~MovieMemory();  // waits for a write still under way

    const std::string& FileName() const { return fileName_; }
    std::size_t Size() const { return entries_.size(); }
    // The record of `movie` (its full name, as bytes), or null.
    const MovieRecord* Find(const std::string& movie) const;
    // Makes `record` the movie's and the most recent; beyond Capacity the least recent goes.
    void Remember(const std::string& movie, MovieRecord record);

    // Replaces the file atomically with the whole memory (making a missing folder first with
    // `makeFolder`). A failure is one line on the log, the first time only, and leaves the
    // file as it was. Flush writes only when something changed since the last read or write.
    bool Save(bool makeFolder = false);
    bool Flush(bool makeFolder = false);
    // Flush with the file written on a worker thread, so that the caller does not wait for
    // the disk; the next write, Wait or the end of the store waits for it. Wait tells
    // whether it succeeded.
    void FlushInBackground(bool makeFolder = false);
    bool Wait();

    // The memory in its file form, most recent first; and read back from that form (false,
    // and nothing kept, when it is not one).
    std::string Text() const;
    bool Parse(std::string_view text);

private:
    struct Entry {
        std::string movie;
        MovieRecord record;
    };
    void say(const std::string& line) const;
    bool writable() const { return !fileName_.empty() && replaceable_; }
    bool finished(bool written);

    std::string fileName_;
    std::ostream* log_ = nullptr;
    std::list<Entry> entries_;                                                  // the most recent first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> byMovie_;  // views into entries_
    bool changed_ = false;
    bool replaceable_ = false;  // a file that could not be read is never replaced
    bool warned_ = false;
    std::future<bool> pending_;  // the write under way on a worker thread
};

// Where a movie with memory starts, in frames: its stored position, or nothing (the start)
// when that lies in the first 10 s or the last 5 % of the movie. A length of 0 is unknown.
std::optional<int32_t> ResumeFrame(int64_t positionMs, int32_t durationFrames, double frameRate);
int64_t FramesToMilliseconds(int64_t frames, double frameRate);
// "Resumed at 0:12:05": the text shown over the picture.
std::string ResumedText(int64_t positionMs);

}  // namespace tessaview
