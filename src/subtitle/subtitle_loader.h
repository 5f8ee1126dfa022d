// Format detection: the one table that knows every text reader.
#pragma once

#include <string>
#include <string_view>

namespace tessaview {

class SubtitleCore;

using ReaderFunction = void (*)(SubtitleCore&, std::string_view);

struct ReaderEntry {
    const char* name;  // "ReadSubRip", ...
    ReaderFunction read;
};

// The reader for a file whose first non-empty line (trimmed) is `firstLine`, tested in the
// table's order; nullptr for an unknown format.
const ReaderEntry* DetectReader(std::string_view firstLine);

// Text of the message for a file whose format is not known.
inline constexpr std::string_view UnknownFormatText =
    "Unknown subtitle file format, Please contact to support@tessaview.org !!!";

// Why a first non-empty line (untrimmed bytes; empty when the file has none) begins no known
// format, in words for the user.
std::string UnknownFormatReason(std::string_view firstLine);

}  // namespace tessaview
