// Writes small VobSub pairs with known pictures for tests and benchmarks: an .idx and an
// MPEG-PS .sub whose private-stream-1 packets carry RLE subpicture units.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
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
    std::array<uint32_t, 16> palette{0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0xffffff, 0x808080, 0x123456, 0xabcdef,
                                     0x102030, 0x405060, 0x708090, 0xa0b0c0, 0xd0e0f0, 0x111111, 0x222222, 0x333333};
    std::vector<Language> languages;
    int langidx = 0;
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

// Nibbles, high half first; each line of the picture starts on a whole byte. A run takes 1, 2,
// 3 or 4 nibbles by its length.
inline void encodeRow(std::vector<uint8_t>& out, const Picture& p, int y) {
    bool half = false;
    for (int x = 0, length = 1; x < p.width; x += length, length = 1) {
        const int value = patternValue(p, x, y);
        while (x + length < p.width && length < 255 && patternValue(p, x + length, y) == value) ++length;
        const uint32_t code = uint32_t(length << 2 | value);
        for (int i = length >= 64 ? 3 : length >= 16 ? 2 : length >= 4 ? 1 : 0; i >= 0; --i, half = !half) {
            const uint8_t n = uint8_t((code >> (4 * i)) & 15);
            if (half)
                out.back() |= n;
            else
                out.push_back(uint8_t(n << 4));
        }
    }
}

// The subpicture unit of a picture: size, control offset, both fields' RLE, then the control
// sequences (start with colours, alpha, area and field offsets; then the stop, if any).
inline std::vector<uint8_t> subpictureUnit(const Picture& p) {
    std::vector<uint8_t> unit{0, 0, 0, 0};
    for (int y = 0; y < p.height; y += 2) encodeRow(unit, p, y);
    const size_t bottomField = unit.size();
    for (int y = 1; y < p.height; y += 2) encodeRow(unit, p, y);
    const size_t firstControl = unit.size();
    const size_t secondControl = firstControl + 4 + 1 + 3 + 3 + 7 + 5 + 1;
    const size_t next = p.durationMs ? secondControl : firstControl;
    const int x2 = p.left + p.width - 1;
    const int y2 = p.top + p.height - 1;
    const int64_t start = stopDate(p.startDelayMs);
    // Date, next sequence and start (1); colours (3); alpha (4); area (5); field offsets (6); end.
    unit.insert(unit.end(), {uint8_t(start >> 8), uint8_t(start), uint8_t(next >> 8), uint8_t(next), 0x01});
    unit.insert(unit.end(), {0x03, uint8_t(p.colours[3] << 4 | (p.colours[2] & 15)),
                             uint8_t(p.colours[1] << 4 | (p.colours[0] & 15))});
    unit.insert(unit.end(),
                {0x04, uint8_t(p.alphas[3] << 4 | (p.alphas[2] & 15)), uint8_t(p.alphas[1] << 4 | (p.alphas[0] & 15))});
    unit.insert(unit.end(), {0x05, uint8_t(p.left >> 4), uint8_t((p.left & 15) << 4 | (x2 >> 8)), uint8_t(x2),
                             uint8_t(p.top >> 4), uint8_t((p.top & 15) << 4 | (y2 >> 8)), uint8_t(y2)});
    unit.insert(unit.end(), {0x06, 0, 4, uint8_t(bottomField >> 8), uint8_t(bottomField), 0xff});
    if (p.durationMs) {
        const int64_t date = stopDate(*p.durationMs);
        unit.insert(unit.end(), {uint8_t(date >> 8), uint8_t(date), uint8_t(secondControl >> 8), uint8_t(secondControl),
                                 0x02, 0xff});
    }
    unit[0] = uint8_t(unit.size() >> 8);
    unit[1] = uint8_t(unit.size());
    unit[2] = uint8_t(firstControl >> 8);
    unit[3] = uint8_t(firstControl);
    return unit;
}

