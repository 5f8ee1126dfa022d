// Typed reading of set.ini's keys through the one table.
#include "shell/settings/settings_keys.h"

#include "shell/settings/profile_file.h"

namespace tessaview {

int32_t ReadSetting(const ProfileFile& file, Setting setting) {
    const SettingKey& key = KeyOf(setting);
    if (key.Type == SettingType::Boolean) return file.ReadBoolean(key.Section, key.Key, key.Default != 0) ? 1 : 0;
    return file.ReadInteger(key.Section, key.Key, key.Default);
}

std::string ReadSettingText(const ProfileFile& file, Setting setting) {
    const SettingKey& key = KeyOf(setting);
    return file.ReadString(key.Section, key.Key, key.TextDefault);
}

}  // namespace tessaview
