// The subtitle doctor's findings, read off the loaded cues and the readers' facts.
#include "subtitle/subtitle_doctor.h"

#include "subtitle/number_rules.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/subtitle_loader.h"
#include "subtitle/text_rules.h"
#include "subtitle/time_base.h"
#include "subtitle/time_span.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace tessaview {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string quoted(std::string_view s) {
    return "\"" + std::string(s.substr(0, 60)) + (s.size() > 60 ? "...\"" : "\"");
}

// The styling codes in `text` that no surface interprets: <i>, </font>, {\an8}, {y:i}, \h.
std::vector<std::string> tagsShownAsText(std::string_view text) {
    static const std::string_view htmlTags[] = {"i", "b", "u", "s", "font"};
    std::vector<std::string> tags;
    const auto add = [&tags](std::string_view tag) {
        if (std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.emplace_back(tag);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            const size_t close = text.find('>', i);
            if (close == std::string_view::npos || close - i > 80) continue;
            std::string name;
            for (size_t k = i + 1; k < close && text[k] != ' ' && text[k] != '='; ++k)
                if (text[k] != '/') name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[k])));
            if (name.empty() && text.substr(i + 1, 2) == "/ ")  // "</ i>"
                for (size_t k = i + 3; k < close && text[k] != ' '; ++k)
                    name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[k])));
            if (std::find(std::begin(htmlTags), std::end(htmlTags), name) != std::end(htmlTags))
                add(text.substr(i, close - i + 1));
        } else if (text[i] == '{' && i + 2 < text.size() &&
                   (text[i + 1] == '\\' ||
                    (std::isalpha(static_cast<unsigned char>(text[i + 1])) && text[i + 2] == ':'))) {
            const size_t close = text.find('}', i);
            if (close != std::string_view::npos) add(text.substr(i, std::min<size_t>(close - i + 1, 30)));
        } else if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'h') {
            add("\\h");
        }
    }
    return tags;
}

// A lone "&" (not "&&") that the labels take for a mnemonic marker.
bool hasMnemonicAmpersand(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
            continue;
        }
        return true;
    }
    return false;
}

// "23.976", "25": what a frame-rate line holds as its text.
bool isRateText(std::string_view text) {
    if (text.empty() || !isDigit(text[0])) return false;
    int dots = 0;
    for (char c : text)
        if (!isDigit(c) && !(c == '.' && ++dots == 1)) return false;
    const double rate = std::atof(std::string(text).c_str());
    return rate >= 10 && rate <= 120;
}

std::string timeOf(const SubtitleCore& core, int32_t time) {
    if (time == OpenEndTime) return "open end";
    if (time == EndlessTime) return "the end of the movie";
    if (core.SubIsTimeBased) return ClockText(time / 1000.0);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "frame %d", time);
    return core.MovieFrameRate > 0 ? buffer + (" (" + ClockText(time / core.MovieFrameRate) + ")") : buffer;
}

std::string firstNonEmptyLine(const std::string& path, int& number) {
    try {
        const std::string bytes = ReadWholeFile(path);
        TextFile file = TextFile::Over(bytes);
        while (!file.Eof()) {
            const std::string_view line = Trim(file.ReadLine());
            if (!line.empty()) {
                number = file.LineNumber();
                return std::string(line);
            }
        }
    } catch (const std::exception&) {}
    return {};
}

void diagnoseCues(const SubtitleCore& core, const ReadFacts& facts, std::vector<Problem>& problems) {
    const TSubList& cues = core.SubList;
    const auto lineOf = [&facts](size_t i) { return i < facts.cueLines.size() ? facts.cueLines[i] : 0; };
    for (size_t i = 0; i < cues.size(); ++i) {
        const TTimeSpan& cue = *cues[i];
        const int line = lineOf(i);
        if (cue.EndTime == OpenEndTime)
            problems.push_back({line, "never-shows", "open end: no cue follows to end it, so it never shows"});
        else if (cue.EndTime < cue.StartTime)
            problems.push_back(
                {line, "never-shows",
                 "ends (" + timeOf(core, cue.EndTime) + ") before it starts (" + timeOf(core, cue.StartTime) + ")"});
        else if (core.SubIsTimeBased && cue.EndTime == cue.StartTime)
            problems.push_back({line, "one-frame",
                                "starts and ends at the same time (" + timeOf(core, cue.StartTime) +
                                    "): shown at one frame only, which the 100 ms clock mostly misses"});
        if (i > 0 && cues[i - 1]->EndTime != OpenEndTime) {
            const TTimeSpan& before = *cues[i - 1];
            if (cue.StartTime < before.StartTime)
                problems.push_back({line, "overlap",
                                    "starts (" + timeOf(core, cue.StartTime) + ") before the cue above it (line " +
                                        std::to_string(lineOf(i - 1)) + ", " + timeOf(core, before.StartTime) +
                                        "): out of order, the search may never find one of them"});
            else if (cue.StartTime < before.EndTime)
                problems.push_back({line, "overlap",
                                    "starts (" + timeOf(core, cue.StartTime) + ") before the cue of line " +
                                        std::to_string(lineOf(i - 1)) + " ends (" + timeOf(core, before.EndTime) +
                                        "): only one of them shows at a time"});
        }
        if (i == 0 && !core.SubIsTimeBased && cue.StartTime <= 1 && isRateText(cue.Text))
            problems.push_back({line, "frame-rate-line",
                                "the frame-rate line " + quoted(cue.Text) +
                                    " is read as a cue: its number shows as text from " + timeOf(core, cue.StartTime) +
                                    " to " + timeOf(core, cue.EndTime)});
        const std::vector<std::string> tags = tagsShownAsText(cue.Text);
        if (!tags.empty()) {
            std::string list;
            for (size_t t = 0; t < tags.size() && t < 4; ++t) list += (t ? " " : "") + tags[t];
            problems.push_back({line, "tag-as-text", "styling shown as text: " + list});
        }
        if (hasMnemonicAmpersand(cue.Text))
            problems.push_back({line, "ampersand",
                                "\"&\" is drawn as the mnemonic marker: it vanishes and underlines the next character "
                                "(\"&&\" shows one \"&\")"});
    }
}

