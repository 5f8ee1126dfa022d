// A table of common ISO 639-1 codes and their English names.
#include "external/ffmpeg/language_names.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace tessaview {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 56> Names{{
    {"ar", "Arabic"},     {"bg", "Bulgarian"}, {"bn", "Bengali"},    {"bs", "Bosnian"},    {"ca", "Catalan"},
    {"cs", "Czech"},      {"cy", "Welsh"},     {"da", "Danish"},     {"de", "German"},     {"el", "Greek"},
    {"en", "English"},    {"eo", "Esperanto"}, {"es", "Spanish"},    {"et", "Estonian"},   {"eu", "Basque"},
    {"fa", "Persian"},    {"fi", "Finnish"},   {"fr", "French"},     {"ga", "Irish"},      {"gl", "Galician"},
    {"he", "Hebrew"},     {"hi", "Hindi"},     {"hr", "Croatian"},   {"hu", "Hungarian"},  {"hy", "Armenian"},
    {"id", "Indonesian"}, {"is", "Icelandic"}, {"it", "Italian"},    {"ja", "Japanese"},   {"ka", "Georgian"},
    {"kk", "Kazakh"},     {"ko", "Korean"},    {"la", "Latin"},      {"lt", "Lithuanian"}, {"lv", "Latvian"},
    {"mk", "Macedonian"}, {"ms", "Malay"},     {"nb", "Norwegian"},  {"nl", "Dutch"},      {"nn", "Norwegian"},
    {"no", "Norwegian"},  {"pl", "Polish"},    {"pt", "Portuguese"}, {"ro", "Romanian"},   {"ru", "Russian"},
    {"sk", "Slovak"},     {"sl", "Slovenian"}, {"sq", "Albanian"},   {"sr", "Serbian"},    {"sv", "Swedish"},
    {"ta", "Tamil"},      {"th", "Thai"},      {"tr", "Turkish"},    {"uk", "Ukrainian"},  {"vi", "Vietnamese"},
    {"zh", "Chinese"},
}};

}  // namespace

std::string languageName(std::string_view code) {
    std::string printable;
    for (const char c : code) {
        if (c > ' ' && c < 0x7f) {
            printable += c;
        }
    }
    std::string lower = printable;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (lower.empty() || lower == "und" || lower == "xx") {
        return "Undetermined";
    }
    const auto found =
        std::find_if(Names.begin(), Names.end(), [&](const auto& entry) { return entry.first == lower; });
    return found != Names.end() ? std::string(found->second) : printable;
}

void copyZeroTerminated(std::string_view text, char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    const size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace tessaview
