// The subtitle loader on one file's bytes: marks, conversion, detection and every reader; then the
// lookup, whose search over a table laid out as a tree must find what a plain search finds.
#include "fuzz_support.h"
#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"

namespace tessaview {
namespace {

// The cue due at `position` by the plain binary search over converted bounds.
std::string plainSearch(const SubtitleCore& core, int32_t position) {
    const TSubList& list = core.SubList;
    if (list.empty()) return {};
    const auto covers = [&](size_t i) {
        return core.SpanToPosition(list[i]->StartTime) <= position && core.SpanToPosition(list[i]->EndTime) >= position;
    };
    size_t lo = 0;
    size_t hi = list.size() - 1;
    for (;;) {
        const size_t mid = (lo + hi) / 2;
        if (covers(mid)) return list[mid]->Text;
        if (hi - lo <= 1) return hi != lo && covers(hi) ? list[hi]->Text : std::string();
        (core.SpanToPosition(list[mid]->StartTime) > position ? hi : lo) = mid;
    }
}

}  // namespace
}  // namespace tessaview

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaview;
    static const char* const codePages[] = {"UTF-8", "CP1252", "CP1251", "CP932", "CP1255"};
    QuietSubtitleHost host;
    SubtitleCore core(host, fuzz::Folder());
    core.SetAnsiCodePage(codePages[size % std::size(codePages)]);
    core.EngineFrameRate = 25.0;
    // The bytes in memory, as a file of that name would hold them; only a conversion writes tmpsub.
    const std::string name = fuzz::Folder() + (size % 2 ? "/input.srt" : "/input.txt");
    try {
        core.LoadSubtitleText(name, {reinterpret_cast<const char*>(data), size});
    } catch (const RuntimeError&) {
        return 0;
    }
    for (int tag : {0, 3}) {
        core.n005Click(tag);
        for (const auto& cue : core.SubList) {
            for (int32_t time : {cue->StartTime, cue->EndTime}) {
                const int32_t position = core.SpanToPosition(time);
                core.ClearLookupCache();
                FUZZ_CHECK(core.FindSubtitleText(position) == plainSearch(core, position));
            }
            if (&cue - core.SubList.data() > 64) break;
        }
    }
    return 0;
}