// The reader takes fields 2 and 3 of every event as its times and the text after the ninth
// comma, whatever the events' Format line says.
void diagnoseEventFormat(const ReadFacts& facts, std::vector<Problem>& problems) {
    try {
        const std::string bytes = ReadWholeFile(facts.readPath);
        TextFile file = TextFile::Over(bytes);
        bool events = false;
        while (!file.Eof()) {
            const std::string_view line = Trim(file.ReadLine());
            if (line.size() > 1 && line[0] == '[') events = line == "[Events]";
            if (!events || line.substr(0, 7) != "Format:") continue;
            std::vector<std::string> fields;
            std::string_view rest = line.substr(7);
            for (;;) {
                const size_t comma = rest.find(',');
                std::string field(Trim(rest.substr(0, comma)));
                for (char& c : field) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                fields.push_back(field);
                if (comma == std::string_view::npos) break;
                rest = rest.substr(comma + 1);
            }
            if (fields.size() != 10 || fields[1] != "start" || fields[2] != "end" || fields[9] != "text")
                problems.push_back({file.LineNumber(), "format-line",
                                    "events laid out as " + quoted(Trim(line.substr(7))) +
                                        ": every Dialogue line is read as ten fields, times second and third and the "
                                        "text after the ninth comma"});
            return;
        }
    } catch (const std::exception&) {}
}

}  // namespace

std::string ClockText(double seconds) {
    const bool negative = seconds < 0;
    const long long ms = RoundHalfAway(std::fabs(seconds) * 1000.0);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld:%02lld.%03lld", negative ? "-" : "", ms / 3600000,
                  ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return buffer;
}

std::optional<double> ParseClockText(std::string_view text) {
    double seconds = 0;
    int fields = 0;
    size_t i = 0;
    while (i <= text.size()) {
        const size_t colon = std::min(text.find(':', i), text.size());
        const std::string field(text.substr(i, colon - i));
        char* end = nullptr;
        const double value = std::strtod(field.c_str(), &end);
        const bool last = colon == text.size();
        if (field.empty() || !isDigit(field[0]) || *end != '\0' || (!last && field.find('.') != std::string::npos))
            return std::nullopt;
        seconds = seconds * 60 + value;
        ++fields;
        i = colon + 1;
    }
    if (fields > 3) return std::nullopt;
    return seconds;
}

