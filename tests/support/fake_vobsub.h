// A VobSub library for tests: scripted languages and pictures, a fresh copy of the due
// picture at every GetDataPointer, and a log of the calls.
#pragma once

#include "external/vobsub_library.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace tessaview {

struct FakeVobSubPicture {
    int32_t index = 0;    // what GetCurrentIndex answers while it is due
    int32_t startMs = 0;  // due from startMs ...
    int32_t endMs = 0;    // ... up to, not including, endMs
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra;  // width x height x 4 bytes
    int32_t left = 0, top = 0;  // where the rectangle lies
};

class FakeVobSub : public VobSubLibrary {
public:
    // --- the script ---
    std::vector<std::string> languages;  // name of each index ("" or "(Not detected)" allowed)
    std::vector<FakeVobSubPicture> pictures;

    // --- what the library was told ---
    std::vector<std::string> calls;  // "LoadVobSubFile /a/movie", "SetCurrentLang 1", "GetDataPointer"
    std::string loadedPath;          // empty until LoadVobSubFile
    int32_t currentLanguage = 0;

    int CallCount(const std::string& operation) const {
        return static_cast<int>(std::ranges::count_if(
            calls, [&](const std::string& call) { return call == operation || call.starts_with(operation + " "); }));
    }
    void ClearCalls() { calls.clear(); }

    void LoadVobSubFile(const std::string& path) override {
        calls.push_back("LoadVobSubFile " + path);
        loadedPath = path;
        currentLanguage = 0;
        due_ = -1;
    }
    int32_t GetLangNum() override { return static_cast<int32_t>(languages.size()) - 1; }
    void GetLangName(int32_t index, char* name) override {
        const std::string text = index >= 0 && static_cast<size_t>(index) < languages.size()
                                     ? languages[static_cast<size_t>(index)].substr(0, VobSubLangNameSize - 1)
                                     : "";
        std::memcpy(name, text.c_str(), text.size() + 1);
    }
    void SetCurrentLang(int32_t index) override {
        calls.push_back("SetCurrentLang " + std::to_string(index));
        currentLanguage = index;
    }
    bool GetFrame(int32_t ms) override {
        const auto due = std::ranges::find_if(pictures, [&](const auto& p) { return ms >= p.startMs && ms < p.endMs; });
        due_ = loadedPath.empty() || due == pictures.end() ? -1 : static_cast<int>(due - pictures.begin());
        return due_ >= 0;
    }
    int32_t GetCurrentIndex() override { return due_ >= 0 ? pictures[static_cast<size_t>(due_)].index : -1; }
    void GetDataPointer(uint8_t** data, VobSubRect* rect) override {
        calls.push_back("GetDataPointer");
        const FakeVobSubPicture none{0, 0, 0, 1, 1, {}};
        const FakeVobSubPicture& p = due_ >= 0 ? pictures[static_cast<size_t>(due_)] : none;
        // A fresh copy each time: the caller rewrites the pixels in place.
        handedOut_ = p.bgra;
        handedOut_.resize(static_cast<size_t>(std::max(p.width, 0)) * static_cast<size_t>(std::max(p.height, 0)) * 4);
        *data = handedOut_.data();
        *rect = due_ >= 0 ? VobSubRect{p.left, p.top, p.left + p.width, p.top + p.height} : VobSubRect{};
    }
    std::vector<VobSubPictureTime> PictureTimes() override {
        std::vector<VobSubPictureTime> times;
        if (!loadedPath.empty())
            for (const FakeVobSubPicture& p : pictures) times.push_back({p.startMs, p.endMs});
        std::ranges::stable_sort(times, {}, &VobSubPictureTime::startMs);
        return times;
    }

private:
    int due_ = -1;  // position in `pictures` of the due picture
    std::vector<uint8_t> handedOut_;
};

}  // namespace tessaview
