// The alignment in its steps: the rate (kept only when clearly better), the shift over the
// whole movie, pieces where that pays, then the figures and the verdict.
#include "sync/alignment.h"

#include "subtitle/number_rules.h"
#include "subtitle/time_base.h"
#include "sync/pieces.h"
#include "sync/shift_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace tessaview {

namespace {

// The coarse grid holds about this many bins: a 2-hour film at 150 ms, fine enough for hills a
// line wide, and the transforms stay a few milliseconds each.
constexpr size_t maxBins = 50000;
// A rate must beat the movie's own by this factor, so a subtitle already right keeps its rate.
constexpr double rateGain = 1.25;
// Less speech in the sound than this share of the cue time is too little to fit anything to.
constexpr double leastSpeechForCueTime = 0.2;
constexpr double leastSpeechMs = 5000;
// A detector that hears speech nearly all the time hears music or noise, not speech.
constexpr double mostSpeechShare = 0.9;
// The corrected lines must fall on speech this much better than chance (0: chance, 1: all).
constexpr double leastLift = 0.4;
// A runner-up within this share of the best makes the answer unsure; a piece of the cue list
// whose own runner-up comes this close to it is no piece.
constexpr double leastMargin = 0.35;
constexpr double leastPieceMargin = 0.3;
// Ratios a hair from 1 (24/23.976) must put the cue starts this much better on speech starts.
constexpr double hairRateGain = 1.15;
// Windows of cues scanned on their own for the shifts a piece may take.
constexpr size_t leastWindowCues = 8;
constexpr size_t windowsPerList = 40;

std::vector<Span> spansAt(const std::vector<SyncCue>& cues, double rate) {
    std::vector<Span> spans;
    spans.reserve(cues.size());
    for (const SyncCue& cue : cues) {
        const double start = static_cast<double>(cue.startMs) * rate;
        spans.push_back({start, std::max(start, static_cast<double>(cue.endMs) * rate)});
    }
    return spans;
}

struct Answer {
    double rate = 1.0;
    std::vector<Span> spans;
    Peak peak;             // of the whole list
    double shiftMs = 0.0;  // the peak's, refined to the cue starts
    double startScore = 0.0;
};

// The best overlap centres each cue on its speech; its start lies up to a tail away.
constexpr double startRadiusMs = 400.0;

Answer answerAt(const std::vector<SyncCue>& cues, const SpeechTrack& track, ShiftScanner& scanner, double rate) {
    Answer answer;
    answer.rate = rate;
    answer.spans = spansAt(cues, rate);
    answer.peak = scanner.FindPeak(scanner.Scan(answer.spans, 0, answer.spans.size()));
    const Refined refined = RefineShift(track, answer.spans, 0, answer.spans.size(), answer.peak.shiftMs,
                                        scanner.Grid().binMs + startRadiusMs);
    answer.shiftMs = refined.shiftMs;
    answer.startScore = refined.startScore;
    return answer;
}

// The rate 1 answer, or a frame-rate ratio's when it scores clearly better: by the overlap for
// the ratios far from 1, by the cue starts on speech starts for those a hair from it (their
// overlap differs little until the drift is long).
Answer chooseRate(const std::vector<SyncCue>& cues, const SpeechTrack& track, ShiftScanner& scanner, bool tryRates) {
    Answer same = answerAt(cues, track, scanner, 1.0);
    if (!tryRates) return same;
    double bestRate = 1.0, bestScore = 0.0;
    for (double rate : FrameRateRatios()) {
        const Peak peak = scanner.FindPeak(scanner.Scan(spansAt(cues, rate), 0, cues.size()));
        if (peak.score / rate > bestScore) bestRate = rate, bestScore = peak.score / rate;
    }
    const auto near = [](double a, double b) { return std::abs(a / b - 1.0) < 0.003; };
    if (bestScore > rateGain * std::max(same.peak.score, 0.0)) {
        // Ratios a hair apart (25/24 and 25/23.976) are told apart by the cue starts too, the
        // commoner kept on a tie.
        Answer best;
        for (double rate : FrameRateRatios()) {
            if (!near(rate, bestRate)) continue;
            Answer answer = answerAt(cues, track, scanner, rate);
            if (best.spans.empty() || answer.startScore > best.startScore * 1.001) best = std::move(answer);
        }
        return best;
    }
    Answer best = std::move(same);
    const double bar = hairRateGain * best.startScore;
    for (double rate : FrameRateRatios()) {
        if (!near(rate, 1.0)) continue;
        Answer answer = answerAt(cues, track, scanner, rate);
        if (answer.startScore > bar && answer.startScore > best.startScore) best = std::move(answer);
    }
    return best;
}

// Shifts a piece may take: the whole list's, and the best two of each window of cues.
std::vector<double> candidateShifts(const SpeechTrack& track, ShiftScanner& scanner, const std::vector<Span>& spans,
                                    double wholeShift) {
    std::vector<double> shifts{wholeShift};
    const double radius = scanner.Grid().binMs + SpeechProfile::FrameMs;
    const auto add = [&](double shift) {
        for (double known : shifts)
            if (std::abs(known - shift) < 2 * radius) return;
        shifts.push_back(shift);
    };
    const size_t n = spans.size();
    const size_t window = std::max(leastWindowCues, n / windowsPerList);
    for (size_t from = 0; from + window / 2 < n; from += window / 2) {
        const size_t to = std::min(n, from + window);
        const std::vector<double> scores = scanner.Scan(spans, from, to);
        const Peak peak = scanner.FindPeak(scores);
        if (!(peak.score > 0)) continue;
        add(RefineShift(track, spans, from, to, peak.shiftMs, radius).shiftMs);
        // The runner-up too: in a window across the cut, the other side's shift.
        if (peak.runnerUp > 0.5 * peak.score) {
            const auto it = std::find(scores.begin(), scores.end(), peak.runnerUp);
            add(RefineShift(track, spans, from, to, scanner.ShiftOf(static_cast<size_t>(it - scores.begin())), radius)
                    .shiftMs);
        }
    }
    return shifts;
}

struct PieceFit {
    size_t from = 0, to = 0;  // cues
    double shiftMs = 0.0;
    double margin = 0.0;  // over another place in the movie where the piece's lines would fit
};

// The pieces the split chose, refined; then, while a piece is not itself a clear answer, it
// joins the neighbour whose shift suits its lines better. Lines of another film split into
// many pieces that each fit somewhere by chance; none of those stands out, so they go.
std::vector<PieceFit> keepClearPieces(const SpeechTrack& track, ShiftScanner& scanner, const std::vector<Span>& spans,
                                      const std::vector<PieceChoice>& choices, const std::vector<double>& shifts,
                                      double wholeShift, double wholeMargin) {
    const double radius = scanner.Grid().binMs + startRadiusMs;
    const auto settle = [&](PieceFit& piece, double shift) {
        if (piece.from == 0 && piece.to == spans.size()) {
            piece.shiftMs = wholeShift;
            piece.margin = wholeMargin;
            return;
        }
        piece.shiftMs = RefineShift(track, spans, piece.from, piece.to, shift, radius).shiftMs;
        piece.margin = scanner.FindPeak(scanner.Scan(spans, piece.from, piece.to)).Margin();
    };
    std::vector<PieceFit> pieces;
    for (size_t p = 0; p < choices.size(); ++p) {
        PieceFit piece{choices[p].fromCue, p + 1 < choices.size() ? choices[p + 1].fromCue : spans.size()};
        settle(piece, shifts[choices[p].candidate]);
        pieces.push_back(piece);
    }
    while (pieces.size() > 1) {
        const auto weakest = std::min_element(pieces.begin(), pieces.end(),
                                              [](const PieceFit& a, const PieceFit& b) { return a.margin < b.margin; });
        if (weakest->margin >= leastPieceMargin) break;
        const auto fit = [&](const PieceFit& other) {
            return track.Score(spans, weakest->from, weakest->to, other.shiftMs);
        };
        const bool intoPrevious = weakest == pieces.end() - 1 ||
                                  (weakest != pieces.begin() && fit(*std::prev(weakest)) >= fit(*std::next(weakest)));
        const auto into = intoPrevious ? std::prev(weakest) : std::next(weakest);
        into->from = std::min(into->from, weakest->from);
        into->to = std::max(into->to, weakest->to);
        const double shift = into->shiftMs;
        const size_t kept = static_cast<size_t>(into - pieces.begin()) - (intoPrevious ? 0 : 1);
        pieces.erase(weakest);
        settle(pieces[kept], shift);
    }
    return pieces;
}

}  // namespace

