// The SubRip reader: counter line, "start --> end" timing line, text lines.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>

namespace tessaview {

std::optional<int32_t> ParseSubRipTime(std::string_view half) {
    half = Trim(half);
    const size_t comma = half.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    std::string_view s = Trim(half.substr(0, comma));
    const auto field = [&s](bool last, int32_t& value) {
        std::string_view part;
        if (last) {
            part = Trim(s);
        } else {
            const size_t colon = s.find(':');
            if (colon == std::string_view::npos) return false;
            part = Trim(s.substr(0, colon));
            s = s.substr(colon + 1);
        }
        if (!IsDigitString(part)) return false;
        if (part.size() > 9) {
            value = StrToInt(part);  // may not fit: the runtime's overflow error
            return true;
        }
        value = 0;
        for (char c : part) value = value * 10 + (c - '0');
        return true;
    };
    int32_t h = 0;
    int32_t m = 0;
    int32_t sec = 0;
    if (!field(false, h) || !field(false, m) || !field(true, sec)) return std::nullopt;
    // 32-bit wrap-around instead of undefined overflow on absurd hour counts.
    const uint32_t seconds =
        static_cast<uint32_t>(h) * 3600u + static_cast<uint32_t>(m) * 60u + static_cast<uint32_t>(sec);
    return static_cast<int32_t>(seconds * 1000u + static_cast<uint32_t>(FractionMilliseconds(half.substr(comma + 1))));
}

void ReadSubRip(SubtitleCore& core, std::string_view Text) {
    core.SubIsTimeBased = true;
    core.ClearSubList();
    TextFile file = TextFile::Over(Text);
    TTimeSpan* pending = nullptr;
    for (;;) {
        // Counter search; other lines on the way continue the pending cue's text.
        bool counter = false;
        while (!file.Eof()) {
            const std::string_view line = Trim(file.ReadLine());
            if (line.empty()) continue;
            if (IsDigitString(line)) {
                counter = true;
                break;
            }
            if (pending) {
                pending->Text += "\r\n";
                pending->Text += line;
                if (line.find("-->") != std::string_view::npos)
                    Note(core.Facts, file.LineNumber(), "text-outside-cue",
                         "a timing line without its number line above: shown as text of the cue before");
            }
        }
        if (!counter) return;
        pending = nullptr;

        std::string_view timing;
        while (!file.Eof() && timing.empty()) timing = Trim(file.ReadLine());
        if (timing.empty()) return;
        NoteReading(core.Facts, file.LineNumber());
        const size_t arrow = timing.find("-->");
        if (arrow == std::string_view::npos) {
            Note(core.Facts, file.LineNumber(), "skipped",
                 "no \"-->\" where the timing line belongs: the block is skipped up to the next number line "
                 "(a text line of digits alone is taken for a number line)");
            continue;
        }
        const std::optional<int32_t> start = ParseSubRipTime(timing.substr(0, arrow));
        const std::optional<int32_t> end = ParseSubRipTime(timing.substr(arrow + 3));
        if (!start || !end) {
            Note(core.Facts, file.LineNumber(), "stopped",
                 "\"Subtitle file error\": the timing line must read hh:mm:ss,mmm --> hh:mm:ss,mmm, not \"" +
                     std::string(timing.substr(0, 60)) + "\"; nothing after it is read");
            core.ReportLoadError(SubtitleFileErrorText);
            return;
        }
        // A block whose first text line is empty is dropped with the rest of its lines.
        const std::string_view first = Trim(file.ReadLine());
        if (first.empty()) {
            Note(core.Facts, file.LineNumber(), "skipped", "the block's first text line is empty: the cue is dropped");
            continue;
        }
        auto cue = std::make_unique<TTimeSpan>();
        cue->StartTime = *start;
        cue->EndTime = *end;
        cue->Text.assign(first);
        pending = cue.get();
        core.SubList.push_back(std::move(cue));
        NoteCue(core.Facts);
    }
}

}  // namespace tessaview
