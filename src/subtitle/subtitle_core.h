// The subtitle state the main window owns: cue list, time base, lookup cache, and the
// loader that fills them. Plain C++; everything visible goes through SubtitleHost.
#pragma once

#include "subtitle/code_page.h"
#include "subtitle/read_facts.h"
#include "subtitle/subtitle_host.h"
#include "subtitle/text_encoding.h"
#include "subtitle/time_span.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

class SubtitleCore {
public:
    // programFolder: where "tmpsub" is written (with or without a trailing '/').
    SubtitleCore(SubtitleHost& host, std::string programFolder);

    // --- cue list and time base ---
    TSubList SubList;
    std::vector<std::string> SubLines;  // line buffer of the frame-numbered readers
    bool SubIsTimeBased = false;
    double MovieFrameRate = 0.0;
    double EngineFrameRate = 0.0;
    int32_t LastSpanStart = 0;
    int32_t LastSpanEnd = 0;
    std::string LastSpanText;

    // --- loading ---
    bool SubIsVobSub = false;
    std::string SubFileName;
    // Where the readers report what they skip and where cues come from; none in the player.
    ReadFacts* Facts = nullptr;

    void ClearSubList();
    // Counts the cue lists begun (each load clears the list first): a list keeps its number
    // until the next one, so a correction of its times can tell it is still in force.
    uint64_t ListNumber() const { return listNumber_; }
    // No subtitle any more: no cues, no VobSub pair, no file name; the rate back to the movie's.
    void RemoveSubtitle();
    // Cue time to frames: Round(ms / 1000 x MovieFrameRate) (extended precision, half to
    // even, clamped to 32 bits) when time-based, unchanged otherwise. A time-based open end
    // gives the least frame number and the movie's end the greatest.
    int32_t SpanToPosition(int32_t time) const;
    // Text due at `position` (frames), or the empty text. Uses and fills the cache.
    const std::string& FindSubtitleText(int32_t position);

    // The six Subtitle FrameRate items (tag 0 Same As Movie, 1..5 23.976 .. 30.000).
    void n005Click(int tag);

    // Loads a subtitle file: a VobSub pair through the host, any other file through the
    // text readers. Runtime errors (RuntimeError) propagate to the caller's guard.
    // A load that fails before a reader ran (unknown format, a file that cannot be opened
    // or converted) leaves the previous subtitle as it was: its cues, SubIsTimeBased,
    // SubIsVobSub and SubFileName.
    void LoadSubtitle(const std::string& FileName);
    // The text branch: byte-order marks, conversion into tmpsub, detection, the reader.
    // Returns true when a reader ran.
    bool LoadTextSubtitle(std::string FileName);
    // Converts Unicode text (its mark already taken off) into the ANSI code page, writes it
    // to tmpsub and points FileName there. Throws RuntimeError "Cannot create file <path>".
    void ConvertUnicodeSubtitle(std::string_view Source, std::string& FileName,
                                UnicodeForm form = UnicodeForm::Utf16Le);
    // A reader's error box: `text` with the file's name and, from the reader's last "stopped"
    // note, the line and the reason.
    void ReportLoadError(std::string_view text);

    // Where tmpsub is written: the program folder followed by "tmpsub".
    std::string TmpSubPath() const;

    // The code page cue text is in after a Unicode file was converted; the locale's by default.
    const std::string& AnsiCodePage() const { return ansiCodePage_; }
    void SetAnsiCodePage(std::string codePage) { ansiCodePage_ = std::move(codePage); }

    // The encoding of the text subtitle loaded last, decided on its whole file, and the code
    // page its cue bytes are in (the ANSI code page when a Unicode file was converted). Kept
    // until a reader runs on another file; before any, UTF-8 and empty.
    const TextEncoding& FileEncoding() const { return fileEncoding_; }
    const std::string& CueCodePage() const { return cueCodePage_; }

    // Empties the lookup cache (LastSpanStart, LastSpanEnd, LastSpanText).
    void ClearLookupCache();
    // The lookup searches a compact copy of the converted cue times, refreshed by itself when
    // cues are added, removed or replaced or the rate or unit changes. Call this after
    // changing StartTime/EndTime of a cue that is already in SubList outside the readers.
    void SubListChanged();
    // Grows at every ClearSubList and SubListChanged: views of the list (the transcript)
    // know from it that they must be made again.
    uint64_t ListGeneration() const { return listGeneration_; }

    // Name of the reader the last load ran ("ReadSubRip", ...), "VobSub" when the last load
    // handed a pair to the VobSub library, empty when none ran.
    const std::string& LastReader() const { return lastReader_; }

    SubtitleHost& Host() { return host_; }
    const std::string& ProgramFolder() const { return programFolder_; }

private:
    SubtitleHost& host_;
    std::string programFolder_;
    std::string lastReader_;
    uint64_t listNumber_ = 0;
    std::string loadingName_;  // the file a text load reads, as the user named it
    std::string ansiCodePage_ = LocaleAnsiCodePage();
    TextEncoding fileEncoding_;
    std::string cueCodePage_;
    uint64_t listGeneration_ = 0;

    // Every cue's SpanToPosition values side by side in one array, for the current rate and
    // unit: a search then touches a few cache lines and converts nothing. It is rebuilt on
    // the first lookup after the list, MovieFrameRate or SubIsTimeBased changed.
    struct SpanFrames {
        int32_t start = 0;
        int32_t end = 0;
    };
    std::vector<SpanFrames> spanFrames_;
    // The cues the search meets in its first steps, in the order of a complete binary tree
    // (node k's next nodes at 2k + 1 and 2k + 2): those steps then read a few kilobytes that
    // stay in the first-level cache instead of lines scattered over the whole array.
    std::vector<SpanFrames> searchTop_;
    static constexpr int SearchTopLevels = 12;
    const void* indexedData_ = nullptr;
    const TTimeSpan* indexedFront_ = nullptr;
    const TTimeSpan* indexedBack_ = nullptr;
    int32_t indexedFrontStart_ = 0;
    int32_t indexedBackEnd_ = 0;
    double indexedRate_ = 0.0;
    bool indexedTimeBased_ = false;
    bool indexStale_ = true;
    const std::vector<SpanFrames>& spanIndex();
    void buildSearchTop();
};

}  // namespace tessaview
