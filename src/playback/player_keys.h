// The keys and gestures every player has: which key does what in the window and in full
// screen, and the arithmetic behind them (where a seek lands, the sound level's steps, the
// short texts shown over the picture).
#pragma once

#include <QKeyCombination>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tessaview {

enum class PlayerCommand {
    PauseOrGoOn,
    SeekBack,
    SeekForward,
    SeekBackLong,
    SeekForwardLong,
    ToStart,
    VolumeUp,
    VolumeDown,
    Mute,
    SubtitlesEarlier,
    SubtitlesLater,
    SecondSubtitlesEarlier,
    SecondSubtitlesLater,
    MediaPlay,
    MediaPause,
    MediaPlayPause,
    MediaStop,
    MediaNext,
    MediaPrevious,
    PreviousLine,
    NextLine,
    RepeatLine,
    CopyLine,
    PauseAfterLine,
};

struct PlayerKey {
    QKeyCombination key;
    PlayerCommand command;
    bool inFullScreen = true;  // false: full screen has a key of its own there (Space)
    bool inWindow = true;      // false: a menu item of the window has the key already
};

inline constexpr int32_t ShortSeekSeconds = 5;
inline constexpr int32_t LongSeekSeconds = 60;
inline constexpr int32_t VolumeStep = 5;
inline constexpr int32_t SyncStepMs = 100;
inline constexpr int WheelNotch = 120;  // a wheel's angle for one notch, in eighths of a degree

// Every key, in the order the window's shortcuts are made.
std::span<const PlayerKey> PlayerKeys();

// The command of a key pressed in full screen (virtual key and MOD_ bits, as the engine posts
// them), if any. Keys of the number pad count as the digits.
std::optional<PlayerCommand> FullScreenCommand(int virtualKey, int modifiers);

// The frame a seek by `delta` frames from `position` lands on: not before the start, and not
// past the last frame when the length is known (`duration` > 0).
int32_t SeekTarget(int32_t position, int32_t delta, int32_t duration);

// A seek of `seconds` in frames at `rate`: Round(seconds x rate).
int32_t SeekFrames(int32_t seconds, double rate);

// `percent` within 0..100.
int32_t ValidVolume(int32_t percent);

// `volume` + `steps` volume steps, within 0..100.
int32_t SteppedVolume(int32_t volume, int32_t steps);

// The whole notches of a wheel turned `delta` (eighths of a degree, at most 100 notches counted
// at a time) after `rest`, the turn short of a notch so far, which keeps what is left over.
int WheelNotches(int& rest, intptr_t delta);

// "Volume 55 %", with " (muted)" while muted.
std::string VolumeText(int32_t percent, bool muted);

// "0:12:05 / 1:31:40": position and length at `rate` frames a second (rate > 0).
std::string PositionLengthText(int32_t position, int32_t duration, double rate);

// The synchronize value as the viewer sees it: "Subtitles 300 ms earlier" for +300 (the
// clock looks that far ahead), "Subtitles 200 ms later" for -200, "Subtitles in step" for 0.
std::string SyncOffsetText(int32_t milliseconds);
// The same for the second subtitle's offset: "Second subtitles 300 ms earlier".
std::string SecondSyncOffsetText(int32_t milliseconds);

}  // namespace tessaview
