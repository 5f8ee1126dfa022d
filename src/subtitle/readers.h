// The seven text readers. Each reads a file's text, already in memory, from the start, clears
// and fills core.SubList, sets core.SubIsTimeBased, and reports format errors through the host.
// A runtime error (RuntimeError) ends a reader with the cues made so far left in the list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaview {

class SubtitleCore;

void ReadSubRip(SubtitleCore& core, std::string_view Text);
void ReadBraceFrames(SubtitleCore& core, std::string_view Text);
void ReadBracketFrames(SubtitleCore& core, std::string_view Text);
void ReadSsa(SubtitleCore& core, std::string_view Text);
void ReadSubViewer(SubtitleCore& core, std::string_view Text);
void ReadStartScript(SubtitleCore& core, std::string_view Text);
void ReadTimeColonText(SubtitleCore& core, std::string_view Text);

// One half of a SubRip timing line in milliseconds: h:m:s with digit fields (blanks around
// them allowed) before its first ",", FractionMilliseconds of the text after it. Nothing when
// there is no "," or the fields are not digits.
std::optional<int32_t> ParseSubRipTime(std::string_view half);

// One line of the frame-numbered formats: {start}{end}text or [start][end]text.
bool ParseBraceLine(std::string_view Line, int32_t& Start, int32_t& End, std::string& Text);
bool ParseBracketLine(std::string_view Line, int32_t& Start, int32_t& End, std::string& Text);

// The messages the readers show.
inline constexpr std::string_view SubtitleFileErrorText = "Subtitle file error";
inline constexpr std::string_view SubViewerFileErrorText = "Subtitle File Error";

}  // namespace tessaview
