// A settings window that only records what is done to it.
#pragma once

#include "shell/settings/settings.h"
#include "support/fake_instances.h"

namespace tessaview::test {

class FakeWindow : public SettingsWindow {
public:
    SettingsFields fields;
    WindowBounds bounds{5, 6, 640, 480};
    WindowBounds workArea{10, 20, 1001, 701};  // off the origin, odd-sized: centred at 190, 130
    bool autoload = false;
    std::vector<std::string> captions;
    FontSpec font;
    std::vector<std::string> calls;

    SettingsFields& Fields() override { return fields; }
    WindowBounds Bounds() const override { return bounds; }
    void SetLeft(int32_t v) override { log("Left", bounds.Left = v); }
    void SetTop(int32_t v) override { log("Top", bounds.Top = v); }
    void SetWidth(int32_t v) override { log("Width", bounds.Width = v); }
    void SetHeight(int32_t v) override { log("Height", bounds.Height = v); }
    WindowBounds WorkArea() const override { return workArea; }
    bool AutoloadChecked() const override { return autoload; }
    void SetAutoloadChecked(bool v) override { log("Autoload", autoload = v); }
    void SetShowPlayListChecked(bool v) override { log("ShowChecked", v); }
    void SetPlayListPanelWidth(int32_t v) override { log("PanelWidth", v); }
    std::vector<std::string> PlayListCaptions() const override { return captions; }
    void AppendPlayListEntry(const std::string& caption) override {
        captions.push_back(caption);
        calls.push_back("Entry " + caption);
    }
    FontSpec OverlayFont() const override { return font; }
    void SetOverlayFont(const FontSpec& f) override { font = f; }

private:
    void log(const char* what, int64_t value) { calls.push_back(std::string(what) + " " + std::to_string(value)); }
};

}  // namespace tessaview::test
