// The VobSub bitmap-subtitle library as the program calls it: seven operations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaview {

struct VobSubRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline constexpr int VobSubLangNameSize = 256;

// When a picture is due: from startMs up to, not including, endMs.
struct VobSubPictureTime {
    int32_t startMs = 0;
    int32_t endMs = 0;
    bool operator==(const VobSubPictureTime&) const = default;
};

class VobSubLibrary {
public:
    virtual ~VobSubLibrary() = default;

    // `path` names the pair without extension (".idx" and ".sub" beside it).
    virtual void LoadVobSubFile(const std::string& path) = 0;
    // Highest language index; below 0 when there is none.
    virtual int32_t GetLangNum() = 0;
    // Writes the language's name, zero-terminated, into `name` (VobSubLangNameSize bytes).
    virtual void GetLangName(int32_t index, char* name) = 0;
    virtual void SetCurrentLang(int32_t index) = 0;
    // True when a picture of the current language is due at `ms`; it is then ready.
    virtual bool GetFrame(int32_t ms) = 0;
    // Number of the due picture; equal numbers mean the same picture.
    virtual int32_t GetCurrentIndex() = 0;
    // Hands out the due picture: width x height BGRA pixels (not premultiplied), rows top
    // to bottom without gaps, freshly copied at each call and writable until the next call.
    virtual void GetDataPointer(uint8_t** data, VobSubRect* rect) = 0;

    // Ours, beyond the seven: the current language's pictures in time order, for the
    // transcript and the line keys. A picture that lasts to the end ends at INT32_MAX.
    virtual std::vector<VobSubPictureTime> PictureTimes() { return {}; }
};

}  // namespace tessaview
