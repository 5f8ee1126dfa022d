// The alignment on made-up films: each way a subtitle can be off, and the verdicts that must
// hold when it cannot be fitted.
#include "made_up_film.h"
#include "sync/correlator.h"
#include "sync/spoken_film.h"

#include <gtest/gtest.h>

#include <utility>

namespace tessaview::testing {
namespace {

constexpr int64_t sixMinutes = 6 * 60 * 1000;

TEST(Alignment, ShiftsAndRatesAreFoundAndEveryLineLandsOnItsSpeech) {
    // 24 fps read as 23.976 drifts 1.2 s over 20 minutes; its overlap barely differs from the
    // film's own rate, so the cue starts decide, and a right subtitle must not get that rate.
    const int64_t twentyMinutes = 20 * 60 * 1000;
    const struct {
        const char* name;
        double subtitleRate;  // the subtitle's times are the film's divided by this; the rate to find
        int64_t subtitleShift;
        int64_t filmMs = sixMinutes;
    } cases[] = {
        {"moved later", 1.0, -7300},
        {"moved earlier", 1.0, 95000},
        {"25 fps read as 23.976", 25 / 23.976, -2000},
        {"23.976 fps read as 25", 23.976 / 25, 1500},
        {"already right", 1.0, 0},
        {"24 fps read as 23.976", 24 / 23.976, 0, twentyMinutes},
        {"already right, long", 1.0, 0, twentyMinutes},
    };
    for (const auto& c : cases) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const MadeUpFilm film = makeFilm(seed, c.filmMs);
            const std::vector<SyncCue> cues = mapped(timedCues(film.lines, seed), [&](int64_t t) {
                return static_cast<int64_t>(std::llround(static_cast<double>(t) / c.subtitleRate)) + c.subtitleShift;
            });
            const SyncResult result = AlignToSpeech(cues, film.speech);
            SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed) + ": " + describe(result));
            EXPECT_EQ(result.verdict, SyncVerdict::Solid);
            EXPECT_DOUBLE_EQ(result.rate, c.subtitleRate);
            EXPECT_EQ(result.pieces.size(), 1u);
            expectOnTheirLines(result, cues, film.lines);
            EXPECT_GT(result.speechShare, 0.6);
            EXPECT_GT(result.margin, 0.3);
        }
    }
}

TEST(Alignment, OneCutGivesTwoPiecesWithTheirOwnShifts) {
    // The film has a 25 s scene the subtitle's release lacks (its lines are not in the
    // subtitle, and the cues after it come 25 s early), or lacks 20 s of the release's (those
    // cues fall where nothing matches, and the cues after them come 20 s late).
    for (const int64_t cut : {int64_t{25000}, int64_t{-20000}}) {
        for (unsigned seed = 4; seed <= 6; ++seed) {
            const MadeUpFilm film = makeFilm(seed, sixMinutes);
            const int64_t at = sixMinutes / 2, gap = std::abs(cut);
            const std::vector<SyncCue> timed = timedCues(film.lines, seed);
            std::vector<std::pair<SyncCue, SyncCue>> pairs;  // a cue, and where it belongs (-1: nowhere)
            for (size_t i = 0; i < timed.size(); ++i) {
                const int64_t start = film.lines[i].startMs;
                if (cut > 0 && start >= at && start < at + gap) continue;
                if (cut < 0 && start >= at - gap && start < at)  // a copy stands for the lost scene's line
                    pairs.push_back({{timed[i].startMs + gap - 3000, timed[i].endMs + gap - 3000}, {-1, -1}});
                const int64_t move = (start >= at ? -cut : 0) - 3000;
                pairs.push_back({{timed[i].startMs + move, timed[i].endMs + move}, film.lines[i]});
            }
            std::stable_sort(pairs.begin(), pairs.end(),
                             [](const auto& a, const auto& b) { return a.first.startMs < b.first.startMs; });
            std::vector<SyncCue> cues, lines;
            for (const auto& [cue, line] : pairs) cues.push_back(cue), lines.push_back(line);
            const SyncResult result = AlignToSpeech(cues, film.speech);
            SCOPED_TRACE("cut " + std::to_string(cut) + ", seed " + std::to_string(seed) + ": " + describe(result));
            ASSERT_EQ(result.pieces.size(), 2u);
            EXPECT_EQ(result.verdict, SyncVerdict::Solid);
            EXPECT_DOUBLE_EQ(result.rate, 1.0);
            EXPECT_NEAR(static_cast<double>(result.pieces[0].shiftMs), 3000, 60);
            EXPECT_NEAR(static_cast<double>(result.pieces[1].shiftMs - result.pieces[0].shiftMs),
                        static_cast<double>(cut), 60);
            expectOnTheirLines(result, cues, lines);
        }
    }
}

