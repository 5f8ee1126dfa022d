// FakeVobSub: scripted pictures looked up by time.
#include "support/fake_vobsub.h"

#include <cstring>

namespace tessaview {

void FakeVobSub::LoadVobSubFile(const std::string& path)
{
    calls.push_back("LoadVobSubFile " + path);
    loadedPath = path;
    currentLanguage = 0;
    due_ = -1;
}

int32_t FakeVobSub::GetLangNum()
{
    calls.push_back("GetLangNum");
    return static_cast<int32_t>(languages.size()) - 1;
}

void FakeVobSub::GetLangName(int32_t index, char* name)
{
    calls.push_back("GetLangName " + std::to_string(index));
    const std::string text = index >= 0 && static_cast<size_t>(index) < languages.size()
                                 ? languages[static_cast<size_t>(index)].substr(0, VobSubLangNameSize - 1)
                                 : "";
    std::memcpy(name, text.c_str(), text.size() + 1);
}

void FakeVobSub::SetCurrentLang(int32_t index)
{
    calls.push_back("SetCurrentLang " + std::to_string(index));
    currentLanguage = index;
}

bool FakeVobSub::GetFrame(int32_t ms)
{
    calls.push_back("GetFrame " + std::to_string(ms));
    const auto due = std::ranges::find_if(pictures, [&](const auto& p) { return ms >= p.startMs && ms < p.endMs; });
    due_ = loadedPath.empty() || due == pictures.end() ? -1 : static_cast<int>(due - pictures.begin());
    return due_ >= 0;
}

int32_t FakeVobSub::GetCurrentIndex()
{
    calls.push_back("GetCurrentIndex");
    return due_ >= 0 ? pictures[static_cast<size_t>(due_)].index : -1;
}

void FakeVobSub::GetDataPointer(uint8_t** data, VobSubRect* rect)
{
    calls.push_back("GetDataPointer");
    const FakeVobSubPicture none{0, 0, 0, 1, 1, {}};
    const FakeVobSubPicture& p = due_ >= 0 ? pictures[static_cast<size_t>(due_)] : none;
    // A fresh copy each time: the caller rewrites the pixels in place.
    handedOut_ = p.bgra;
    handedOut_.resize(static_cast<size_t>(std::max(p.width, 0)) * static_cast<size_t>(std::max(p.height, 0)) * 4);
    *data = handedOut_.data();
    *rect = due_ >= 0 ? VobSubRect{0, 0, p.width, p.height} : VobSubRect{};
}

std::vector<VobSubPictureTime> FakeVobSub::PictureTimes()
{
    std::vector<VobSubPictureTime> times;
    if (!loadedPath.empty())
        for (const FakeVobSubPicture& p : pictures)
            times.push_back({p.startMs, p.endMs});
    std::ranges::stable_sort(times, {}, &VobSubPictureTime::startMs);
    return times;
}

}  // namespace tessaview
