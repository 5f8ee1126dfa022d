// Writes small VobSub pairs with known pictures for tests and benchmarks: an .idx and an
// MPEG-PS .sub whose private-stream-1 packets carry RLE subpicture units.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tessaview::testpair {

struct Picture {
    int64_t startMs = 0;
    // Date of the start command after the packet's time.
    int64_t startDelayMs = 0;
    // Date of the stop command after the packet's time; none writes no stop command at all.
    std::optional<int64_t> durationMs = 1000;
    int left = 10;
    int top = 20;
    int width = 16;
    int height = 8;
    // Palette entry and alpha (0..15) for each of the four pattern values.
    std::array<uint8_t, 4> colours{0, 1, 2, 3};
    std::array<uint8_t, 4> alphas{0, 15, 15, 8};
    // Shifts the inner pattern, so that pictures differ from each other.
    int seed = 0;
};

struct Language {
    std::string code;
    int index = 0;
    std::vector<Picture> pictures;
};

struct Pair {
    std::array<uint32_t, 16> palette{0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0xffffff, 0x808080,
                                     0x123456, 0xabcdef, 0x102030, 0x405060, 0x708090, 0xa0b0c0,
                                     0xd0e0f0, 0x111111, 0x222222, 0x333333};
    std::vector<Language> languages;
    int langidx = 0;
    // Pad every pack to 2048 bytes as DVD rips do.
    bool padPacks = true;
};

// Pattern value (0..3) of a pixel: 1 on the border, so the picture keeps its full size, and a
// diagonal stripe inside that differs between rows and between pictures.
inline int patternValue(const Picture& p, int x, int y) {
    if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) return 1;
    return (x / 3 + y + p.seed) % 4;
}

// The pixel as the library should hand it out: blue, green, red, alpha (not premultiplied).
inline std::array<uint8_t, 4> expectedBgra(const Pair& pair, const Picture& p, int x, int y) {
    const int value = patternValue(p, x, y);
    const uint32_t rgb = pair.palette[p.colours[size_t(value)] & 15];
    return {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), uint8_t(p.alphas[size_t(value)] * 17)};
}

// Dates count 1024 ticks of 90 kHz: the time a delay really gets.
inline int64_t stopDate(int64_t durationMs) { return (durationMs * 90 + 1023) / 1024; }
inline int64_t effectiveDurationMs(int64_t durationMs) { return (stopDate(durationMs) << 10) / 90; }

namespace detail {

// Nibbles, high half first; a line of the picture starts on a whole byte.
struct NibbleWriter {
    std::vector<uint8_t> bytes;
    bool half = false;
    void put(uint32_t value, int nibbles) {
        for (int i = nibbles - 1; i >= 0; --i, half = !half) {
            const uint8_t n = uint8_t((value >> (4 * i)) & 15);
            if (half) bytes.back() |= n;
            else bytes.push_back(uint8_t(n << 4));
        }
    }
};

// One run in the 2-bit code: 1, 2, 3 or 4 nibbles by length; `toEnd` fills the line.
inline void putRun(NibbleWriter& out, int length, int value, bool toEnd) {
    const int nibbles = toEnd || length >= 64 ? 4 : length >= 16 ? 3 : length >= 4 ? 2 : 1;
    out.put(uint32_t(toEnd ? value : length << 2 | value), nibbles);
}

inline void encodeRow(NibbleWriter& out, const Picture& p, int y) {
    int x = 0;
    while (x < p.width) {
        const int value = patternValue(p, x, y);
        int length = 1;
        while (x + length < p.width && length < 255 && patternValue(p, x + length, y) == value) ++length;
        putRun(out, length, value, x + length == p.width && length > 3);
        x += length;
    }
    out.half = false;
}

}  // namespace detail

// The subpicture unit of a picture: size, control offset, both fields' RLE, then the control
// sequences (start with colours, alpha, area and field offsets; then the stop, if any).
inline std::vector<uint8_t> subpictureUnit(const Picture& p) {
    detail::NibbleWriter rle{{0, 0, 0, 0}};
    for (int y = 0; y < p.height; y += 2) detail::encodeRow(rle, p, y);
    const size_t bottomField = rle.bytes.size();
    for (int y = 1; y < p.height; y += 2) detail::encodeRow(rle, p, y);
    std::vector<uint8_t> unit = std::move(rle.bytes);
    const size_t firstControl = unit.size();
    const size_t secondControl = firstControl + 4 + 1 + 3 + 3 + 7 + 5 + 1;
    const size_t next = p.durationMs ? secondControl : firstControl;
    const int x2 = p.left + p.width - 1;
    const int y2 = p.top + p.height - 1;
    const int64_t start = stopDate(p.startDelayMs);
    unit.insert(unit.end(), {uint8_t(start >> 8), uint8_t(start), uint8_t(next >> 8), uint8_t(next), 0x01,
                             0x03, uint8_t(p.colours[3] << 4 | (p.colours[2] & 15)),
                             uint8_t(p.colours[1] << 4 | (p.colours[0] & 15)),
                             0x04, uint8_t(p.alphas[3] << 4 | (p.alphas[2] & 15)),
                             uint8_t(p.alphas[1] << 4 | (p.alphas[0] & 15)),
                             0x05, uint8_t(p.left >> 4), uint8_t((p.left & 15) << 4 | (x2 >> 8)), uint8_t(x2),
                             uint8_t(p.top >> 4), uint8_t((p.top & 15) << 4 | (y2 >> 8)), uint8_t(y2),
                             0x06, 0, 4, uint8_t(bottomField >> 8), uint8_t(bottomField), 0xff});
    if (p.durationMs) {
        const int64_t date = stopDate(*p.durationMs);
        unit.insert(unit.end(), {uint8_t(date >> 8), uint8_t(date), uint8_t(secondControl >> 8),
                                 uint8_t(secondControl), 0x02, 0xff});
    }
    unit[0] = uint8_t(unit.size() >> 8);
    unit[1] = uint8_t(unit.size());
    unit[2] = uint8_t(firstControl >> 8);
    unit[3] = uint8_t(firstControl);
    return unit;
}