// The unit in 2048-byte MPEG-PS packs as DVD rips have them, one private-stream-1 packet per
// pack with the time on the first, each pack filled up with a padding packet.
inline std::vector<uint8_t> packetsFor(const std::vector<uint8_t>& unit, int substream, int64_t ms) {
    const std::array<uint8_t, 14> packHeader{0x00, 0x00, 0x01, 0xba, 0x44, 0x00, 0x04,
                                             0x00, 0x04, 0x01, 0x01, 0x89, 0xc3, 0xf8};
    std::vector<uint8_t> out;
    for (size_t done = 0; done < unit.size() || out.empty();) {
        const size_t packStart = out.size();
        const size_t headerData = done == 0 ? 5 : 0;
        const size_t room = 2048 - (14 + 6 + 3 + headerData + 1);
        size_t chunk = std::min(unit.size() - done, room);
        if (room - chunk > 0 && room - chunk < 6) chunk -= 6 - (room - chunk);  // room for padding
        const size_t pesLength = 3 + headerData + 1 + chunk;
        out.insert(out.end(), packHeader.begin(), packHeader.end());
        out.insert(out.end(), {0x00, 0x00, 0x01, 0xbd, uint8_t(pesLength >> 8), uint8_t(pesLength), 0x81,
                               uint8_t(headerData ? 0x80 : 0x00), uint8_t(headerData)});
        if (headerData) {
            const uint64_t pts = uint64_t(ms) * 90;
            out.insert(out.end(),
                       {uint8_t(0x21 | ((pts >> 29) & 0x0e)), uint8_t(pts >> 22), uint8_t(((pts >> 14) & 0xfe) | 1),
                        uint8_t(pts >> 7), uint8_t(((pts << 1) & 0xfe) | 1)});
        }
        out.push_back(uint8_t(0x20 + substream));
        out.insert(out.end(), unit.begin() + long(done), unit.begin() + long(done + chunk));
        done += chunk;
        if (const size_t used = out.size() - packStart; used < 2048) {
            const size_t padding = 2048 - used - 6;
            out.insert(out.end(), {0x00, 0x00, 0x01, 0xbe, uint8_t(padding >> 8), uint8_t(padding)});
            out.insert(out.end(), padding, 0xff);
        }
    }
    return out;
}

// Writes `path`.idx and `path`.sub; pictures go into the .sub in time order across languages.
inline void writePair(const Pair& pair, const std::string& path) {
    std::vector<std::pair<const Language*, const Picture*>> placed;
    for (const Language& language : pair.languages)
        for (const Picture& picture : language.pictures) placed.emplace_back(&language, &picture);
    std::ranges::stable_sort(placed, {}, [](const auto& item) { return item.second->startMs; });
    std::vector<uint8_t> sub;
    std::map<const Language*, std::string> entries;  // each language's index lines
    for (const auto& [language, picture] : placed) {
        const int64_t ms = picture->startMs;
        char line[80];
        std::snprintf(line, sizeof line, "timestamp: %02d:%02d:%02d:%03d, filepos: %09zx\n", int(ms / 3600000),
                      int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000), sub.size());
        entries[language] += line;
        const auto packets = packetsFor(subpictureUnit(*picture), language->index, ms);
        sub.insert(sub.end(), packets.begin(), packets.end());
    }
    std::ofstream(path + ".sub", std::ios::binary).write(reinterpret_cast<char*>(sub.data()), long(sub.size()));

    std::ofstream idx(path + ".idx", std::ios::binary);
    idx << "# VobSub index file, v7 (do not modify this line!)\nsize: 720x480\npalette: " << std::hex;
    for (size_t i = 0; i < pair.palette.size(); ++i) idx << pair.palette[i] << (i < 15 ? ", " : "\n");
    idx << std::dec << "langidx: " << pair.langidx << "\n";
    for (const Language& language : pair.languages)
        idx << "id: " << language.code << ", index: " << language.index << "\n" << entries[&language];
}

}  // namespace tessaview::testpair
