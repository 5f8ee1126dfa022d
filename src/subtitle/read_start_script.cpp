// The start-script reader: after the START SCRIPT line, a delimited time line and a text line
// per cue up to "[END]"; each cue ends where the next starts, the last one stays open.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>

namespace tessaview {

void ReadStartScript(SubtitleCore& core, std::string_view Text) {
    core.SubIsTimeBased = true;
    core.ClearSubList();
    TextFile file = TextFile::Over(Text);
    // Lines are taken as they stand here: no trimming.
    while (!file.Eof() && file.ReadLine() != "******** START SCRIPT ********") {}
    while (!file.Eof()) {
        const std::string_view line = file.ReadLine();
        if (line == "[END]") break;
        NoteReading(core.Facts, file.LineNumber());
        auto cue = std::make_unique<TTimeSpan>();
        // The time sits between one delimiter character on each side.
        cue->StartTime = ParseClockTime(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
        cue->EndTime = OpenEndTime;
        cue->Text.assign(file.ReadLine());
        core.SubList.push_back(std::move(cue));
        NoteCue(core.Facts);
    }
    for (size_t i = 0; i + 1 < core.SubList.size(); ++i)
        if (core.SubList[i]->EndTime == OpenEndTime) core.SubList[i]->EndTime = core.SubList[i + 1]->StartTime;
}

}  // namespace tessaview
