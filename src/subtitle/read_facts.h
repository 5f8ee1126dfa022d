// What the readers meet on their way that the player does not show: the line each cue was
// read from, blocks skipped and why, where reading stopped. Gathered only when a caller
// (the probe's doctor) hands the core a ReadFacts; the player hands none.
#pragma once

#include <string>
#include <vector>

namespace tessaview {

struct ReadNote {
    int line = 0;
    std::string kind;  // "skipped", "stopped", "text-outside-cue", ...
    std::string detail;
};

struct ReadFacts {
    std::string readPath;       // the file the reader read (tmpsub after a conversion)
    int reading = 0;            // the line being read: where a runtime error stopped the reader
    std::vector<int> cueLines;  // per cue of SubList, in list order: the line it was read from
    std::vector<ReadNote> notes;
};

inline void NoteReading(ReadFacts* facts, int line) {
    if (facts) facts->reading = line;
}

// The cue just appended came from the line being read.
inline void NoteCue(ReadFacts* facts) {
    if (facts) facts->cueLines.push_back(facts->reading);
}

inline void Note(ReadFacts* facts, int line, const char* kind, std::string detail) {
    if (facts) facts->notes.push_back({line, kind, std::move(detail)});
}

}  // namespace tessaview
