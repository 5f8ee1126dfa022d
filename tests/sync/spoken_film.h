// Films that speak known lines, made at test time by make_spoken_film.sh (espeak-ng, sox,
// ffmpeg), with their true subtitle; subtitles written and read back as SubRip; and the check
// that corrected cues land on their lines, for these films and the made-up ones.
#pragma once

#include "sync/alignment.h"
#include "sync/subtitle_sync.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaview::testing {

// Cues with each time passed through `time`.
inline std::vector<SyncCue> mapped(const std::vector<SyncCue>& cues, const std::function<int64_t(int64_t)>& time) {
    std::vector<SyncCue> out;
    for (const SyncCue& cue : cues) out.push_back({time(cue.startMs), time(cue.endMs)});
    return out;
}

// An answer in one line, for the traces.
inline std::string describe(const SyncResult& r) {
    std::string text = std::string(SyncVerdictName(r.verdict)) + " rate " + std::to_string(r.rate) + " margin " +
                       std::to_string(r.margin) + " share " + std::to_string(r.speechShare) + " pieces";
    for (const SyncPiece& p : r.pieces) text += " " + std::to_string(p.fromCue) + "@" + std::to_string(p.shiftMs);
    return text;
}

// How far each cue start, corrected by `result`, lies from its line's (lines at -1 have
// none): the share within 200 ms and the median, checked against the targets.
inline void expectOnTheirLines(const SyncResult& result, const std::vector<SyncCue>& cues,
                               const std::vector<SyncCue>& lines) {
    std::vector<int64_t> errors;
    for (size_t i = 0; i < cues.size(); ++i)
        if (lines[i].startMs >= 0)
            errors.push_back(std::abs(result.CorrectedTime(i, cues[i].startMs) - lines[i].startMs));
    ASSERT_FALSE(errors.empty());
    std::sort(errors.begin(), errors.end());
    const auto within = std::count_if(errors.begin(), errors.end(), [](int64_t e) { return e <= 200; });
    const double share = static_cast<double>(within) / static_cast<double>(errors.size());
    EXPECT_GE(share, 0.95);
    EXPECT_LE(errors[errors.size() / 2], 40);
}

struct SpokenLine {
    int gapMs = 0;  // after the line before ends
    std::string voice;
    std::string text;
};

// `count` lines of made-up talk: three speakers, pauses of a fraction of a second to a few
// seconds and now and then a long quiet stretch.
inline std::vector<SpokenLine> makeScript(unsigned seed, int count) {
    static const char* const words[] = {
        "the",    "keys",   "were",  "under",   "lamp", "we",    "never",     "said",    "that",      "you",
        "always", "forget", "train", "leaves",  "at",   "nine",  "tomorrow",  "morning", "bring",     "coat",
        "it",     "will",   "rain",  "whole",   "week", "where", "is",        "your",    "brother",   "he",
        "went",   "to",     "the",   "harbour", "with", "old",   "fisherman", "listen",  "carefully", "this",
        "only",   "chance", "we",    "have",    "left", "open",  "door",      "quietly", "please",    "nobody",
        "must",   "know",   "about", "letter",  "from", "Paris"};
    static const char* const voices[] = {"en-us", "en-gb+f3", "en-gb-scotland+m3"};
    std::mt19937 random(seed);
    const auto uniform = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(random); };
    std::vector<SpokenLine> script;
    for (int i = 0; i < count; ++i) {
        std::string text;
        for (int w = uniform(2, 11); w > 0; --w)
            text += std::string(text.empty() ? "" : " ") + words[uniform(0, static_cast<int>(std::size(words)) - 1)];
        const int gap = i == 0 ? uniform(1000, 4000) : uniform(0, 9) == 0 ? uniform(5000, 12000) : uniform(250, 3500);
        script.push_back({gap, voices[uniform(0, 2)], text + "."});
    }
    return script;
}

struct SpokenFilm {
    std::string movie;
    std::vector<SyncCue> truth;  // where each line's subtitle belongs
    std::vector<std::string> texts;
};

// Cues and texts of a SubRip file as the script writes it.
inline void readSubRip(const std::string& path, std::vector<SyncCue>& cues, std::vector<std::string>& texts) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        int h1, m1, s1, ms1, h2, m2, s2, ms2;
        if (std::sscanf(line.c_str(), "%d:%d:%d,%d --> %d:%d:%d,%d", &h1, &m1, &s1, &ms1, &h2, &m2, &s2, &ms2) != 8)
            continue;
        cues.push_back({((h1 * 60 + m1) * 60 + s1) * 1000LL + ms1, ((h2 * 60 + m2) * 60 + s2) * 1000LL + ms2});
        std::getline(in, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        texts.push_back(line);
    }
}

// Makes `folder`/`name`.mkv and reads its true subtitle back.
inline SpokenFilm makeSpokenFilm(const std::string& folder, const std::string& name,
                                 const std::vector<SpokenLine>& script, const std::string& background,
                                 int leastSeconds) {
    const std::string base = folder + "/" + name;
    {
        std::ofstream out(base + ".script");
        for (const SpokenLine& line : script) out << line.gapMs << " " << line.voice << " " << line.text << "\n";
    }
    const std::string command = std::string(TESSAVIEW_SOURCE_DIR) + "/tests/sync/make_spoken_film.sh " + base +
                                ".script " + background + " " + std::to_string(leastSeconds) + " " + base;
    if (std::system(command.c_str()) != 0) throw std::runtime_error("could not make the film " + base);
    SpokenFilm film;
    film.movie = base + ".mkv";
    readSubRip(base + ".srt", film.truth, film.texts);
    return film;
}

// As the product writes its corrected copies.
inline std::string subRipText(const std::vector<SyncCue>& cues, const std::vector<std::string>& texts) {
    TSubList list;
    for (size_t i = 0; i < cues.size(); ++i)
        list.push_back(std::make_unique<TTimeSpan>(TTimeSpan{
            static_cast<int32_t>(cues[i].startMs), static_cast<int32_t>(cues[i].endMs), texts[i % texts.size()]}));
    return SubRipText(list, true, 25, "CP1252");
}
inline void writeSubRip(const std::string& path, const std::vector<SyncCue>& cues,
                        const std::vector<std::string>& texts) {
    std::ofstream(path, std::ios::binary) << subRipText(cues, texts);
}

}  // namespace tessaview::testing
