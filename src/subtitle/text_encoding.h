// Which encoding a text subtitle file is in, decided once on the whole file's bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

struct EncodingCandidate {
    std::string name;    // iconv name
    std::string sample;  // one line of the file decoded with it, in UTF-8
    bool operator==(const EncodingCandidate&) const = default;
};

struct TextEncoding {
    std::string name = "UTF-8";  // iconv name: "UTF-8", "UTF-16LE", "UTF-16BE", "CP1251", ...
    std::string reason;          // why, in a few words for a person
    int charSet = 1;             // the font character set that decodes the same way (1: the file's own)
    // The chosen encoding first, then the others that read the file without error and give
    // a different text, most plausible first.
    std::vector<EncodingCandidate> candidates;
};

// Decides the encoding: a byte-order mark; UTF-16 without a mark by its zero bytes; valid
// UTF-8; otherwise libuchardet's answer kept to the Windows code pages subtitle files are
// written in, with its known mistakes corrected. When several code pages read the file
// alike, `language` (ISO 639 code: "pl", "ru", ...) picks its own code page.
TextEncoding DetectTextEncoding(std::string_view bytes, std::string_view language);
// The same with the locale's language.
TextEncoding DetectTextEncoding(std::string_view bytes);

// The language of the user's locale (LC_ALL, LC_CTYPE or LANG: "pl" for "pl_PL.UTF-8"),
// empty for the C and POSIX locales.
std::string LocaleLanguage();

// The Windows code page in which `language` is usually written ("CP1252" when unknown).
std::string LanguageCodePage(std::string_view language);

}  // namespace tessaview
