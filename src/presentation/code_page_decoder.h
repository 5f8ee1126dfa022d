// Turns cue bytes into display text with the code page of a Windows font character set.
#pragma once

#include <QString>
#include <memory>
#include <string>

namespace tessaview {

class CodePageConverter;

// One decoder per character set, opened once and reused for every cue. The default character
// set (1) reads the cues in `fileCodePage`, the code page of the loaded file, when one is given.
class CodePageDecoder {
public:
    explicit CodePageDecoder(int charSet = 1, const std::string& fileCodePage = {});
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int CharSet() const { return charSet_; }
    // Bytes that the code page cannot read become U+FFFD; on a UTF-8 system the ANSI code
    // page is UTF-8, and text that is not valid UTF-8 is read as CP1252 instead.
    QString Decode(const std::string& bytes) const;

private:
    int charSet_ = 1;
    std::unique_ptr<CodePageConverter> primary_;
    std::unique_ptr<CodePageConverter> fallback_;  // CP1252, only for a UTF-8 ANSI code page
};

}  // namespace tessaview
