// Subtitle names beyond the four fixed ones.
#include "playback/subtitle_search.h"

#include "subtitle/file_case.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace tessaview {

namespace {

// Three-letter codes that people write instead of the two-letter ones.
bool isLanguage(std::string_view tag, std::string_view language) {
    static const char* const longCodes[] = {
        "en eng", "fr fre fra", "de ger deu", "es spa",     "it ita", "pt por",     "nl dut nld",
        "ru rus", "pl pol",     "cs cze ces", "sk slo slk", "hu hun", "ro rum ron", "el gre ell",
        "tr tur", "ar ara",     "he heb",     "zh chi zho", "ja jpn", "ko kor",     "sv swe",
        "da dan", "fi fin",     "no nor",     "uk ukr",     "bg bul", "hr hrv",     "sr srp",
        "sl slv", "lt lit",     "lv lav",     "et est",     "vi vie", "th tha",     "fa per fas"};
    const std::string t = AsciiLower(tag);
    if (language.empty()) return false;
    if (t == language || t.rfind(std::string(language) + "-", 0) == 0 || t.rfind(std::string(language) + "_", 0) == 0)
        return true;
    for (std::string_view codes : longCodes) {
        if (codes.substr(0, 2) != language) continue;
        for (size_t at = 3; at + 3 <= codes.size(); at += 4)
            if (codes.substr(at, 3) == t) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> ExtraSubtitleNames(const std::string& movie, const std::vector<std::string>& namesBeside,
                                            std::string_view language) {
    static const std::string_view extensions[] = {"srt", "ssa", "ass", "sub", "idx"};
    const std::string base = WithoutExtension(movie);
    const size_t slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
    const std::string stem = base.substr(folder.size()) + ".";

    std::vector<std::string> result;
    using Key = std::tuple<bool, size_t, std::string>;  // not the language, extension, tag
    std::vector<std::pair<Key, std::string>> tagged;
    for (const std::string& name : namesBeside) {
        if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0) continue;
        const std::string_view rest = std::string_view(name).substr(stem.size());
        const size_t dot = rest.find('.');
        if (dot == std::string_view::npos) {
            if (AsciiLower(rest) == "ass") result.push_back(folder + name);
            continue;
        }
        const std::string_view tag = rest.substr(0, dot);
        const std::string ext = AsciiLower(rest.substr(dot + 1));
        const auto known = std::find(std::begin(extensions), std::end(extensions), ext);
        if (tag.empty() || known == std::end(extensions)) continue;
        const size_t order = static_cast<size_t>(known - std::begin(extensions));
        tagged.push_back({Key{!isLanguage(tag, language), order, std::string(tag)}, folder + name});
    }
    std::sort(result.begin(), result.end());  // "film.ass" before "film.ASS"
    std::sort(tagged.begin(), tagged.end());
    for (auto& [key, path] : tagged) result.push_back(std::move(path));
    return result;
}

std::vector<std::string> NamesBeside(const std::string& path) {
    std::vector<std::string> names;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error))
        if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
    return names;
}

std::string TrackFilePath(const std::string& tmpSubPath, const std::string& extension) {
    const size_t slash = tmpSubPath.find_last_of('/');
    return (slash == std::string::npos ? std::string() : tmpSubPath.substr(0, slash + 1)) + "tmptrack" + extension;
}

}  // namespace tessaview
