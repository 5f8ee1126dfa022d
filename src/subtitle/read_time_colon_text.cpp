// The "H:MM:SS:text" reader: one cue per line, "|" breaking lines; each cue lasts to the
// next one's start and the last one to the end of the movie.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>

namespace tessaview {

void ReadTimeColonText(SubtitleCore& core, std::string_view Text) {
    core.ClearSubList();
    core.SubIsTimeBased = true;
    TextFile file = TextFile::Over(Text);
    while (!file.Eof()) {
        const std::string_view line = Trim(file.ReadLine());
        if (line.empty()) continue;
        NoteReading(core.Facts, file.LineNumber());
        // The third colon separates time and text; with fewer the whole line is the time.
        size_t third = std::string_view::npos;
        size_t from = 0;
        for (int k = 0; k < 3; ++k) {
            third = line.find(':', from);
            if (third == std::string_view::npos) break;
            from = third + 1;
        }
        auto cue = std::make_unique<TTimeSpan>();
        cue->EndTime = OpenEndTime;  // until the next cue (or the end of the file) is known
        if (third == std::string_view::npos) {
            cue->StartTime = ParseClockTime(line);
        } else {
            cue->StartTime = ParseClockTime(line.substr(0, third));
            cue->Text = ReplaceByCrLf(line.substr(third + 1), '|');
        }
        if (!core.SubList.empty()) core.SubList.back()->EndTime = cue->StartTime;
        core.SubList.push_back(std::move(cue));
        NoteCue(core.Facts);
    }
    if (!core.SubList.empty()) core.SubList.back()->EndTime = EndlessTime;
}

}  // namespace tessaview