// The unit in MPEG-PS packs, one private-stream-1 packet per pack, the time on the first.
inline std::vector<uint8_t> packetsFor(const std::vector<uint8_t>& unit, int substream, int64_t ms, bool pad) {
    constexpr size_t PackSize = 2048;
    const std::array<uint8_t, 14> packHeader{0x00, 0x00, 0x01, 0xba, 0x44, 0x00, 0x04,
                                             0x00, 0x04, 0x01, 0x01, 0x89, 0xc3, 0xf8};
    std::vector<uint8_t> out;
    size_t done = 0;
    bool first = true;
    while (done < unit.size() || first) {
        const size_t packStart = out.size();
        out.insert(out.end(), packHeader.begin(), packHeader.end());
        const size_t headerData = first ? 5 : 0;
        const size_t overhead = 14 + 6 + 3 + headerData + 1;
        size_t chunk = std::min(unit.size() - done, PackSize - overhead);
        if (pad) {
            const size_t left = PackSize - overhead - chunk;
            if (left > 0 && left < 6) chunk -= 6 - left;
        }
        const size_t pesLength = 3 + headerData + 1 + chunk;
        out.insert(out.end(), {0x00, 0x00, 0x01, 0xbd, uint8_t(pesLength >> 8), uint8_t(pesLength)});
        out.insert(out.end(), {0x81, uint8_t(first ? 0x80 : 0x00), uint8_t(headerData)});
        if (first) {
            const uint64_t pts = uint64_t(ms) * 90;
            out.insert(out.end(), {uint8_t(0x21 | ((pts >> 29) & 0x0e)), uint8_t(pts >> 22),
                                   uint8_t(((pts >> 14) & 0xfe) | 1), uint8_t(pts >> 7), uint8_t(((pts << 1) & 0xfe) | 1)});
        }
        out.push_back(uint8_t(0x20 + substream));
        out.insert(out.end(), unit.begin() + long(done), unit.begin() + long(done + chunk));
        done += chunk;
        first = false;
        const size_t used = out.size() - packStart;
        if (pad && used < PackSize) {
            const size_t paddingLength = PackSize - used - 6;
            out.insert(out.end(), {0x00, 0x00, 0x01, 0xbe, uint8_t(paddingLength >> 8), uint8_t(paddingLength)});
            out.insert(out.end(), paddingLength, 0xff);
        }
    }
    return out;
}

inline std::string idxTime(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", int(ms / 3600000), int(ms / 60000 % 60),
                  int(ms / 1000 % 60), int(ms % 1000));
    return text;
}

// Writes `path`.idx and `path`.sub; pictures go into the .sub in time order across languages.
inline void writePair(const Pair& pair, const std::string& path) {
    struct Placed {
        const Language* language;
        const Picture* picture;
        size_t filepos = 0;
    };
    std::vector<Placed> placed;
    for (const Language& language : pair.languages)
        for (const Picture& picture : language.pictures) placed.push_back({&language, &picture});
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.picture->startMs < b.picture->startMs; });
    std::vector<uint8_t> sub;
    for (Placed& item : placed) {
        item.filepos = sub.size();
        const auto packets = packetsFor(subpictureUnit(*item.picture), item.language->index,
                                        item.picture->startMs, pair.padPacks);
        sub.insert(sub.end(), packets.begin(), packets.end());
    }
    std::ofstream(path + ".sub", std::ios::binary).write(reinterpret_cast<const char*>(sub.data()), long(sub.size()));

    std::ofstream idx(path + ".idx", std::ios::binary);
    idx << "# VobSub index file, v7 (do not modify this line!)\n# Written by the test pair writer\n\n"
        << "size: 720x480\norg: 0, 0\nscale: 100%, 100%\nalpha: 100%\n\npalette: ";
    for (size_t i = 0; i < pair.palette.size(); ++i) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%06x", unsigned(pair.palette[i]));
        idx << hex << (i + 1 < pair.palette.size() ? ", " : "\n");
    }
    idx << "\nlangidx: " << pair.langidx << "\n";
    for (const Language& language : pair.languages) {
        idx << "\n# " << language.code << "\nid: " << language.code << ", index: " << language.index << "\n";
        char pos[16];
        for (const Placed& item : placed) {
            if (item.language != &language) continue;
            std::snprintf(pos, sizeof pos, "%09zx", item.filepos);
            idx << "timestamp: " << idxTime(item.picture->startMs) << ", filepos: " << pos << "\n";
        }
    }
}

}  // namespace tessaview::testpair
