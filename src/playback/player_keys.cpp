// The player keys' table and arithmetic.
#include "playback/player_keys.h"

#include "external/messages.h"
#include "external/virtual_key.h"
#include "playback/clock_math.h"

#include <algorithm>
#include <cstdlib>

namespace tessaview {

namespace {

using enum PlayerCommand;

constexpr PlayerKey kPlayerKeys[] = {
    {QKeyCombination(Qt::Key_Space), PauseOrGoOn, false},
    {QKeyCombination(Qt::Key_Left), SeekBack},
    {QKeyCombination(Qt::Key_Right), SeekForward},
    {Qt::SHIFT | Qt::Key_Left, SeekBackLong},
    {Qt::SHIFT | Qt::Key_Right, SeekForwardLong},
    {QKeyCombination(Qt::Key_Home), ToStart},
    {Qt::CTRL | Qt::Key_Up, VolumeUp},
    {Qt::CTRL | Qt::Key_Down, VolumeDown},
    {QKeyCombination(Qt::Key_0), VolumeUp},
    {QKeyCombination(Qt::Key_9), VolumeDown},
    {QKeyCombination(Qt::Key_M), Mute},
    {QKeyCombination(Qt::Key_Z), SubtitlesEarlier},
    {QKeyCombination(Qt::Key_X), SubtitlesLater},
    {Qt::SHIFT | Qt::Key_Z, SecondSubtitlesEarlier},
    {Qt::SHIFT | Qt::Key_X, SecondSubtitlesLater},
    {QKeyCombination(Qt::Key_MediaPlay), MediaPlay},
    {QKeyCombination(Qt::Key_MediaPause), MediaPause},
    {QKeyCombination(Qt::Key_MediaTogglePlayPause), MediaPlayPause},
    {QKeyCombination(Qt::Key_MediaStop), MediaStop},
    {QKeyCombination(Qt::Key_MediaNext), MediaNext},
    {QKeyCombination(Qt::Key_MediaPrevious), MediaPrevious},
    {Qt::CTRL | Qt::Key_Left, PreviousLine},
    {Qt::CTRL | Qt::Key_Right, NextLine},
    {QKeyCombination(Qt::Key_R), RepeatLine},
    {Qt::CTRL | Qt::Key_C, CopyLine},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_P, PauseAfterLine, true, false},
};

constexpr int VK_NUMPAD0 = 96;
constexpr int VK_NUMPAD9 = 105;

std::string TwoDigits(int32_t value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string Clock(int32_t frames, double rate) {
    const int32_t seconds =
        std::max(0, RoundHalfEven(static_cast<long double>(frames) / static_cast<long double>(rate)));
    return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" + TwoDigits(seconds % 60);
}

}  // namespace

std::span<const PlayerKey> PlayerKeys() { return kPlayerKeys; }

std::optional<PlayerCommand> FullScreenCommand(int virtualKey, int modifiers) {
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) virtualKey = '0' + (virtualKey - VK_NUMPAD0);
    for (const PlayerKey& entry : kPlayerKeys) {
        if (entry.inFullScreen && virtualKeyFromQt(entry.key.key()) == virtualKey &&
            virtualModifiers(entry.key.keyboardModifiers()) == modifiers)
            return entry.command;
    }
    return std::nullopt;
}

int32_t SeekTarget(int32_t position, int32_t delta, int32_t duration) {
    int32_t target = SaturatingAdd(position, delta);
    if (duration > 0) target = std::min(target, duration - 1);
    return std::max(target, 0);
}

int32_t SeekFrames(int32_t seconds, double rate) { return RoundHalfEven(static_cast<long double>(seconds) * rate); }

int32_t ValidVolume(int32_t percent) { return std::clamp(percent, 0, 100); }

int32_t SteppedVolume(int32_t volume, int32_t steps) {
    return ValidVolume(SaturatingAdd(volume, ClampToInt32(int64_t{steps} * VolumeStep)));
}

int WheelNotches(int& rest, intptr_t delta) {
    // Touch pads turn in small steps: a notch counts once it has come together.
    rest += static_cast<int>(std::clamp<intptr_t>(delta, -100 * WheelNotch, 100 * WheelNotch));
    const int notches = rest / WheelNotch;
    rest %= WheelNotch;
    return notches;
}

std::string VolumeText(int32_t percent, bool muted) {
    return "Volume " + std::to_string(percent) + " %" + (muted ? " (muted)" : "");
}

std::string PositionLengthText(int32_t position, int32_t duration, double rate) {
    return Clock(position, rate) + " / " + Clock(duration, rate);
}

namespace {
std::string OffsetText(const char* subject, int32_t milliseconds) {
    if (milliseconds == 0) return std::string(subject) + " in step";
    const int64_t amount = std::abs(static_cast<int64_t>(milliseconds));
    return subject + (" " + std::to_string(amount)) + " ms " + (milliseconds > 0 ? "earlier" : "later");
}
}  // namespace

std::string SyncOffsetText(int32_t milliseconds) { return OffsetText("Subtitles", milliseconds); }

std::string SecondSyncOffsetText(int32_t milliseconds) { return OffsetText("Second subtitles", milliseconds); }

}  // namespace tessaview
