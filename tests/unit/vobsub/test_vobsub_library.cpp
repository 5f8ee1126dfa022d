// Tests of the VobSub library on pairs written here with known pictures and on the corpus pairs.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "support/temp_dir.h"
#include "unit/vobsub/vobsub_pair_writer.h"

namespace tessaview {
namespace {

namespace fs = std::filesystem;
using testpair::Picture;

Picture picture(int64_t startMs, std::optional<int64_t> durationMs, int seed = 0, int64_t startDelayMs = 0) {
    return {.startMs = startMs, .startDelayMs = startDelayMs, .durationMs = durationMs, .seed = seed};
}

// English: 1.0-3.0 s, 5.0 s to the next start, 8.0-8.5 s (a unit larger than a pack);
// German: 2.0-4.0 s, 9.0 s for ever.
testpair::Pair twoLanguages() {
    const Picture big{.startMs = 8000, .durationMs = 500, .width = 700, .height = 90, .seed = 2};
    testpair::Pair pair;
    pair.languages.push_back({"en", 0, {picture(1000, 2000), picture(5000, std::nullopt, 1), big}});
    pair.languages.push_back({"de", 1, {picture(2000, 2000, 3), picture(9000, std::nullopt, 1)}});
    return pair;
}

class VobSubLibraryTest : public ::testing::Test {
protected:
    std::string write(const testpair::Pair& pair, const std::string& name = "pair") {
        testpair::writePair(pair, dir_.file(name));
        return dir_.file(name);
    }
    std::string name(int32_t index) {
        char buffer[VobSubLangNameSize];
        std::memset(buffer, 'x', sizeof buffer);
        library_->GetLangName(index, buffer);
        return std::string(buffer, strnlen(buffer, sizeof buffer));
    }
    // The due picture's number, or none.
    std::optional<int32_t> shownAt(int32_t ms) {
        if (!library_->GetFrame(ms)) return std::nullopt;
        return library_->GetCurrentIndex();
    }
    test::TempDir dir_;
    std::unique_ptr<FfmpegVobSub> library_ = CreateFfmpegVobSub();
};

// A pair other people wrote, read from the corpus beside the checkout when it is there.
TEST_F(VobSubLibraryTest, CorpusPairDecodes) {
    const std::string corpus = std::string(TESSAVIEW_CORPUS_DIR) + "/vobsub/";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "the subtitle corpus is not at " << corpus;
    library_->LoadVobSubFile(corpus + "example");
    EXPECT_EQ(name(0), "German");
    EXPECT_FALSE(shownAt(49465));
    const auto first = shownAt(49466);
    const auto second = shownAt(52636);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
}

// The same pair named on a file system that ignores letter case. Its pictures get new numbers:
// a number the caller may still hold for the old pair's picture never comes back.
TEST_F(VobSubLibraryTest, PairInAnyLetterCaseLoadsAgainWithNewPictureNumbers) {
    library_->LoadVobSubFile(write(twoLanguages()));
    const auto old = shownAt(1000);
    fs::rename(dir_.file("pair.idx"), dir_.file("pair.IDX"));
    fs::rename(dir_.file("pair.sub"), dir_.file("pair.Sub"));
    library_->LoadVobSubFile(dir_.file("pair"));
    EXPECT_EQ(library_->pictureCount(1), 2);
    const auto now = shownAt(1000);
    ASSERT_TRUE(old && now);
    EXPECT_NE(*now, *old);
    EXPECT_GE(*now, 0);
}

TEST_F(VobSubLibraryTest, LanguageNamesAndThePictureDueAtChosenTimes) {
    testpair::Pair pair = twoLanguages();
    // French: started 1 s after its packet at 1.0 s, stopped 3 s after it; a stop dated at the
    // start, which lasts to the next picture; then 9.0-9.5 s.
    pair.languages.push_back({"fr", 2, {picture(1000, 3000, 0, 1000), picture(5000, 500, 1, 500), picture(9000, 500)}});
    pair.langidx = 2;
    library_->LoadVobSubFile(write(pair));
    EXPECT_EQ(library_->GetLangNum(), 2);
    const std::map<int32_t, std::string> names{
        {-1, "(Not detected)"}, {0, "English"}, {2, "French"}, {3, "(Not detected)"}};
    for (const auto& [index, expected] : names) EXPECT_EQ(name(index), expected) << index;
    // The index's langidx is the language until one is chosen: French, not English at 1.5 s.
    EXPECT_FALSE(library_->GetFrame(1500));
    EXPECT_TRUE(library_->GetFrame(8999));
    const auto after = [](int64_t ms) { return int32_t(testpair::effectiveDurationMs(ms)); };
    // Language, time, and the picture's position in the language (-1 for none).
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {0, 999, -1},
        {0, 1000, 0},
        {0, 1000 + after(2000) - 1, 0},
        {0, 1000 + after(2000), -1},
        {0, 7999, 1},
        {1, 2000, 0},
        {1, 20000000, 1},
        {5, 2000, -1},
        {2, 1000 + after(1000) - 1, -1},
        {2, 1000 + after(1000), 0},
        {2, 1000 + after(3000) - 1, 0},
        {2, 1000 + after(3000), -1},
        {2, 5000 + after(500), 1},
        {2, 8999, 1},
        {2, 9000, 2},
    };
    // A picture's number is never another picture's.
    std::map<int32_t, std::pair<int32_t, int32_t>> pictureOf;
    for (const auto& [lang, ms, position] : cases) {
        library_->SetCurrentLang(lang);
        const auto shown = shownAt(ms);
        EXPECT_EQ(shown.has_value(), position >= 0) << "language " << lang << " at " << ms;
        if (!shown || position < 0) continue;
        const std::pair want{lang, position};
        EXPECT_EQ(pictureOf.emplace(*shown, want).first->second, want);
    }
}

// The picture joined from its packets, in its place, as blue, green, red and alpha rows; each
// hand-out a fresh copy, which the caller blends in place, and decoded only once.
TEST_F(VobSubLibraryTest, PixelsComeOutInBgraRowsWithTheRectangle) {
    const testpair::Pair pair = twoLanguages();
    const Picture& p = pair.languages[0].pictures[2];
    ASSERT_GT(testpair::subpictureUnit(p).size(), 4096u);
    library_->LoadVobSubFile(write(pair));
    std::vector<uint8_t> want;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const auto pixel = testpair::expectedBgra(pair, p, x, y);
            want.insert(want.end(), pixel.begin(), pixel.end());
        }
    const VobSubRect rect{p.left, p.top, p.left + p.width, p.top + p.height};
    const int64_t decodes = library_->decodeCount();
    for (const int ms : {8100, 8200}) {
        ASSERT_TRUE(library_->GetFrame(ms));
        uint8_t* data = nullptr;
        VobSubRect got{};
        library_->GetDataPointer(&data, &got);
        EXPECT_EQ(std::memcmp(&got, &rect, sizeof rect), 0);
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(std::vector<uint8_t>(data, data + want.size()) == want) << "at " << ms;
        std::memset(data, 0x55, want.size());  // the caller blends in place
    }
    EXPECT_EQ(library_->decodeCount(), decodes + 1);
}

