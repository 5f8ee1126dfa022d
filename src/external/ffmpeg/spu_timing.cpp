// Walks the control sequences of a subpicture unit for its start and stop dates.
#include "external/ffmpeg/spu_timing.h"

namespace tessaview {
namespace {

uint32_t readBig16(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }
uint32_t readBig32(const uint8_t* p) { return (readBig16(p) << 16) | readBig16(p + 2); }

// Dates count 1024 ticks of the 90 kHz clock.
int64_t dateToMs(uint32_t date) { return (int64_t(date) << 10) / 90; }

// Bytes of arguments after a command; -1 ends the sequence.
int argumentBytes(uint8_t command) {
    switch (command) {
        case 0x00:
        case 0x01:
        case 0x02:
            return 0;
        case 0x03:
        case 0x04:
            return 2;
        case 0x05:
        case 0x85:
            return 6;
        case 0x06:
            return 4;
        case 0x86:
            return 8;
        case 0x83:
            return 768;
        case 0x84:
            return 256;
        default:
            return -1;
    }
}

}  // namespace

std::optional<SpuTiming> readSpuTiming(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4) {
        return std::nullopt;
    }
    // A zero first word marks the large form with 4-byte sizes and offsets.
    const bool bigOffsets = readBig16(data) == 0;
    const size_t offsetSize = bigOffsets ? 4 : 2;
    if (bigOffsets && size < 10) {
        return std::nullopt;
    }
    auto readOffset = [&](size_t at) { return bigOffsets ? readBig32(data + at) : readBig16(data + at); };

    SpuTiming timing;
    timing.unitSize = bigOffsets ? readBig32(data + 2) : readBig16(data);
    const size_t firstControl = readOffset(bigOffsets ? 6 : 2);
    const size_t headerSize = bigOffsets ? 10 : 4;
    if (timing.unitSize < headerSize || timing.unitSize > size) {
        return std::nullopt;
    }
    const size_t unit = timing.unitSize;
    if (firstControl == 0 || firstControl + 2 + offsetSize >= unit) {
        return std::nullopt;
    }

    std::optional<uint32_t> startDate;
    std::optional<uint32_t> stopDate;
    size_t control = firstControl;
    // Offsets only move forward, so the walk ends within `unit` steps.
    while (control > 0 && control + 2 + offsetSize < unit) {
        const uint32_t date = readBig16(data + control);
        const size_t next = readOffset(control + 2);
        size_t pos = control + 2 + offsetSize;
        while (pos < unit) {
            const uint8_t command = data[pos++];
            if (command == 0x01) {
                startDate = date;
            } else if (command == 0x02) {
                stopDate = date;
            }
            const int arguments = argumentBytes(command);
            if (arguments < 0) {
                break;
            }
            if (unit - pos < size_t(arguments)) {
                return std::nullopt;
            }
            pos += size_t(arguments);
        }
        if (next <= control) {
            break;
        }
        control = next;
    }

    timing.startDelayMs = startDate ? dateToMs(*startDate) : 0;
    // A stop at or before the start would hide the picture before it is seen: treat it as
    // no stop, so the picture lasts until the next one.
    if (stopDate && dateToMs(*stopDate) > timing.startDelayMs) {
        timing.stopDelayMs = dateToMs(*stopDate);
    }
    return timing;
}

}  // namespace tessaview
