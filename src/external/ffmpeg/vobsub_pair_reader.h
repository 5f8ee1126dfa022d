// Indexes a VobSub pair (.idx + .sub): every picture of every language, without decoding any.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "external/ffmpeg/picture_index.h"

namespace tessaview {

struct IndexedLanguage {
    // The code the index gives the language ("en"); empty for an index with no pictures.
    std::string code;
    std::vector<IndexedPicture> pictures;
};

struct IndexedPair {
    // Position = the language index of the .idx file; indexes it skips stay empty.
    std::vector<IndexedLanguage> languages;
    // Every picture's subpicture unit, each followed by zeroed padding for the decoder.
    std::vector<uint8_t> units;
    // The index's settings (palette, frame size) as the decoder takes them.
    std::vector<uint8_t> decoderHeader;
    // The language the index marks as in use.
    int32_t defaultLanguage = 0;
};

// Empty when the pair cannot be opened or holds no readable picture.
// `path` names the pair without extension.
std::optional<IndexedPair> readVobSubPair(const std::string& path);

}  // namespace tessaview
