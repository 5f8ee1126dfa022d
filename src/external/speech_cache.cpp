// Cache entries: a marker line, the key (absolute path, size, time of last change), the frame
// count and one bit per frame; written to a fresh name and renamed into place.
#include "external/speech_cache.h"

#include "osdep/whole_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace tessaview {

namespace {

constexpr std::string_view marker = "tessaview speech profile 1\n";

std::string absolute(const std::string& movie) {
    std::error_code error;
    const fs::path path = fs::absolute(movie, error);
    return error ? movie : path.lexically_normal().string();
}

// Nothing when the movie cannot be looked at: then it is not cached.
std::optional<std::string> keyOf(const std::string& movie) {
    std::error_code error;
    const auto size = fs::file_size(movie, error);
    if (error) return std::nullopt;
    const auto changed = fs::last_write_time(movie, error);
    if (error) return std::nullopt;
    return absolute(movie) + "\n" + std::to_string(size) + "\n" + std::to_string(changed.time_since_epoch().count()) +
           "\n";
}

uint64_t fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

std::string number(uint64_t value) { return std::to_string(value) + "\n"; }

std::optional<SpeechProfile> load(const std::string& entry, const std::string& key) {
    std::ifstream in(entry, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string header = std::string(marker) + number(key.size()) + key;
    if (bytes.compare(0, header.size(), header) != 0) return std::nullopt;
    const size_t line = bytes.find('\n', header.size());
    if (line == std::string::npos) return std::nullopt;
    uint64_t frames = 0;
    for (size_t i = header.size(); i < line; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9' || frames > (uint64_t{1} << 40)) return std::nullopt;
        frames = frames * 10 + static_cast<uint64_t>(bytes[i] - '0');
    }
    if (bytes.size() - line - 1 != (frames + 7) / 8) return std::nullopt;  // cut short or overlong: not ours to trust
    SpeechProfile profile;
    profile.frames.resize(frames);
    const auto* bits = reinterpret_cast<const unsigned char*>(bytes.data() + line + 1);
    for (size_t k = 0; k < frames; ++k) profile.frames[k] = (bits[k / 8] >> (k % 8)) & 1;
    return profile;
}

}  // namespace

CachedMovieSpeech::CachedMovieSpeech(MovieSpeech& reader, std::string folder, size_t maxEntries)
    : reader_(reader), folder_(std::move(folder)), maxEntries_(std::max<size_t>(maxEntries, 1)) {}

std::string CachedMovieSpeech::EntryPath(const std::string& movie) const {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.speech", static_cast<unsigned long long>(fnv1a(absolute(movie))));
    return (fs::path(folder_) / name).string();
}

SpeechProfile CachedMovieSpeech::ReadSpeech(const std::string& movie, const SpeechReadControl& control) {
    const std::optional<std::string> key = keyOf(movie);
    if (key) {
        if (std::optional<SpeechProfile> kept = load(EntryPath(movie), *key)) {
            if (control.progress) control.progress(1.0);
            return std::move(*kept);
        }
    }
    SpeechProfile profile = reader_.ReadSpeech(movie, control);
    // The file may have changed while it was read: keep the profile only under the key it had
    // before and still has.
    if (key && keyOf(movie) == key) keep(EntryPath(movie), *key, profile);
    return profile;
}

void CachedMovieSpeech::keep(const std::string& entry, const std::string& key, const SpeechProfile& profile) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::replace, error);
    std::string bytes = std::string(marker) + number(key.size()) + key + number(profile.frames.size());
    std::string bits((profile.frames.size() + 7) / 8, '\0');
    for (size_t k = 0; k < profile.frames.size(); ++k)
        if (profile.frames[k]) bits[k / 8] = static_cast<char>(bits[k / 8] | (1 << (k % 8)));
    bytes += bits;
    ReplaceWholeFile(entry, bytes);  // a failure leaves the old entry, or none: only a cache
    trim();
}

void CachedMovieSpeech::trim() const {
    std::error_code error;
    std::vector<std::pair<fs::file_time_type, fs::path>> entries;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".speech") entries.emplace_back(it->last_write_time(error), it->path());
    if (entries.size() <= maxEntries_) return;
    std::sort(entries.begin(), entries.end());
    for (size_t i = 0; i + maxEntries_ < entries.size(); ++i) fs::remove(entries[i].second, error);
}

}  // namespace tessaview
