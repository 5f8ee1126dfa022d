// LoadSettings, SaveSettings and the overlay's font read, driven by the table of keys.
#include "shell/settings/settings.h"

#include "platform/process/instance_control.h"
#include "shell/settings/file_locations.h"
#include "shell/settings/profile_file.h"
#include "shell/settings/settings_keys.h"

#include <algorithm>
#include <filesystem>

namespace tessaview {

namespace {

// A stored count is only a number in a text file; a damaged one must not make the start-up
// append entries for minutes.
constexpr int32_t kMaxPlayListEntries = 100000;

constexpr int32_t kDefaultPlayListWidth = 230;
constexpr int32_t kMaxVolume = 100;

void writeSetting(ProfileFile& file, Setting setting, int64_t value) {
    const SettingKey& key = KeyOf(setting);
    if (key.Type == SettingType::Boolean)
        file.WriteBoolean(key.Section, key.Key, value != 0);
    else
        file.WriteInteger(key.Section, key.Key, value);
}

}  // namespace

std::string SettingsFileName(const std::string& programFolder) {
    std::filesystem::path folder(programFolder.empty() ? std::string(".") : programFolder);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    if (!error) folder = absolute;
    return (folder / "set.ini").lexically_normal().string();
}

void LoadSettings(SettingsWindow& window, const std::string& programFolder, InstanceControl& instances) {
    const ProfileFile file(SettingsFileName(programFolder));
    file.RemoveStaleTemporaries();
    SettingsFields& fields = window.Fields();

    fields.OnTop = ReadSetting(file, Setting::OnTop) != 0;

    if (instances.MainWindowExists()) {
        const int32_t lastProcess = ReadSetting(file, Setting::LastProcess);
        if (lastProcess != -1) instances.TerminateStaleInstance(lastProcess, file.ModifiedTime());
    }

    window.SetAutoloadChecked(ReadSetting(file, Setting::Autoload) != 0);

    const int32_t count = std::min(ReadSetting(file, Setting::PlayListCount), kMaxPlayListEntries);
    const std::string_view listSection = KeyOf(Setting::PlayListCount).Section;
    for (int32_t i = 0; i < count; ++i) window.AppendPlayListEntry(file.ReadString(listSection, std::to_string(i), ""));

    fields.UseSkin = ReadSetting(file, Setting::UseSkin) != 0;
    fields.ShowPlayList = ReadSetting(file, Setting::ShowPlayList) != 0;
    fields.PlayListWidth = ReadSetting(file, Setting::PlayListWidth);
    if (fields.PlayListWidth <= 0) fields.PlayListWidth = kDefaultPlayListWidth;

    // A level edited out of range is as good as no level.
    fields.Volume = ReadSetting(file, Setting::Volume);
    if (fields.Volume < 0 || fields.Volume > kMaxVolume) fields.Volume = KeyOf(Setting::Volume).Default;
    fields.Muted = ReadSetting(file, Setting::Mute) != 0;
    fields.ShowTranscript = ReadSetting(file, Setting::ShowTranscript) != 0;
    fields.TranscriptWidth = ReadSetting(file, Setting::TranscriptWidth);
    if (fields.TranscriptWidth <= 0) fields.TranscriptWidth = KeyOf(Setting::TranscriptWidth).Default;

    window.SetShowPlayListChecked(fields.ShowPlayList);
    window.SetPlayListPanelWidth(fields.ShowPlayList ? fields.PlayListWidth : 0);

    const int32_t left = ReadSetting(file, Setting::Left);
    if (left != -1) {
        window.SetLeft(left);
    } else {
        // Centred with the design size: the stored width and height are applied later.
        const WindowBounds area = window.WorkArea();
        const WindowBounds bounds = window.Bounds();
        window.SetLeft(area.Left + (area.Width - bounds.Width) / 2);
        window.SetTop(area.Top + (area.Height - bounds.Height) / 2);
    }
    if (const int32_t top = ReadSetting(file, Setting::Top); top != -1) window.SetTop(top);
    if (const int32_t width = ReadSetting(file, Setting::Width); width != -1) window.SetWidth(width);
    if (const int32_t height = ReadSetting(file, Setting::Height); height != -1) window.SetHeight(height);

    FontSpec font;
    font.Name = ReadSettingText(file, Setting::FontName);
    font.Size = ReadSetting(file, Setting::FontSize);
    // The character set is one byte; a larger stored number keeps its low 8 bits.
    font.CharSet = ReadSetting(file, Setting::FontCharSet) & 0xFF;
    font.Color = ReadSetting(file, Setting::FontColor);
    window.SetOverlayFont(font);
}

void SaveSettings(SettingsWindow& window, const std::string& programFolder, int64_t processId, bool makeFolder) {
    if (makeFolder) MakePrivateFolders(programFolder);
    ProfileFile file(SettingsFileName(programFolder));
    const SettingsFields& fields = window.Fields();
    const FontSpec font = window.OverlayFont();
    const WindowBounds bounds = window.Bounds();

    // Every key is set in memory and the file replaced once: with one replacement per key
    // the time of an exit grew with the square of the play list.
    file.BeginWrites();
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        const auto setting = static_cast<Setting>(i);
        const SettingKey& key = KeyOf(setting);
        switch (setting) {
            case Setting::OnTop:
                writeSetting(file, setting, fields.OnTop);
                break;
            case Setting::LastProcess:
                writeSetting(file, setting, processId);
                break;
            case Setting::FontName:
                file.WriteString(key.Section, key.Key, font.Name);
                break;
            case Setting::FontSize:
                writeSetting(file, setting, font.Size);
                break;
            case Setting::FontCharSet:
                writeSetting(file, setting, font.CharSet & 0xFF);
                break;
            case Setting::FontColor:
                writeSetting(file, setting, font.Color);
                break;
            case Setting::Autoload:
                writeSetting(file, setting, window.AutoloadChecked());
                break;
            case Setting::PlayListCount: {
                // Keys numbered from the count up, left by a longer list, stay: nothing is deleted.
                const std::vector<std::string> captions = window.PlayListCaptions();
                writeSetting(file, setting, static_cast<int64_t>(captions.size()));
                for (std::size_t entry = 0; entry < captions.size(); ++entry)
                    file.WriteString(key.Section, std::to_string(entry), captions[entry]);
                break;
            }
            case Setting::UseSkin:
                writeSetting(file, setting, fields.UseSkin);
                break;
            case Setting::ShowPlayList:
                writeSetting(file, setting, fields.ShowPlayList);
                break;
            case Setting::PlayListWidth:
                writeSetting(file, setting, fields.PlayListWidth);
                break;
            case Setting::Left:
                writeSetting(file, setting, bounds.Left);
                break;
            case Setting::Top:
                writeSetting(file, setting, bounds.Top);
                break;
            case Setting::Height:
                writeSetting(file, setting, bounds.Height);
                break;
            case Setting::Width:
                writeSetting(file, setting, bounds.Width);
                break;
            case Setting::Volume:
                writeSetting(file, setting, fields.Volume);
                break;
            case Setting::Mute:
                writeSetting(file, setting, fields.Muted);
                break;
            case Setting::ShowTranscript:
                writeSetting(file, setting, fields.ShowTranscript);
                break;
            case Setting::TranscriptWidth:
                writeSetting(file, setting, fields.TranscriptWidth);
                break;
        }
    }
    file.CommitWrites();
}

}  // namespace tessaview
