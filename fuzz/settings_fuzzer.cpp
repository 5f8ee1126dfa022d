// The settings store on one set.ini: read it, write every setting back, read again. The
// second read must give what the first gave. The same bytes as a movie memory: its written
// form must read back to the same memory.
#include "fuzz_support.h"
#include "shell/settings/movie_memory.h"
#include "shell/settings/settings.h"
#include "subtitle/runtime_error.h"
#include "support/fake_instances.h"

#include <tuple>

namespace tessaview {
namespace {

class RecordingWindow : public SettingsWindow {
public:
    SettingsFields fields;
    WindowBounds bounds{5, 6, 640, 480};
    bool autoload = false;
    bool showChecked = false;
    int32_t panelWidth = -1;
    std::vector<std::string> captions;

    auto state() const {
        return std::tie(fields.OnTop, fields.UseSkin, fields.ShowPlayList, fields.PlayListWidth, bounds, autoload,
                        showChecked, panelWidth, captions, font_);
    }

    SettingsFields& Fields() override { return fields; }
    WindowBounds Bounds() const override { return bounds; }
    void SetLeft(int32_t v) override { bounds.Left = v; }
    void SetTop(int32_t v) override { bounds.Top = v; }
    void SetWidth(int32_t v) override { bounds.Width = v; }
    void SetHeight(int32_t v) override { bounds.Height = v; }
    WindowBounds WorkArea() const override { return {0, 0, 1920, 1040}; }
    bool AutoloadChecked() const override { return autoload; }
    void SetAutoloadChecked(bool v) override { autoload = v; }
    void SetShowPlayListChecked(bool v) override { showChecked = v; }
    void SetPlayListPanelWidth(int32_t v) override { panelWidth = v; }
    std::vector<std::string> PlayListCaptions() const override { return captions; }
    void AppendPlayListEntry(const std::string& caption) override {
        // A stored count of thousands is allowed; recording them all only slows the fuzzing.
        if (captions.size() > MaxCaptions) return;
        captions.push_back(caption);
    }
    static constexpr size_t MaxCaptions = 64;
    FontSpec OverlayFont() const override { return font_; }
    void SetOverlayFont(const FontSpec& font) override { font_ = font; }

private:
    FontSpec font_;
};

}  // namespace
}  // namespace tessaview

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaview;
    // A play-list count near the limit makes each run write thousands of keys one by one.
    if (size > 4096) return 0;
    MovieMemory memory;
    if (memory.Parse({reinterpret_cast<const char*>(data), size})) {
        const std::string text = memory.Text();
        MovieMemory again;
        FUZZ_CHECK(again.Parse(text) && again.Text() == text);
    }
    const std::string& folder = fuzz::Folder();
    fuzz::WriteFile("set.ini", {reinterpret_cast<const char*>(data), size});
    test::FakeInstances instances;  // never ends a process: the number is only fuzzed text
    RecordingWindow first;
    LoadSettings(first, folder, instances);
    if (first.captions.size() > RecordingWindow::MaxCaptions) return 0;
    try {
        SaveSettings(first, folder, 1234);
    } catch (const RuntimeError&) {
        __builtin_trap();  // the folder is ours and writable
    }
    RecordingWindow second;
    LoadSettings(second, folder, instances);
    FUZZ_CHECK(first.state() == second.state());
    return 0;
}
