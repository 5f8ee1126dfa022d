// The movie memory's file form, its least-recently-used bound, its atomic write, and where a
// remembered movie resumes.
//
// The file is text: a header line, then one block per movie, the most recent first. A block
// opens with "movie=<full name>" and has one "key=value" line per field; '%', CR and LF in
// values are written as %25, %0D and %0A. A key this version does not know is kept, so a
// field added later survives a run of an older copy.
#include "shell/settings/movie_memory.h"

#include "osdep/whole_file.h"
#include "shell/settings/file_locations.h"
#include "subtitle/number_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <type_traits>

namespace tessaview {

namespace {

constexpr std::string_view kHeader = "# tessaview movie memory 1";
constexpr std::string_view kMovieKey = "movie";
// Far beyond a full store (1,000 long names); a larger file is no store of ours and is not
// read, so that it cannot hold up the start.
constexpr std::uintmax_t kMaxFileSize = 16 << 20;

// The one list of a record's fields: reading and writing both walk it.
template <class Record, class Visit>
void visitFields(Record& record, Visit&& visit) {
    visit("position_ms", record.PositionMs);
    visit("sync_ms", record.SyncMs);
    visit("frame_rate_item", record.FrameRateItem);
    visit("subtitle", record.Subtitle);
    visit("sync_shift_ms", record.Sync.ShiftMs);
    visit("sync_rate", record.Sync.Rate);
    visit("sync_pieces", record.Sync.Pieces);
    visit("second_subtitle", record.SecondSubtitle);
    visit("second_sync_ms", record.SecondSyncMs);
}

// A field that may be absent is written only when present.
template <class T>
struct Present {
    using type = T;
};
template <class T>
struct Present<std::optional<T>> {
    using type = T;
};
template <class T>
constexpr bool IsOptional = !std::is_same_v<typename Present<T>::type, T>;

// Whole numbers as they are; a fraction with the digits that read back the same.
template <class Number>
std::string number(Number value) {
    if constexpr (std::is_floating_point_v<Number>) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return text;
    } else {
        return std::to_string(value);
    }
}

void appendEscaped(std::string& out, std::string_view value) {
    for (const char c : value) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out += c;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string unescaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const int high = value[i] == '%' && i + 2 < value.size() ? hexDigit(value[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(value[i + 2]) : -1;
        if (low < 0) {
            out += value[i];
            continue;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// A known field takes the value (a number that does not read leaves it as it was); any other
// key is kept as it came.
void readField(MovieRecord& record, std::string_view key, std::string value) {
    bool known = false;
    visitFields(record, [&](std::string_view name, auto& field) {
        if (name != key) return;
        known = true;
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>) {
            field = std::move(value);
        } else {
            typename Present<Field>::type number{};
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (error == std::errc() && end == value.data() + value.size()) field = number;
        }
    });
    if (!known) record.Other.emplace_back(key, std::move(value));
}

}  // namespace

std::string MovieMemoryFileName(const std::string& folder) {
    return (std::filesystem::path(folder.empty() ? std::string(".") : folder) / "memory.txt").lexically_normal();
}

MovieMemory::MovieMemory(std::string fileName, std::ostream& log) : fileName_(std::move(fileName)), log_(&log) {
    RemoveStaleTemporaries(fileName_);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(fileName_, error);
    std::string content;
    const ReadResult read = !error && size > kMaxFileSize ? ReadResult::Ok : ReadRegularFile(fileName_, content);
    if (read == ReadResult::Failed) {
        say("tessaview: cannot read the movie memory " + fileName_ + "; it is left as it is");
        return;
    }
    replaceable_ = true;
    if (read == ReadResult::Ok && !Parse(content))
        say("tessaview: the movie memory " + fileName_ + " is damaged; it is ignored");
}

const MovieRecord* MovieMemory::Find(const std::string& movie) const {
    const auto found = byMovie_.find(movie);
    return found == byMovie_.end() ? nullptr : &found->second->record;
}

void MovieMemory::Remember(const std::string& movie, MovieRecord record) {
    changed_ = true;
    if (const auto found = byMovie_.find(movie); found != byMovie_.end()) {
        found->second->record = std::move(record);
        entries_.splice(entries_.begin(), entries_, found->second);
        return;
    }
    entries_.push_front(Entry{movie, std::move(record)});
    byMovie_.emplace(entries_.front().movie, entries_.begin());
    if (entries_.size() <= Capacity) return;
    byMovie_.erase(entries_.back().movie);
    entries_.pop_back();
}

std::string MovieMemory::Text() const {
    std::string text(kHeader);
    text += '\n';
    for (const Entry& entry : entries_) {
        text += kMovieKey;
        text += '=';
        appendEscaped(text, entry.movie);
        text += '\n';
        const auto line = [&text](std::string_view key, std::string_view value) {
            text += key;
            text += '=';
            appendEscaped(text, value);
            text += '\n';
        };
        visitFields(entry.record, [&](std::string_view name, const auto& field) {
            using Field = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, std::string>) {
                if (!field.empty()) line(name, field);
            } else if constexpr (IsOptional<Field>) {
                if (field) line(name, number(*field));
            } else if (name != "second_sync_ms" || field != 0) {
                // The second subtitle's offset only where one was used: most records have none.
                line(name, number(field));
            }
        });
        for (const auto& [key, value] : entry.record.Other) line(key, value);
    }
    return text;
}

bool MovieMemory::Parse(std::string_view text) {
    std::list<Entry> read;
    bool header = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (std::exchange(header, false)) {
            if (line != kHeader) return false;
            continue;
        }
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) return false;
        const std::string_view key = line.substr(0, equals);
        std::string value = unescaped(line.substr(equals + 1));
        if (key == kMovieKey) {
            if (value.empty()) return false;
            read.push_back(Entry{std::move(value), {}});
        } else if (read.empty()) {
            return false;
        } else {
            readField(read.back().record, key, std::move(value));
        }
    }
    if (header) return false;  // an empty file is no store
    entries_.clear();
    byMovie_.clear();
    // A movie named twice keeps its first, most recent block.
    for (auto it = read.begin(); it != read.end() && entries_.size() < Capacity;) {
        const auto next = std::next(it);
        if (!byMovie_.contains(it->movie)) {
            entries_.splice(entries_.end(), read, it);
            byMovie_.emplace(entries_.back().movie, std::prev(entries_.end()));
        }
        it = next;
    }
    changed_ = false;
    return true;
}

