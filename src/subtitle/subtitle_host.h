// What the subtitle core needs from the window around it: message boxes, the VobSub
// library, the language choice and the Subtitle FrameRate menu's visible state.
#pragma once

#include <string>

namespace tessaview {

class SubtitleHost {
public:
    virtual ~SubtitleHost() = default;

    // Modal error box with one OK button ("Subtitle file error", the unknown-format text, ...).
    virtual void semsg(const std::string& text) = 0;
    // A load's error box: `text` as semsg shows it, and `detail`: the file's name and, where
    // the loader knows them, the line and the reason ("film.srt, line 12: ..."). A host that
    // explains nothing shows the text alone.
    virtual void LoadError(const std::string& text, const std::string& detail) {
        static_cast<void>(detail);
        semsg(text);
    }
    // Hands a VobSub pair (path without extension) to the VobSub library.
    virtual void LoadVobSubFile(const std::string& pathWithoutExtension) = 0;
    // Lets the user choose one of the loaded pair's languages.
    virtual void SelectVobSubLanguage() = 0;
    // The frame-rate choice changed: check the item with `tag` (0 Same As Movie .. 5 30.000),
    // uncheck the others, and show `statusText` in the status bar's fifth panel.
    virtual void SubtitleFrameRateChosen(int tag, const std::string& statusText) = 0;
    // The user's decimal separator, for the status text.
    virtual char DecimalSeparator() const { return '.'; }
};

// A host that shows nothing: for reading a file for its times alone (the speech sync, the
// fuzzer, the benchmarks).
class QuietSubtitleHost : public SubtitleHost {
public:
    void semsg(const std::string&) override {}
    void LoadVobSubFile(const std::string&) override {}
    void SelectVobSubLanguage() override {}
    void SubtitleFrameRateChosen(int, const std::string&) override {}
};

}  // namespace tessaview
