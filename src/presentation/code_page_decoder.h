// Turns cue bytes into display text with the code page of a Windows font character set.
#pragma once

#include <QString>
#include <memory>
#include <string>

namespace tessaview {

// iconv name of the code page behind a Windows character set; charsets without a code page
// of their own (1 DEFAULT, 2 SYMBOL, unknown numbers) use the ANSI code page (empty name).
std::string CodePageName(int charSet);

// One decoder per character set, opened once and reused for every cue.
class CodePageDecoder {
public:
    explicit CodePageDecoder(int charSet = 1);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int CharSet() const { return charSet_; }
    // Bytes that the code page cannot read become U+FFFD; on a UTF-8 system the ANSI code
    // page is UTF-8, and text that is not valid UTF-8 is read as CP1252 instead.
    QString Decode(const std::string& bytes) const;

private:
    struct Converter;
    int charSet_ = 1;
    std::unique_ptr<Converter> primary_;
    std::unique_ptr<Converter> fallback_;  // CP1252, only for a UTF-8 ANSI code page
    bool primaryIsUtf8_ = false;
};

}  // namespace tessaview
