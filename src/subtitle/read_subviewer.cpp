// The SubViewer reader: a skipped header, then a "start,end" timing line and one text line
// per cue, "[br]" marking line breaks. Times keep their hundredths.
#include "subtitle/readers.h"

#include "subtitle/read_facts.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <memory>

namespace tessaview {

void ReadSubViewer(SubtitleCore& core, std::string_view Text) {
    TextFile file = TextFile::Over(Text);
    std::string_view timing;
    while (!file.Eof() && (timing.empty() || timing[0] < '0' || timing[0] > '9')) timing = Trim(file.ReadLine());
    int timingLine = file.LineNumber();
    core.ClearSubList();
    core.SubIsTimeBased = true;
    // A timing line that is the file's last line has no text line and is not used.
    while (!file.Eof()) {
        NoteReading(core.Facts, timingLine);
        const size_t comma = timing.find(',');
        if (comma == std::string_view::npos) {
            Note(core.Facts, timingLine, "stopped",
                 "\"Subtitle File Error\": no comma in the timing line (a cue's text takes one line only; "
                 "a second text line is read as the next timing line)");
            core.ReportLoadError(SubViewerFileErrorText);
            return;
        }
        auto cue = std::make_unique<TTimeSpan>();
        cue->StartTime = ParseClockTime(timing.substr(0, comma));
        cue->EndTime = ParseClockTime(timing.substr(comma + 1));
        cue->Text = ReplaceByCrLfIgnoreCase(Trim(file.ReadLine()), "[br]");
        core.SubList.push_back(std::move(cue));
        NoteCue(core.Facts);
        timing = {};
        while (!file.Eof() && timing.empty()) timing = Trim(file.ReadLine());
        timingLine = file.LineNumber();
    }
}

}  // namespace tessaview