std::vector<Problem> DiagnoseSubtitle(const SubtitleCore& core, const ReadFacts& facts,
                                      const std::vector<std::string>& messages,
                                      const std::optional<std::string>& error) {
    std::vector<Problem> problems;
    for (const ReadNote& note : facts.notes) problems.push_back({note.line, note.kind, note.detail});
    if (core.LastReader().empty()) {
        if (std::find(messages.begin(), messages.end(), std::string(UnknownFormatText)) != messages.end()) {
            int line = 0;
            const std::string first = firstNonEmptyLine(facts.readPath, line);
            problems.push_back({line, "unknown-format", UnknownFormatReason(first)});
        } else if (error) {
            problems.push_back({0, "stopped", "\"" + *error + "\": nothing was read"});
        }
        return problems;
    }
    if (core.LastReader() == "VobSub") return problems;
    if (error) {
        std::string detail = "\"" + *error + "\": the load ends here with the cues read before";
        int firstLine = 0;
        if (core.SubList.empty())  // often a file of another format that its first line misnamed
            detail += "; its first line " + quoted(firstNonEmptyLine(facts.readPath, firstLine)) + " chose " +
                      core.LastReader();
        problems.push_back({facts.reading, "stopped", detail});
    }
    if (core.LastReader() == "ReadSsa") diagnoseEventFormat(facts, problems);
    diagnoseCues(core, facts, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return problems;
}

namespace {

// The rates of the Subtitle FrameRate items, tags 1 to 5.
const double menuRates[] = {SubtitleFrameRateOfTag(1), SubtitleFrameRateOfTag(2), SubtitleFrameRateOfTag(3),
                            SubtitleFrameRateOfTag(4), SubtitleFrameRateOfTag(5)};

bool near(double a, double b, double relative) {
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

std::optional<MovieFit> FitToMovie(const SubtitleCore& core, double frameRate, double lengthSeconds) {
    int32_t last = OpenEndTime;
    for (const auto& cue : core.SubList) {
        const int32_t end = cue->EndTime == EndlessTime ? cue->StartTime : cue->EndTime;
        if (cue->EndTime != OpenEndTime && end >= cue->StartTime) last = std::max(last, end);
    }
    if (last == OpenEndTime || !(frameRate > 0) || core.SubList.empty()) return std::nullopt;
    MovieFit fit;
    fit.frameRate = frameRate;
    fit.lengthSeconds = lengthSeconds;
    const std::string length = ClockText(lengthSeconds);
    if (!(lengthSeconds > 0)) {
        fit.lastCueSeconds = core.SubIsTimeBased ? last / 1000.0 : last / frameRate;
        fit.verdict = "the movie does not tell its length: nothing to compare the cues with";
        return fit;
    }
    if (!core.SubIsTimeBased) {
        fit.lastFrame = last;
        fit.lastCueSeconds = last / frameRate;
        const TTimeSpan& first = *core.SubList.front();
        if (first.StartTime <= 1 && isRateText(first.Text)) fit.declaredRate = std::atof(first.Text.c_str());
        // The movie's own rate when the last cue falls inside the movie; otherwise the
        // nearest standard rate that brings it inside.
        if (fit.lastCueSeconds <= lengthSeconds + 1) fit.fitRate = frameRate;
        for (double rate : menuRates)
            if (!fit.fitRate && rate > frameRate && last / rate <= lengthSeconds + 1) fit.fitRate = rate;
        fit.verdict = "the last cue ends at frame " + std::to_string(last) + ", " + ClockText(fit.lastCueSeconds) +
                      " into the movie (" + length + " long)";
        if (!fit.fitRate)
            fit.verdict += ": past the end at every standard rate; the file belongs to another cut of the movie";
        else if (near(*fit.fitRate, frameRate, 0.0005))
            fit.verdict += ": the numbers fit the movie's own rate";
        else
            fit.verdict += ": the numbers fit " + FormatFrameRate(*fit.fitRate, '.', 6) +
                           " fps, not the movie's; frame numbers do not follow the Subtitle FrameRate menu, so "
                           "every cue comes early by that ratio";
        if (fit.declaredRate && !near(*fit.declaredRate, frameRate, 0.0005))
            fit.verdict += "; its frame-rate line names " + first.Text + " fps";
        return fit;
    }
    const double lastSeconds = last / 1000.0;
    fit.lastCueSeconds = lastSeconds;
    fit.verdict = "the last cue ends at " + ClockText(lastSeconds) + " of a " + length + " movie";
    // Ratios of subtitle time to movie time that a wrong-speed copy gives; the item whose rate
    // turns the first into the second is the one to choose.
    const double ratios[] = {25 / 23.976, 24 / 23.976, 25 / 24.0, 30 / 29.97,
                             23.976 / 25, 23.976 / 24, 24 / 25.0, 29.97 / 30};
    std::optional<double> best;
    for (double ratio : ratios) {
        const double item = frameRate / ratio;
        const bool onMenu =
            std::any_of(std::begin(menuRates), std::end(menuRates), [&](double r) { return near(r, item, 0.0005); });
        const double scaled = lastSeconds / ratio;
        const bool explains = lastSeconds > lengthSeconds + 1 ? scaled <= lengthSeconds + 1
                                                              : ratio < 1 && near(scaled, lengthSeconds, 0.005);
        // Nearer 1 wins; ratios a hair apart (25/23.976 and 25/24) keep the commoner, listed first.
        if (onMenu && explains && (!best || std::fabs(ratio - 1) < std::fabs(*best - 1) - 0.002)) best = ratio;
    }
    if (best) {
        const double item = frameRate / *best;
        for (size_t i = 0; i < std::size(menuRates); ++i)
            if (near(menuRates[i], item, 0.0005)) fit.frameRateItem = FrameRateItemCaption(static_cast<int>(i) + 1);
        fit.verdict += ": timed for a copy " + std::string(*best > 1 ? "slower" : "faster") +
                       " by a standard ratio; choose Subtitle FrameRate " + fit.frameRateItem;
    } else if (lastSeconds > lengthSeconds + 1) {
        fit.verdict += ": past the end, and no standard frame-rate ratio explains it";
    } else {
        fit.verdict += ": inside the movie";
    }
    return fit;
}

}  // namespace tessaview
