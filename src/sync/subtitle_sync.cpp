// Cue lists to and from the alignment's milliseconds, SubRip out, and the sentence.
#include "sync/subtitle_sync.h"

#include "subtitle/code_page.h"
#include "subtitle/number_rules.h"
#include "subtitle/subtitle_core.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace tessaview {

namespace {

bool hasEnd(int32_t time) { return time != OpenEndTime && time != EndlessTime; }

int64_t toMs(int32_t time, bool timeBased, double frameRate) {
    return timeBased ? time : RoundHalfAway(static_cast<double>(time) * 1000.0 / frameRate);
}

int32_t fromMs(int64_t ms, bool timeBased, double frameRate) {
    const int64_t value = timeBased ? ms : RoundHalfAway(static_cast<double>(ms) * frameRate / 1000.0);
    // Clear of the two markers at either end of the range.
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, EndlessTime - 1));
}

std::string subRipTime(int64_t ms) {
    ms = std::clamp<int64_t>(ms, 0, 359999999);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace

std::vector<SyncCue> CueTimesOfText(std::string_view text, double frameRate) {
    // Without its UTF-8 mark the text is read where it lies, never converted through tmpsub.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    QuietSubtitleHost host;
    SubtitleCore core(host, "");
    try {
        core.LoadSubtitleText("track", text);
    } catch (const std::exception&) {
        // What was read before the error stays in the list.
    }
    return CueTimesMs(core.SubList, core.SubIsTimeBased, frameRate);
}

std::vector<SyncCue> CueTimesMs(const TSubList& cues, bool timeBased, double frameRate) {
    std::vector<SyncCue> out;
    out.reserve(cues.size());
    for (const auto& cue : cues) {
        const int64_t start = toMs(cue->StartTime, timeBased, frameRate);
        out.push_back(
            {start, hasEnd(cue->EndTime) ? std::max(start, toMs(cue->EndTime, timeBased, frameRate)) : start});
    }
    return out;
}

void ApplySync(TSubList& cues, bool timeBased, double frameRate, const SyncResult& result) {
    for (size_t i = 0; i < cues.size(); ++i) {
        TTimeSpan& cue = *cues[i];
        const auto move = [&](int32_t time) {
            return fromMs(result.CorrectedTime(i, toMs(time, timeBased, frameRate)), timeBased, frameRate);
        };
        const int32_t start = move(cue.StartTime);
        if (hasEnd(cue.EndTime)) cue.EndTime = std::max(start, move(cue.EndTime));
        cue.StartTime = start;
    }
}

SyncResult ComposeSync(const SyncResult& first, const SyncResult& then) {
    // then(first(t)) = then.rate x (first.rate x t + s1) + s2, piece by piece where either
    // result starts one.
    SyncResult both = then;
    both.rate = first.rate * then.rate;
    both.pieces.clear();
    std::vector<size_t> starts;
    for (const SyncResult* result : {&first, &then})
        for (const SyncPiece& piece : result->pieces) starts.push_back(piece.fromCue);
    std::sort(starts.begin(), starts.end());
    for (const size_t cue : starts) {
        const int64_t shift = then.CorrectedTime(cue, first.CorrectedTime(cue, 0));
        if (both.pieces.empty() || (both.pieces.back().fromCue != cue && both.pieces.back().shiftMs != shift))
            both.pieces.push_back({cue, shift});
    }
    both.pieces.front().fromCue = 0;
    return both;
}

std::string LaterPiecesText(const SyncResult& result) {
    std::string text;
    for (size_t i = 1; i < result.pieces.size(); ++i)
        text += (i > 1 ? "," : "") + std::to_string(result.pieces[i].fromCue) + ":" +
                std::to_string(result.pieces[i].shiftMs);
    return text;
}

std::optional<SyncResult> StoredSync(int64_t shiftMs, double rate, std::string_view laterPieces, size_t cueCount) {
    // Beyond the frame-rate ratios and their products: no result of ours.
    if (!(rate > 0.5 && rate < 2.0)) return std::nullopt;
    SyncResult result;
    result.verdict = SyncVerdict::Solid;
    result.rate = rate;
    result.pieces = {{0, shiftMs}};
    while (!laterPieces.empty()) {
        const size_t comma = std::min(laterPieces.find(','), laterPieces.size());
        const std::string_view item = laterPieces.substr(0, comma);
        laterPieces.remove_prefix(std::min(comma + 1, laterPieces.size()));
        SyncPiece piece;
        const size_t colon = item.find(':');
        if (colon == std::string_view::npos) return std::nullopt;
        const auto cue = std::from_chars(item.data(), item.data() + colon, piece.fromCue);
        const auto shift = std::from_chars(item.data() + colon + 1, item.data() + item.size(), piece.shiftMs);
        if (cue.ec != std::errc() || cue.ptr != item.data() + colon || shift.ec != std::errc() ||
            shift.ptr != item.data() + item.size() || piece.fromCue <= result.pieces.back().fromCue ||
            piece.fromCue >= cueCount)
            return std::nullopt;
        result.pieces.push_back(piece);
    }
    return result;
}

std::string SubRipText(const TSubList& cues, bool timeBased, double frameRate, const std::string& codePage) {
    std::string out;
    for (size_t i = 0; i < cues.size(); ++i) {
        const TTimeSpan& cue = *cues[i];
        const int64_t start = toMs(cue.StartTime, timeBased, frameRate);
        const int64_t end = cue.EndTime == OpenEndTime   ? start + 3000
                            : cue.EndTime == EndlessTime ? 359999999
                                                         : toMs(cue.EndTime, timeBased, frameRate);
        std::string text = CodePageToUtf8(cue.Text, codePage);
        // SubRip ends a cue at a blank line: a blank line inside the text would end it early.
        for (size_t blank; (blank = text.find("\r\n\r\n")) != std::string::npos;) text.erase(blank, 2);
        out +=
            std::to_string(i + 1) + "\r\n" + subRipTime(start) + " --> " + subRipTime(end) + "\r\n" + text + "\r\n\r\n";
    }
    return out;
}

std::vector<std::string> SyncFindings(const SyncResult& result, double movieFrameRate) {
    if (result.verdict == SyncVerdict::NoSpeech)
        return {"no speech: the movie's sound holds too little to compare the lines with"};
    if (result.verdict == SyncVerdict::NoMatch)
        return {"does not match this movie's speech: probably another film's subtitle"};
    std::vector<std::string> findings;
    char text[96];
    // The shift moves the lines onto the speech: lines moved earlier were late.
    if (const int64_t shift = result.ShiftMs(); std::abs(shift) >= 100) {
        std::snprintf(text, sizeof text, "about %.1f s %s", std::abs(static_cast<double>(shift)) / 1000.0,
                      shift < 0 ? "late" : "early");
        findings.emplace_back(text);
    }
    if (result.rate != 1.0) {
        // Times stretched by the rate: the subtitle's frame rate was the movie's times the rate.
        const double timedFor = movieFrameRate * result.rate;
        const double standard[] = {23.976, 24, 25, 29.97, 30};
        const auto near = std::find_if(std::begin(standard), std::end(standard),
                                       [&](double fps) { return std::abs(fps - timedFor) < fps * 0.001; });
        if (near != std::end(standard))
            std::snprintf(text, sizeof text, "timed for %g fps; the movie runs at %g fps", *near, movieFrameRate);
        else
            std::snprintf(text, sizeof text, "timed for another frame rate: %s",
                          FrameRateRatioName(result.rate).c_str());
        findings.emplace_back(text);
    }
    if (result.pieces.size() > 1)
        findings.push_back("cut differently: " + std::to_string(result.pieces.size()) + " pieces");
    if (!findings.empty() && result.verdict == SyncVerdict::Unsure)
        findings.emplace_back("unsure: another answer comes close; check before trusting it");
    return findings;
}

std::string DescribeSync(const SyncResult& result) {
    const int percent = static_cast<int>(RoundHalfAway(result.speechShare * 100));
    const std::string share = std::to_string(percent) + " % of the lines fall on speech";
    const int64_t shift = result.ShiftMs();
    std::vector<std::string> parts;
    if (shift != 0) {
        char moved[64];
        std::snprintf(moved, sizeof moved, "Moved %.2f s %s", std::abs(static_cast<double>(shift)) / 1000.0,
                      shift > 0 ? "later" : "earlier");
        parts.emplace_back(moved);
    }
    if (result.rate != 1.0) parts.push_back(FrameRateRatioName(result.rate));
    if (result.pieces.size() > 1) parts.push_back("in " + std::to_string(result.pieces.size()) + " pieces");
    if (parts.empty()) return "Already in step; " + share;
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    if (shift == 0) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + "; " + share;
}

}  // namespace tessaview