std::string_view SyncVerdictName(SyncVerdict verdict) {
    switch (verdict) {
        case SyncVerdict::Solid:
            return "solid";
        case SyncVerdict::Unsure:
            return "unsure";
        case SyncVerdict::NoSpeech:
            return "no-speech";
        case SyncVerdict::NoMatch:
            return "no-match";
    }
    return "no-match";
}

int64_t SyncResult::CorrectedTime(size_t cue, int64_t ms) const {
    auto piece = std::upper_bound(pieces.begin(), pieces.end(), cue,
                                  [](size_t index, const SyncPiece& p) { return index < p.fromCue; });
    const int64_t shift = piece == pieces.begin() ? pieces.front().shiftMs : std::prev(piece)->shiftMs;
    return RoundHalfAway(static_cast<double>(ms) * rate) + shift;
}

namespace {

struct RatePair {
    double from, to;  // the rate the subtitle was timed for, the movie's
};
// Commonest first: film sped up to 25, film at 24 against 23.976, telecine, then the rest.
constexpr RatePair ratePairs[] = {{25, 23.976}, {25, 24},    {24, 23.976}, {29.97, 23.976}, {30, 24},
                                  {30, 23.976}, {29.97, 24}, {29.97, 25},  {30, 25},        {30, 29.97}};

}  // namespace