namespace {

bool writeStore(const std::string& fileName, const std::string& text, bool makeFolder) {
    if (makeFolder) MakePrivateFolders(std::filesystem::path(fileName).parent_path());
    return ReplaceWholeFile(fileName, text);
}

}  // namespace

MovieMemory::~MovieMemory() { Wait(); }

bool MovieMemory::Save(bool makeFolder) {
    Wait();
    if (!writable()) return false;
    changed_ = false;
    return finished(writeStore(fileName_, Text(), makeFolder));
}

bool MovieMemory::Flush(bool makeFolder) { return changed_ ? Save(makeFolder) : Wait(); }

void MovieMemory::FlushInBackground(bool makeFolder) {
    Wait();
    if (!changed_ || !writable()) return;
    changed_ = false;
    pending_ = std::async(std::launch::async, writeStore, fileName_, Text(), makeFolder);
}

bool MovieMemory::Wait() { return pending_.valid() ? finished(pending_.get()) : true; }

// A failed write is tried again at the next flush; it is told only once.
bool MovieMemory::finished(bool written) {
    if (written) return true;
    changed_ = true;
    if (!std::exchange(warned_, true)) say("tessaview: cannot write the movie memory " + fileName_);
    return false;
}

void MovieMemory::say(const std::string& line) const {
    if (log_) *log_ << line << std::endl;
}

int64_t FramesToMilliseconds(int64_t frames, double frameRate) {
    return frameRate > 0 ? RoundHalfAway(static_cast<double>(frames) * 1000.0 / frameRate) : 0;
}

std::optional<int32_t> ResumeFrame(int64_t positionMs, int32_t durationFrames, double frameRate) {
    constexpr int64_t kFromStartMs = 10000;
    if (!(frameRate > 0) || positionMs < kFromStartMs) return std::nullopt;
    const int64_t durationMs = FramesToMilliseconds(durationFrames, frameRate);
    if (durationMs > 0 && positionMs * 20 >= durationMs * 19) return std::nullopt;  // the last 5 %
    return ClampToInt32(RoundHalfAway(static_cast<double>(positionMs) * frameRate / 1000.0));
}

std::string ResumedText(int64_t positionMs) {
    const int64_t seconds = std::max<int64_t>(positionMs, 0) / 1000;
    char minutesSeconds[16];  // room for any int, though both fields are 0-59
    std::snprintf(minutesSeconds, sizeof minutesSeconds, ":%02d:%02d", static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return "Resumed at " + std::to_string(seconds / 3600) + minutesSeconds;
}

}  // namespace tessaview
