// The one table of set.ini's sections, keys, types and defaults that loading and saving share.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaview {

class ProfileFile;

enum class SettingType { Boolean, Integer, Text };

struct SettingKey {
    std::string_view Section;  // as the writer spells it; reading ignores letter case
    std::string_view Key;
    SettingType Type = SettingType::Integer;
    int32_t Default = 0;  // integers; booleans as 1 or 0
    std::string_view TextDefault = {};
};

// Every fixed key, in the order SaveSettings writes them. The numbered play list entries
// follow PlayListCount in the same section.
enum class Setting {
    OnTop,
    LastProcess,
    FontName,
    FontSize,
    FontCharSet,
    FontColor,
    Autoload,
    PlayListCount,
    UseSkin,
    ShowPlayList,
    PlayListWidth,
    Left,
    Top,
    Height,
    Width,
    Volume,
    Mute,
    ShowTranscript,
    TranscriptWidth,
};

inline constexpr std::array<SettingKey, 19> kSettingKeys = {{
    {"Setting", "OnTop", SettingType::Boolean, 1},
    {"LastProcessHandle", "Handle", SettingType::Integer, -1},
    {"Font", "Name", SettingType::Text, 0, "MS Sans Serif"},
    {"Font", "Size", SettingType::Integer, 12},
    {"Font", "CharSet", SettingType::Integer, 1},
    {"Font", "Color", SettingType::Integer, 16777215},
    {"Autoload", "Enable", SettingType::Boolean, 1},
    {"PlayList", "Count", SettingType::Integer, 0},
    {"UseSkin", "UseSkin", SettingType::Boolean, 1},
    {"useskin", "showplaylist", SettingType::Boolean, 0},
    {"useskin", "playlistwidth", SettingType::Integer, 230},
    {"Pos", "Left", SettingType::Integer, -1},
    {"Pos", "top", SettingType::Integer, -1},
    {"Pos", "Height", SettingType::Integer, -1},
    {"Pos", "Width", SettingType::Integer, -1},
    // Ours, after the program's own: the sound level (0..100) and muting, kept across runs.
    {"Sound", "Volume", SettingType::Integer, 100},
    {"Sound", "Mute", SettingType::Boolean, 0},
    // The transcript beside the picture: shown or not, and its width in pixels.
    {"Transcript", "Show", SettingType::Boolean, 0},
    {"Transcript", "Width", SettingType::Integer, 250},
}};

constexpr const SettingKey& KeyOf(Setting setting) { return kSettingKeys[static_cast<std::size_t>(setting)]; }

// Reads an integer or boolean key (a boolean as 1 or 0) with the table's default.
int32_t ReadSetting(const ProfileFile& file, Setting setting);
// Reads a text key with the table's default.
std::string ReadSettingText(const ProfileFile& file, Setting setting);

}  // namespace tessaview
