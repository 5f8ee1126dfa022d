// Reads when a DVD subpicture unit starts and stops showing, from its control sequences alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessaview {

struct SpuTiming {
    // Bytes of the unit as its header declares them; the rest of a packet is not part of it.
    size_t unitSize = 0;
    // Display starts this long after the packet's time.
    int64_t startDelayMs = 0;
    // Display stops this long after the packet's time; empty when the unit never says.
    std::optional<int64_t> stopDelayMs;
};

// Empty when the unit is incomplete or a command runs past its end: such a unit shows nothing.
// Follows the control-sequence rules of the decoder, so the times agree with what it reports.
std::optional<SpuTiming> readSpuTiming(const uint8_t* data, size_t size);

}  // namespace tessaview
