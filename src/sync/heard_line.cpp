// The line-heard fit: a shift from one line, a straight line through two.
#include "sync/heard_line.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tessaview {

namespace {

// 23.976 fps read as 30 and back, with room to spare: the widest mix-up of frame rates.
constexpr double SlowestRate = 0.75;
constexpr double FastestRate = 1.35;

}  // namespace

SyncResult FitHeardLines(const std::optional<HeardLine>& earlier, const HeardLine& latest) {
    SyncResult result;
    result.verdict = SyncVerdict::Solid;
    if (earlier && std::llabs(latest.cueMs - earlier->cueMs) >= HeardRateSpanMs) {
        const double rate =
            static_cast<double>(latest.movieMs - earlier->movieMs) / static_cast<double>(latest.cueMs - earlier->cueMs);
        if (rate >= SlowestRate && rate <= FastestRate) result.rate = rate;
    }
    // The line just heard lands exactly; the earlier one within a millisecond of rounding.
    result.pieces.front().shiftMs = latest.movieMs - std::llround(static_cast<double>(latest.cueMs) * result.rate);
    return result;
}

std::string DescribeHeard(const SyncResult& result, int64_t cueMs) {
    const int64_t moved = result.CorrectedTime(0, cueMs) - cueMs;
    char text[80];
    if (moved == 0 && result.rate == 1.0) return "Already in step";
    int length = std::snprintf(text, sizeof text, "Moved %.2f s %s", std::abs(static_cast<double>(moved)) / 1000.0,
                               moved >= 0 ? "later" : "earlier");
    if (result.rate != 1.0) {
        // Four decimals at most, no trailing zeros: "rate 1.001", "rate 1.0427".
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.4f", result.rate);
        std::string digits(rate);
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
        std::snprintf(text + length, sizeof text - static_cast<size_t>(length), ", rate %s", digits.c_str());
    }
    return text;
}

}  // namespace tessaview
