// The second subtitle: a second language shown under the first, for learners. Its own cue
// list, read by the same loader as the first, and its own offset; text subtitles only.
#pragma once

#include "subtitle/subtitle_core.h"
#include "subtitle/subtitle_host.h"

#include <cstdint>
#include <string>

namespace tessaview {

inline constexpr const char* SecondVobSubText = "A picture subtitle (VobSub) cannot be the second subtitle";

class SecondSubtitle : private SubtitleHost {
public:
    // Messages go to `window`'s boxes; tmpsub is written in `tmpFolder`, as the first's is.
    SecondSubtitle(SubtitleHost& window, std::string tmpFolder);

    SubtitleCore Core;
    int32_t OffsetMs = 0;  // added to the movie's position, as the synchronize value is: more is earlier

    bool Loaded() const { return !Core.SubFileName.empty(); }
    const std::string& FileName() const { return Core.SubFileName; }

    // Loads `FileName` as the second subtitle. A VobSub pair is refused with RuntimeError
    // SecondVobSubText; a load that fails keeps the second subtitle before it.
    void Load(const std::string& FileName);
    void Remove();
    // Text due at `position` (frames, the first subtitle's offset not added) with this one's
    // offset, counted at the first subtitle's rate so that both follow the same clock; with
    // `withOffset` false, at `position` itself. Empty when none is loaded.
    const std::string& TextAt(int32_t position, double movieFrameRate, bool withOffset = true);

private:
    void semsg(const std::string& text) override { window_.semsg(text); }
    void LoadError(const std::string& text, const std::string& detail) override { window_.LoadError(text, detail); }
    void LoadVobSubFile(const std::string& pathWithoutExtension) override;
    void SelectVobSubLanguage() override {}
    // The Subtitle FrameRate menu is the first subtitle's; the second follows its rate.
    void SubtitleFrameRateChosen(int, const std::string&) override {}

    SubtitleHost& window_;
};

}  // namespace tessaview
