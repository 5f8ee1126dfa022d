// The frame-numbered line readers, {start}{end}text and [start][end]text: one algorithm
// with two pairs of delimiters. Times are frame numbers, compared with the movie unchanged.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>
#include <vector>

namespace tessaview {

namespace {

// The text between the first `open` and the first `close` of `s`, with what follows that
// `close`. Where `close` comes first or `open` is missing, the number is what stands before
// `close`, cut like the classic position arithmetic does.
struct Group {
    std::string_view number;
    std::string_view rest;
    bool closed = false;
};

Group group(std::string_view s, char open, char close) {
    const size_t o = s.find(open);
    const size_t c = s.find(close);
    Group g;
    if (c == std::string_view::npos) {
        g.rest = s;
        return g;
    }
    g.closed = true;
    const size_t from = o == std::string_view::npos ? 0 : o + 1;
    if (from <= c) g.number = s.substr(from, c - from);
    g.rest = s.substr(c + 1);
    return g;
}

bool parseLine(std::string_view line, char open, char close, int32_t& start, int32_t& end, std::string& text) {
    const Group first = group(line, open, close);
    if (!first.closed || !IsDigitString(first.number)) return false;
    start = StrToInt(first.number);
    const Group second = group(first.rest, open, close);
    if (second.number.empty()) {
        end = OpenEndTime;
    } else {
        if (!IsDigitString(second.number)) return false;
        end = StrToInt(second.number);
    }
    text.assign(second.rest);
    return true;
}

void readFrameLines(SubtitleCore& core, std::string_view Text, char open, char close) {
    core.SubIsTimeBased = false;
    core.SubLines.clear();
    std::vector<int> lineNumbers;  // of SubLines, kept only for the facts
    {
        TextFile file = TextFile::Over(Text);
        while (!file.Eof()) {
            const std::string_view line = Trim(file.ReadLine());
            if (line.empty()) continue;
            core.SubLines.emplace_back(line);
            if (core.Facts) lineNumbers.push_back(file.LineNumber());
        }
    }
    core.ClearSubList();
    std::string text;
    for (size_t i = 0; i < core.SubLines.size(); ++i) {
        NoteReading(core.Facts, core.Facts ? lineNumbers[i] : 0);
        auto cue = std::make_unique<TTimeSpan>();
        if (!parseLine(core.SubLines[i], open, close, cue->StartTime, cue->EndTime, text)) {
            Note(core.Facts, core.Facts ? lineNumbers[i] : 0, "stopped",
                 "\"Subtitle file error\": a frame number that is not a plain number (no sign, blank or "
                 "letter) in \"" +
                     core.SubLines[i].substr(0, 40) +
                     "\"; nothing after it is read and the open ends before it stay unfilled");
            // The cues so far stay, open ends unfilled, so they never show.
            core.ReportLoadError(SubtitleFileErrorText);
            return;
        }
        cue->Text = ReplaceByCrLf(text, '|');
        core.SubList.push_back(std::move(cue));
        NoteCue(core.Facts);
    }
    for (size_t i = 0; i + 1 < core.SubList.size(); ++i)
        if (core.SubList[i]->EndTime == OpenEndTime) core.SubList[i]->EndTime = core.SubList[i + 1]->StartTime;
}

}  // namespace

bool ParseBraceLine(std::string_view Line, int32_t& Start, int32_t& End, std::string& Text) {
    return parseLine(Line, '{', '}', Start, End, Text);
}

bool ParseBracketLine(std::string_view Line, int32_t& Start, int32_t& End, std::string& Text) {
    return parseLine(Line, '[', ']', Start, End, Text);
}

void ReadBraceFrames(SubtitleCore& core, std::string_view Text) { readFrameLines(core, Text, '{', '}'); }

void ReadBracketFrames(SubtitleCore& core, std::string_view Text) { readFrameLines(core, Text, '[', ']'); }

}  // namespace tessaview
