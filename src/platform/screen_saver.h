// Keeps the desktop's screen saver from starting while a movie is open, through the
// freedesktop ScreenSaver service on the session bus; silently nothing without a bus.
#pragma once

#include <cstdint>
#include <optional>

namespace tessaview {

class ScreenSaverInhibitor {
public:
    ScreenSaverInhibitor() = default;
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // false: inhibit (once, however often it is asked); true: release the inhibition.
    void SetActive(bool active);
    bool Inhibited() const { return cookie_.has_value(); }

private:
    std::optional<uint32_t> cookie_;
};

}  // namespace tessaview
