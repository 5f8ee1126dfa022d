// What the desktop's media controls (MPRIS2) see of the player and may ask of it: the movie's
// state, and the Movie menu's commands. The main window answers; the D-Bus side only asks.
#pragma once

#include <cstdint>
#include <string>

namespace tessaview {

enum class PlaybackStatus { Stopped, Playing, Paused };

// The state the desktop is told about when it changes. Cheap to take: it is compared after
// every burst of events.
struct MediaPlayerState {
    PlaybackStatus status = PlaybackStatus::Stopped;
    std::string track;     // the movie's file name as the file system holds it; empty: none
    int64_t lengthUs = 0;  // of the movie, in microseconds
    int32_t volumePercent = 100;
    bool canPlay = false;    // a movie to play, or to go on with
    bool canGoNext = false;  // the play list has an entry after the one playing
    bool canGoPrevious = false;

    bool operator==(const MediaPlayerState&) const = default;
};

class MediaPlayerHost {
public:
    virtual ~MediaPlayerHost() = default;

    virtual MediaPlayerState State() const = 0;
    virtual int64_t PositionUs() = 0;                    // movie time of the open movie
    virtual void SetPositionUs(int64_t position) = 0;    // within 0 .. lengthUs
    virtual void SetVolumePercent(int32_t percent) = 0;  // 0 .. 100

    // The Movie menu's commands, as the menu gives them (Pause toggles).
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;                             // the play list's next entry
    virtual void Previous() = 0;                         // and the one before
    virtual void OpenFile(const std::string& path) = 0;  // as Play File with that file chosen
    virtual void Raise() = 0;                            // the window to the front
    virtual void Quit() = 0;                             // as Exit: the settings and the play list are saved
};

}  // namespace tessaview