const std::vector<double>& FrameRateRatios() {
    static const std::vector<double> ratios = [] {
        std::vector<double> out;
        for (const RatePair& pair : ratePairs)
            for (double ratio : {pair.from / pair.to, pair.to / pair.from})
                if (std::none_of(out.begin(), out.end(), [&](double r) { return std::abs(r - ratio) < 1e-6; }))
                    out.push_back(ratio);
        return out;
    }();
    return ratios;
}

std::string FrameRateRatioName(double rate) {
    for (const RatePair& pair : ratePairs) {
        if (std::abs(pair.from / pair.to - rate) < 1e-6)
            return FormatFrameRate(pair.from) + " fps read as " + FormatFrameRate(pair.to);
        if (std::abs(pair.to / pair.from - rate) < 1e-6)
            return FormatFrameRate(pair.to) + " fps read as " + FormatFrameRate(pair.from);
    }
    char text[32];
    std::snprintf(text, sizeof text, "times x %.6g", rate);
    return text;
}

SpeechProfile ProfileFromCues(const std::vector<SyncCue>& cues) {
    SpeechProfile profile;
    for (const SyncCue& cue : cues) {
        const int64_t first = std::max<int64_t>(cue.startMs, 0) / SpeechProfile::FrameMs;
        const int64_t end = std::max<int64_t>(cue.endMs, 0) / SpeechProfile::FrameMs;
        if (end > static_cast<int64_t>(profile.frames.size())) profile.frames.resize(static_cast<size_t>(end), 0);
        for (int64_t k = first; k < end; ++k) profile.frames[static_cast<size_t>(k)] = 1;
    }
    return profile;
}

SyncResult AlignToSpeech(const std::vector<SyncCue>& cues, const SpeechProfile& speech, const SyncOptions& options) {
    SyncResult result;
    result.audioSpeechShare = speech.SpeechShare();
    double cueMs = 0;
    for (const SyncCue& cue : cues) cueMs += static_cast<double>(std::max<int64_t>(0, cue.endMs - cue.startMs));
    if (static_cast<double>(speech.SpeechMs()) < std::max(leastSpeechMs, leastSpeechForCueTime * cueMs) ||
        result.audioSpeechShare > mostSpeechShare) {
        result.verdict = SyncVerdict::NoSpeech;
        return result;
    }
    result.verdict = SyncVerdict::NoMatch;
    if (!(cueMs > 0)) return result;

    const SpeechTrack track(speech);
    const auto& ratios = FrameRateRatios();
    const double minRate = options.tryRates ? *std::min_element(ratios.begin(), ratios.end()) : 1.0;
    const double maxRate = options.tryRates ? *std::max_element(ratios.begin(), ratios.end()) : 1.0;
    ShiftScanner scanner(track, MakeScanGrid(track, spansAt(cues, 1.0), minRate, maxRate, maxBins));
    const Answer answer = chooseRate(cues, track, scanner, options.tryRates);
    const std::vector<Span>& spans = answer.spans;
    const size_t n = spans.size();
    const double wholeShift = answer.shiftMs;

    std::vector<PieceFit> pieces{{0, n, wholeShift, answer.peak.Margin()}};
    if (options.trySplits && n >= 2 * leastWindowCues) {
        const std::vector<double> shifts = candidateShifts(track, scanner, spans, wholeShift);
        const double lineScore = cueMs * answer.rate / static_cast<double>(n) * (1.0 - track.Share());
        const std::vector<PieceChoice> choices =
            SplitIntoPieces(track, spans, shifts, options.splitPenaltyLines * lineScore);
        if (choices.size() > 1)
            pieces = keepClearPieces(track, scanner, spans, choices, shifts, wholeShift, answer.peak.Margin());
    }
    result.rate = answer.rate;
    result.pieces.clear();
    double margin = 1.0;
    for (const PieceFit& piece : pieces) {
        result.pieces.push_back({piece.from, RoundHalfAway(piece.shiftMs)});
        margin = std::min(margin, piece.margin);
    }

    double onSpeech = 0;
    for (size_t i = 0; i < n; ++i) {
        const double shift = static_cast<double>(result.CorrectedTime(i, 0));
        onSpeech += track.SpeechIn(spans[i].start + shift, spans[i].end + shift);
    }
    result.speechShare = std::clamp(onSpeech / (cueMs * answer.rate), 0.0, 1.0);
    result.margin = margin;
    const double chance = track.Share();
    const double lift = chance < 1.0 ? (result.speechShare - chance) / (1.0 - chance) : 0.0;
    if (lift < leastLift)
        result.verdict = SyncVerdict::NoMatch;
    else if (margin < leastMargin)
        result.verdict = SyncVerdict::Unsure;
    else
        result.verdict = SyncVerdict::Solid;
    return result;
}

}  // namespace tessaview
