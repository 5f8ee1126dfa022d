// Loading and saving the user's settings in set.ini, against a narrow view of the main
// window so that both run (and are tested) without any window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaview {

class InstanceControl;

// The subtitle font as stored: face, size in points, Windows character set, 0x00BBGGRR colour.
struct FontSpec {
    std::string Name = "MS Sans Serif";
    int32_t Size = 12;
    int32_t CharSet = 1;
    int32_t Color = 16777215;
    bool operator==(const FontSpec&) const = default;
};

struct WindowBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// The main window's fields the settings fill; other Parts read them.
struct SettingsFields {
    bool OnTop = true;
    bool UseSkin = true;
    bool ShowPlayList = false;
    int32_t PlayListWidth = 230;
    int32_t Volume = 100;  // percent, 0..100
    bool Muted = false;
    bool ShowTranscript = false;
    int32_t TranscriptWidth = 250;
};

class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;

    virtual SettingsFields& Fields() = 0;

    virtual WindowBounds Bounds() const = 0;  // outer frame, screen pixels
    virtual void SetLeft(int32_t left) = 0;
    virtual void SetTop(int32_t top) = 0;
    virtual void SetWidth(int32_t width) = 0;
    virtual void SetHeight(int32_t height) = 0;
    virtual WindowBounds WorkArea() const = 0;  // primary screen without the task bar

    virtual bool AutoloadChecked() const = 0;
    virtual void SetAutoloadChecked(bool checked) = 0;
    virtual void SetShowPlayListChecked(bool checked) = 0;
    virtual void SetPlayListPanelWidth(int32_t width) = 0;

    virtual std::vector<std::string> PlayListCaptions() const = 0;
    virtual void AppendPlayListEntry(const std::string& caption) = 0;  // no mark

    virtual FontSpec OverlayFont() const = 0;  // the subtitle font, as the surfaces show it
    virtual void SetOverlayFont(const FontSpec& font) = 0;
};

// Full name of set.ini in `programFolder`.
std::string SettingsFileName(const std::string& programFolder);

// Reads every setting into the window, the subtitle font included, ending a stale earlier
// instance on the way.
void LoadSettings(SettingsWindow& window, const std::string& programFolder, InstanceControl& instances);
// Writes every setting, replacing the file once; throws RuntimeError("Unable to write to
// <file>") when that fails, and the file is then left as it was. With `makeFolder` a missing
// folder is made first (an installed copy's settings folder).
void SaveSettings(SettingsWindow& window, const std::string& programFolder, int64_t processId, bool makeFolder = false);

}  // namespace tessaview
