// Shared pieces of the subtitle tests: a recording host, a private folder for files, and a
// core wired to both.
#pragma once

#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tessaview::testing {

using Strings = std::vector<std::string>;

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
    void SubtitleFrameRateChosen(int tag, const std::string& statusText) override
    {
        lastTag = tag;
        lastStatus = statusText;
    }
    char DecimalSeparator() const override { return separator; }
};

// A folder of its own per test, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaview-subtitle-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }

private:
    std::string path_;
};

// The runtime error `action` raises, or "no error".
template <typename Action>
std::string errorOf(Action&& action)
{
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.what();
    }
    return "no error";
}

// One cue as the tests compare it.
struct Cue {
    int32_t start = 0;
    int32_t end = 0;
    std::string text;
    bool operator==(const Cue&) const = default;
};
using Cues = std::vector<Cue>;

inline void PrintTo(const Cue& cue, std::ostream* os)
{
    *os << "{" << cue.start << ", " << cue.end << ", " << ::testing::PrintToString(cue.text) << "}";
}

// A core at 25 fps with its program folder in a private directory; code page UTF-8.
class CoreTest : public ::testing::Test {
protected:
    CoreTest()
    {
        core.MovieFrameRate = core.EngineFrameRate = 25.0;
        core.SetAnsiCodePage("UTF-8");
    }

    // Loads `bytes` as a file named `name` and returns the file's path.
    std::string load(const std::string& bytes, const std::string& name = "sub.txt")
    {
        const std::string path = dir.write(name, bytes);
        core.LoadSubtitle(path);
        return path;
    }

    Cues cues() const
    {
        Cues out;
        for (const auto& cue : core.SubList)
            out.push_back({cue->StartTime, cue->EndTime, cue->Text});
        return out;
    }

    TempDir dir;
    RecordingHost host;
    SubtitleCore core{host, dir.path()};
};

}  // namespace tessaview::testing
