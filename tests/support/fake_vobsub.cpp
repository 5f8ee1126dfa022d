// FakeVobSub: scripted pictures looked up by time and language.
#include "support/fake_vobsub.h"

#include <algorithm>
#include <cstring>

namespace tessaview {

int FakeVobSub::CallCount(const std::string& operation) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call == operation || call.rfind(operation + " ", 0) == 0;
    }));
}

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
    std::string text;
    if (index >= 0 && static_cast<size_t>(index) < languages.size())
        text = languages[static_cast<size_t>(index)];
    text.resize(std::min<size_t>(text.size(), VobSubLangNameSize - 1));
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
    due_ = -1;
    if (loadedPath.empty())
        return false;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const FakeVobSubPicture& p = pictures[i];
        if ((p.language == -1 || p.language == currentLanguage) && ms >= p.startMs && ms < p.endMs) {
            due_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

int32_t FakeVobSub::GetCurrentIndex()
{
    calls.push_back("GetCurrentIndex");
    return due_ >= 0 ? pictures[static_cast<size_t>(due_)].index : -1;
}

void FakeVobSub::GetDataPointer(uint8_t** data, VobSubRect* rect)
{
    calls.push_back("GetDataPointer");
    *rect = VobSubRect{};
    if (due_ < 0) {
        handedOut_.assign(4, 0);
        *data = handedOut_.data();
        return;
    }
    const FakeVobSubPicture& p = pictures[static_cast<size_t>(due_)];
    // A fresh copy each time: the caller rewrites the pixels in place.
    handedOut_ = p.bgra;
    handedOut_.resize(static_cast<size_t>(std::max(p.width, 0)) * static_cast<size_t>(std::max(p.height, 0)) * 4);
    *data = handedOut_.data();
    rect->right = p.width;
    rect->bottom = p.height;
}

std::vector<VobSubPictureTime> FakeVobSub::PictureTimes()
{
    std::vector<VobSubPictureTime> times;
    if (loadedPath.empty())
        return times;
    for (const FakeVobSubPicture& p : pictures)
        if (p.language == -1 || p.language == currentLanguage)
            times.push_back({p.startMs, p.endMs});
    std::stable_sort(times.begin(), times.end(),
                     [](const VobSubPictureTime& a, const VobSubPictureTime& b) { return a.startMs < b.startMs; });
    return times;
}

}  // namespace tessaview
