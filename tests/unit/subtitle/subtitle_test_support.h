// A host that records what the core tells it, and a core at 25 fps in a private folder.
#pragma once

#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tessaview::testing {

using Strings = std::vector<std::string>;
using test::errorOf;
using test::TempDir;

class RecordingHost : public SubtitleHost {
public:
    Strings messages, vobSubLoads;
    int languageChoices = 0;
    int lastTag = -1;
    std::string lastStatus;
    char separator = '.';

    void semsg(const std::string& text) override { messages.push_back(text); }
    void LoadVobSubFile(const std::string& path) override { vobSubLoads.push_back(path); }
    void SelectVobSubLanguage() override { ++languageChoices; }
    void SubtitleFrameRateChosen(int tag, const std::string& statusText) override {
        lastTag = tag;
        lastStatus = statusText;
    }
    char DecimalSeparator() const override { return separator; }
};

class CoreTest : public ::testing::Test {
protected:
    CoreTest() {
        core.MovieFrameRate = core.EngineFrameRate = 25.0;
        core.SetAnsiCodePage("UTF-8");
    }

    std::string load(const std::string& bytes, const std::string& name = "sub.txt") {
        const std::string path = dir.write(name, bytes);
        core.LoadSubtitle(path);
        return path;
    }

    void add(int32_t start, int32_t end, const std::string& text) {
        core.SubList.push_back(std::make_unique<TTimeSpan>(TTimeSpan{start, end, text}));
    }

    // Each cue as "start end text".
    Strings cues() const {
        Strings out;
        for (const auto& cue : core.SubList)
            out.push_back(std::to_string(cue->StartTime) + " " + std::to_string(cue->EndTime) + " " + cue->Text);
        return out;
    }

    TempDir dir;
    RecordingHost host;
    SubtitleCore core{host, dir.path()};
};

}  // namespace tessaview::testing
