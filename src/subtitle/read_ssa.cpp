// The SubStation Alpha reader: every "Dialogue:" line is a cue (start, end, text fields);
// styles and override codes are not interpreted. Times keep their hundredths.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>

namespace tessaview {

namespace {

bool isDialogue(std::string_view line) { return line.substr(0, 9) == "Dialogue:"; }

// Cuts the field before the next comma off `s`; without a comma the field is empty and `s`
// stays. A comma byte is never the second byte of a double-byte character in the code
// pages in use, so a plain byte search respects them.
std::string_view nextField(std::string_view& s) {
    const size_t comma = s.find(',');
    if (comma == std::string_view::npos) return {};
    const std::string_view field = s.substr(0, comma);
    s = s.substr(comma + 1);
    return field;
}

std::unique_ptr<TTimeSpan> parseDialogue(std::string_view line) {
    line = After(line, ',');  // the keyword and the first field
    auto cue = std::make_unique<TTimeSpan>();
    cue->StartTime = ParseClockTime(nextField(line));
    cue->EndTime = ParseClockTime(nextField(line));
    for (int skip = 0; skip < 6; ++skip) {
        const size_t comma = line.find(',');
        if (comma == std::string_view::npos) break;
        line = line.substr(comma + 1);
    }
    cue->Text = ReplaceByCrLfIgnoreCase(line, "\\n");
    return cue;
}

// "dialogue:", "Dialogue :" and the like, which a reader of the format might mean as events.
bool IsMisspeltDialogue(std::string_view line) {
    std::string word;
    for (char c : line.substr(0, 12))
        if (c != ' ') word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return word.rfind("dialogue:", 0) == 0;
}

}  // namespace

void ReadSsa(SubtitleCore& core, std::string_view Text) {
    core.ClearSubList();
    core.SubIsTimeBased = true;
    TextFile file = TextFile::Over(Text);
    while (!file.Eof()) {
        const std::string_view line = Trim(file.ReadLine());
        if (isDialogue(line)) {
            NoteReading(core.Facts, file.LineNumber());
            core.SubList.push_back(parseDialogue(line));
            NoteCue(core.Facts);
        } else if (core.Facts && IsMisspeltDialogue(line)) {
            Note(core.Facts, file.LineNumber(), "skipped", "not read as a cue: the line must begin \"Dialogue:\"");
        }
    }
}

}  // namespace tessaview