TEST(Alignment, AnotherFilmsSubtitleIsNeverSolid) {
    // Over half an hour its lines split into pieces that each fit somewhere by chance; none
    // stands out, so they are no pieces and the answer is no match.
    int noMatch = 0;
    for (unsigned seed = 10; seed < 22; ++seed) {
        const int64_t length = seed < 20 ? sixMinutes : 5 * sixMinutes;
        const MadeUpFilm film = makeFilm(seed, length), other = makeFilm(seed + 100, length);
        const SyncResult result = AlignToSpeech(timedCues(other.lines, seed), film.speech);
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + describe(result));
        EXPECT_NE(result.verdict, SyncVerdict::Solid);
        EXPECT_NE(result.verdict, SyncVerdict::NoSpeech);
        EXPECT_EQ(result.pieces.size(), 1u);
        noMatch += result.verdict == SyncVerdict::NoMatch;
    }
    EXPECT_GE(noMatch, 11);  // of the 12
}

TEST(Alignment, TooLittleSpeechSaysSoAndMovesNothing) {
    const MadeUpFilm film = makeFilm(30, sixMinutes);
    const SpeechProfile none;
    SpeechProfile silent;
    silent.frames.assign(film.speech.frames.size(), 0);
    SpeechProfile fewWords = silent;
    markSpeech(fewWords, 60000, 63000);  // one line in six minutes
    for (const SpeechProfile* speech : {&none, &std::as_const(silent), &std::as_const(fewWords)}) {
        const SyncResult result = AlignToSpeech(timedCues(film.lines, 30), *speech);
        EXPECT_EQ(result.verdict, SyncVerdict::NoSpeech) << describe(result);
        EXPECT_EQ(result.ShiftMs(), 0);
        EXPECT_EQ(result.rate, 1.0);
    }
}

TEST(Alignment, SmoothingDropsShortBurstsClosesShortPausesAndAdvancesOnsets) {
    auto frames = [](const std::string& pattern) {
        std::vector<uint8_t> out;
        for (char c : pattern) out.push_back(c == '#');
        return out;
    };
    // Bursts under 3 frames go, then pauses under 4 frames close; runs at either end stay.
    std::vector<uint8_t> speech = frames("##....#.....####..###...##......#");
    SmoothSpeech(speech, 3, 4);
    EXPECT_EQ(speech, frames("##..........#########...........#"));
    // The detector's late onsets: each run starts two frames earlier.
    speech = frames("#....##...#");
    AdvanceSpeechStarts(speech, 2);
    EXPECT_EQ(speech, frames("#..####.###"));
}

TEST(Alignment, CorrelatorGivesEveryLagInOrder) {
    const std::vector<double> reference{1, -2, 3, 0.5, 4}, signal{2, -1, 0.25};
    Correlator correlator(reference, 4);
    const std::vector<double> got = correlator.Correlate(signal);
    ASSERT_EQ(got.size(), signal.size() + reference.size() - 1);
    for (size_t i = 0; i < got.size(); ++i) {
        const int lag = static_cast<int>(i) - static_cast<int>(signal.size() - 1);
        double sum = 0;
        for (int j = 0; j < static_cast<int>(signal.size()); ++j)
            if (j + lag >= 0 && j + lag < static_cast<int>(reference.size()))
                sum += signal[static_cast<size_t>(j)] * reference[static_cast<size_t>(j + lag)];
        EXPECT_NEAR(got[i], sum, 1e-9) << "lag " << lag;
    }
    EXPECT_EQ(SmoothTransformSize(121), 125u);
}

}  // namespace
}  // namespace tessaview::testing
