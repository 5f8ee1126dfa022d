// A VobSub library for tests: scripted languages and pictures, a fresh copy of the due
// picture at every GetDataPointer, and a log of the calls.
#pragma once

#include "external/vobsub_library.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tessaview {

struct FakeVobSubPicture {
    int32_t index = 0;     // what GetCurrentIndex answers while it is due
    int32_t startMs = 0;   // due from startMs ...
    int32_t endMs = 0;     // ... up to, not including, endMs
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra;  // width x height x 4 bytes
};

class FakeVobSub : public VobSubLibrary {
public:
    // --- the script ---
    std::vector<std::string> languages;  // name of each index ("" or "(Not detected)" allowed)
    std::vector<FakeVobSubPicture> pictures;

    // --- what the library was told ---
    std::vector<std::string> calls;  // "LoadVobSubFile /a/movie", "GetFrame 1500", ...
    std::string loadedPath;          // empty until LoadVobSubFile
    int32_t currentLanguage = 0;

    int CallCount(const std::string& operation) const
    {
        return static_cast<int>(std::ranges::count_if(
            calls, [&](const std::string& call) { return call == operation || call.starts_with(operation + " "); }));
    }
    void ClearCalls() { calls.clear(); }

    void LoadVobSubFile(const std::string& path) override;
    int32_t GetLangNum() override;
    void GetLangName(int32_t index, char* name) override;
    void SetCurrentLang(int32_t index) override;
    bool GetFrame(int32_t ms) override;
    int32_t GetCurrentIndex() override;
    void GetDataPointer(uint8_t** data, VobSubRect* rect) override;
    std::vector<VobSubPictureTime> PictureTimes() override;

private:
    int due_ = -1;                // position in `pictures` of the due picture
    std::vector<uint8_t> handedOut_;
};

}  // namespace tessaview
