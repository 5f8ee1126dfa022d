// A VobSub library stand-in for drawing tests: one due picture, counted calls, and a fresh
// copy of the picture at every GetDataPointer as the real library hands it out.
#pragma once

#include "external/vobsub_library.h"

#include <cstdint>
#include <vector>

namespace tessaview::test {

class PictureLibrary : public VobSubLibrary {
public:
    int32_t index = 0;
    VobSubRect rect;
    std::vector<uint8_t> pixels;  // BGRA, as the picture is stored
    int dataCalls = 0;

    // A w x h picture, every pixel the same.
    void SetPicture(int32_t newIndex, int32_t w, int32_t h, uint8_t b, uint8_t g, uint8_t r,
                    uint8_t a) {
        index = newIndex;
        rect = {0, 0, w, h};
        pixels.clear();
        for (int32_t i = 0; i < w * h; ++i) pixels.insert(pixels.end(), {b, g, r, a});
    }

    void LoadVobSubFile(const std::string&) override {}
    int32_t GetLangNum() override { return -1; }
    void GetLangName(int32_t, char* name) override { name[0] = '\0'; }
    void SetCurrentLang(int32_t) override {}
    bool GetFrame(int32_t) override { return true; }
    int32_t GetCurrentIndex() override { return index; }
    void GetDataPointer(uint8_t** data, VobSubRect* out) override {
        ++dataCalls;
        handedOut_ = pixels;
        *data = handedOut_.empty() ? nullptr : handedOut_.data();
        *out = rect;
    }

private:
    std::vector<uint8_t> handedOut_;
};

}  // namespace tessaview::test
