// FakeEngine: scripted answers, a virtual clock and a call log.
#include "support/fake_engine.h"

#include "external/messages.h"

#include <QCoreApplication>
#include <algorithm>
#include <stdexcept>

namespace tessaview {

void FakeEngine::Advance(int32_t frames)
{
    if (open && playing && !paused)
        position = std::clamp<int64_t>(int64_t{position} + frames, 0, std::max<int32_t>(duration, 0));
}

void FakeEngine::EndMovie()
{
    playing = false;
    post(WM_MOVIE_END);
}

void FakeEngine::PressFullScreenKey(int virtualKey, int modifiers)
{
    post(WM_FULLSCREEN_KEY, virtualKey, modifiers);
}

void FakeEngine::TurnWheelOnPicture(int delta)
{
    post(WM_PICTURE_WHEEL, delta);
}

void FakeEngine::DoubleClickPicture()
{
    post(WM_PICTURE_DBLCLK);
}

void FakeEngine::LeaveFullScreen()
{
    fullScreen = false;
    post(WM_FULLSCREEN_LEFT);
}

void FakeEngine::post(int type, intptr_t wParam, intptr_t lParam)
{
    if (mainWindow)
        QCoreApplication::postEvent(mainWindow, new WindowMessage(static_cast<QEvent::Type>(type), wParam, lParam));
}

int FakeEngine::CallCount(const std::string& operation) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call == operation || call.rfind(operation + " ", 0) == 0;
    }));
}

void FakeEngine::PlayFile(const std::string& moviePath, QWidget* movieWindow)
{
    calls.push_back("PlayFile " + moviePath);
    // Like the real engine, a movie that cannot be played leaves the earlier one as it was.
    if (failingPaths.count(moviePath))
        throw std::runtime_error("cannot play " + moviePath);
    path = moviePath;
    window = movieWindow;
    position = 0;
    open = true;
    playing = true;
    paused = false;
}

void FakeEngine::GetFrameRate(int32_t& thousandths)
{
    calls.push_back("GetFrameRate");
    thousandths = frameRate;
}

void FakeEngine::GetDur(int32_t& frames)
{
    calls.push_back("GetDur");
    frames = duration;
}

void FakeEngine::GetVideoWH(int32_t& w, int32_t& h)
{
    calls.push_back("GetVideoWH");
    w = width;
    h = height;
}

void FakeEngine::GetPos(int32_t& frame)
{
    calls.push_back("GetPos");
    frame = position;
}

void FakeEngine::SetPos(int32_t frame)
{
    calls.push_back("SetPos " + std::to_string(frame));
    if (open)
        position = frame;
}

void FakeEngine::PlayMovie()
{
    calls.push_back("PlayMovie");
    if (open) {
        if (position >= duration)
            position = 0;  // played to its end: plays again from the start
        playing = true;
        paused = false;
    }
}

void FakeEngine::PauseMovie()
{
    calls.push_back("PauseMovie");
    if (open)
        paused = !paused;
}

void FakeEngine::StopMovie()
{
    calls.push_back("StopMovie");
    playing = false;
    paused = false;
    fullScreen = false;  // the real engine leaves full screen when stopped
    if (open)
        position = 0;  // the real engine stops at the start of the movie
}

void FakeEngine::SizeChange()
{
    calls.push_back("SizeChange");
}

void FakeEngine::GraphNotify()
{
    calls.push_back("GraphNotify");
}

void FakeEngine::SetFullScreen(int32_t on)
{
    calls.push_back("SetFullScreen " + std::to_string(on));
    fullScreen = on != 0;
}

void FakeEngine::SetVolume(int32_t percent)
{
    calls.push_back("SetVolume " + std::to_string(percent));
    volume = percent;
}

void FakeEngine::SetMute(bool on)
{
    calls.push_back(std::string("SetMute ") + (on ? "1" : "0"));
    muted = on;
}

void FakeEngine::ShowText(const std::string& text)
{
    calls.push_back("ShowText " + text);
    shownText = text;
}

void FakeEngine::SetMainWindow(QObject* window)
{
    mainWindow = window;
}

}  // namespace tessaview
