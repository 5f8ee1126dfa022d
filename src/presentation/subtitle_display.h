// The subtitle as playback writes it: one call reaches the main window's subtitle panel and
// the full-screen overlay alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessaview {

class SubtitleDisplay {
public:
    virtual ~SubtitleDisplay() = default;
    // Text cues: the text in front, showing `text` (cue bytes in `fileCodePage`, the code page
    // of the loaded file; lines joined with CR LF).
    virtual void ShowText(const std::string& text, const std::string& fileCodePage) = 0;
    // VobSub: the picture in front, the one due at `milliseconds` (drawn once per picture) or
    // black when none is due; with no time (no frame rate yet) it keeps what it shows.
    virtual void ShowPicture(std::optional<int32_t> milliseconds) = 0;
    // The second subtitle's line, under the first: cue bytes in its own file's code page.
    virtual void ShowSecondText(const std::string& text, const std::string& fileCodePage) {
        static_cast<void>(text);
        static_cast<void>(fileCodePage);
    }
    // Forgets the drawn picture, so that the next ShowPicture draws it again.
    virtual void Invalidate() = 0;
};

}  // namespace tessaview