TEST_F(VobSubLibraryTest, MissingOrCutSubLeavesWhatCanBeRead) {
    const std::string path = write(twoLanguages());
    // An entry pointing past the end loses its picture only, not the ones read after it.
    std::string index = test::readFile(path + ".idx");
    index.replace(index.find("00:00:05:000, filepos: 000001000"), 32, "00:00:05:000, filepos: 7fffffff0");
    test::writeFile(path + ".idx", index);
    library_->LoadVobSubFile(path);
    EXPECT_EQ(library_->pictureCount(1), 2);
    // Pictures lie in time order, one 2048-byte pack each: English 1 s, German 2 s, English 5 s.
    fs::resize_file(path + ".sub", 2048 * 2 + 100);
    library_->LoadVobSubFile(path);
    EXPECT_EQ(library_->pictureCount(1), 1);
    EXPECT_TRUE(library_->GetFrame(1000));
    for (const uintmax_t cut : {0, 40, 14 + 9 + 20}) {
        fs::resize_file(path + ".sub", cut);
        library_->LoadVobSubFile(path);
        EXPECT_EQ(library_->GetLangNum(), -1) << "cut at " << cut;
    }
    fs::remove(path + ".sub");
    library_->LoadVobSubFile(path);
    EXPECT_EQ(library_->GetLangNum(), -1);
    EXPECT_EQ(name(0), "(Not detected)");
    EXPECT_FALSE(library_->GetFrame(1000));
}

// FFmpeg's demuxer writes past its stream table from the 33rd stream on, so the outcome is
// checked in a child process: a crash there fails the test, not the whole program.
TEST_F(VobSubLibraryTest, IndexWithMoreStreamsThanTheDemuxerKeepsIsRefusedUnread) {
    testpair::Pair pair;
    pair.languages = {{"en", 0, {picture(1000, 1000)}}, {"de", 1, {picture(2000, 1000, 1)}}};
    for (const int records : {32, 33}) {
        const std::string path = write(pair, "streams" + std::to_string(records));
        std::ofstream idx(path + ".idx", std::ios::app);
        // Each record switches the stream, and each switch opens a stream in the demuxer.
        for (int k = 2; k < records; ++k)
            idx << "id: " << (k % 2 ? "de, index: 1" : "en, index: 0") << "\ntimestamp: 00:00:0" << 1 + k % 2
                << ":000, filepos: 000000" << (k % 2 ? "800" : "000") << "\n";
        idx.close();
        EXPECT_EXIT(
            {
                library_->LoadVobSubFile(path);
                std::_Exit(10 + library_->GetLangNum());
            },
            ::testing::ExitedWithCode(records == 32 ? 11 : 9), "")
            << records << " records";
    }
}

}  // namespace
}  // namespace tessaview
