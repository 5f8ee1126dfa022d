// The desktop's media controls and media keys (MPRIS2) wired to the main window: its movie
// state read back, its Movie menu's commands carried out.
#pragma once

#include "platform/media_player_host.h"

#include <QString>
#include <memory>

namespace tessaview {

class MovieEngine;
class MprisService;
class TfmMain;

class MainWindowMediaHost final : public MediaPlayerHost {
public:
    MainWindowMediaHost(TfmMain& window, MovieEngine& engine) : window_(window), engine_(engine) {}

    MediaPlayerState State() const override;
    int64_t PositionUs() override;
    void SetPositionUs(int64_t position) override;
    void SetVolumePercent(int32_t percent) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void OpenFile(const std::string& path) override;
    void Raise() override;
    void Quit() override;

private:
    TfmMain& window_;
    MovieEngine& engine_;
};

// The player on the session bus (or the bus at `busAddress`) from now until its window closes.
class MediaControls {
public:
    MediaControls(TfmMain& window, MovieEngine& engine, int64_t processId, const QString& busAddress = {});
    ~MediaControls();

    MprisService& Service() { return *service_; }

private:
    MainWindowMediaHost host_;
    std::unique_ptr<MprisService> service_;
};

}  // namespace tessaview
