// Cue lists to and from the alignment's milliseconds, SubRip out, and the sentence.
#include "sync/subtitle_sync.h"

#include "subtitle/code_page.h"
#include "subtitle/number_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace tessaview {

namespace {

bool hasEnd(int32_t time)
{
    return time != OpenEndTime && time != EndlessTime;
}

int64_t toMs(int32_t time, bool timeBased, double frameRate)
{
    return timeBased ? time : RoundHalfAway(static_cast<double>(time) * 1000.0 / frameRate);
}

int32_t fromMs(int64_t ms, bool timeBased, double frameRate)
{
    const int64_t value = timeBased ? ms : RoundHalfAway(static_cast<double>(ms) * frameRate / 1000.0);
    // Clear of the two markers at either end of the range.
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, EndlessTime - 1));
}

std::string subRipTime(int64_t ms)
{
    ms = std::clamp<int64_t>(ms, 0, 359999999);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace

std::vector<SyncCue> CueTimesMs(const TSubList& cues, bool timeBased, double frameRate)
{
    std::vector<SyncCue> out;
    out.reserve(cues.size());
    for (const auto& cue : cues) {
        const int64_t start = toMs(cue->StartTime, timeBased, frameRate);
        out.push_back({start, hasEnd(cue->EndTime) ? std::max(start, toMs(cue->EndTime, timeBased, frameRate)) : start});
    }
    return out;
}

void ApplySync(TSubList& cues, bool timeBased, double frameRate, const SyncResult& result)
{
    for (size_t i = 0; i < cues.size(); ++i) {
        TTimeSpan& cue = *cues[i];
        const auto move = [&](int32_t time) {
            return fromMs(result.CorrectedTime(i, toMs(time, timeBased, frameRate)), timeBased, frameRate);
        };
        const int32_t start = move(cue.StartTime);
        if (hasEnd(cue.EndTime))
            cue.EndTime = std::max(start, move(cue.EndTime));
        cue.StartTime = start;
    }
}

std::string SubRipText(const TSubList& cues, bool timeBased, double frameRate, const std::string& codePage)
{
    std::string out;
    for (size_t i = 0; i < cues.size(); ++i) {
        const TTimeSpan& cue = *cues[i];
        const int64_t start = toMs(cue.StartTime, timeBased, frameRate);
        const int64_t end = cue.EndTime == OpenEndTime ? start + 3000
                            : cue.EndTime == EndlessTime ? 359999999
                                                         : toMs(cue.EndTime, timeBased, frameRate);
        std::string text = CodePageToUtf8(cue.Text, codePage);
        // SubRip ends a cue at a blank line: a blank line inside the text would end it early.
        for (size_t blank; (blank = text.find("\r\n\r\n")) != std::string::npos;)
            text.erase(blank, 2);
        out += std::to_string(i + 1) + "\r\n" + subRipTime(start) + " --> " + subRipTime(end) + "\r\n" + text + "\r\n\r\n";
    }
    return out;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, bool replace)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!replace && fs::exists(path, error))
        return false;
    const std::string temporary = path + "." + std::to_string(std::random_device{}()) + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            out.close();
            fs::remove(temporary, error);
            return false;
        }
    }
    // A file that appeared meanwhile is still not replaced unless asked.
    if (!replace && fs::exists(path, error)) {
        fs::remove(temporary, error);
        return false;
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

std::string DescribeSync(const SyncResult& result)
{
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
    if (result.rate != 1.0)
        parts.push_back(FrameRateRatioName(result.rate));
    if (result.pieces.size() > 1)
        parts.push_back("in " + std::to_string(result.pieces.size()) + " pieces");
    if (parts.empty())
        return "Already in step; " + share;
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    if (shift == 0)
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + "; " + share;
}

}  // namespace tessaview
