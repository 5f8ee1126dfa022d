// The VobSub library: a pair indexed at load, the due picture decoded once, copies handed out.
#include "external/ffmpeg/ffmpeg_vobsub.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "external/ffmpeg/language_names.h"
#include "external/ffmpeg/picture_decoder.h"
#include "external/ffmpeg/vobsub_pair_reader.h"

namespace tessaview {
namespace {

constexpr const char* NotDetected = "(Not detected)";

class FfmpegVobSubLibrary final : public FfmpegVobSub {
public:
    void LoadVobSubFile(const std::string& path) override {
        pair_.reset();
        decoder_.reset();
        decoded_.reset();
        due_ = -1;
        // Numbers go on from the previous pair's, so a picture of the new pair never answers
        // with the number of a picture that the caller may still have drawn.
        numberBase_ = nextBase(numberBase_, pictureTotal_);
        pictureTotal_ = 0;
        languageFirst_.clear();

        pair_ = readVobSubPair(path);
        if (!pair_) {
            currentLang_ = 0;
            return;
        }
        decoder_.emplace(pair_->decoderHeader);
        for (const IndexedLanguage& language : pair_->languages) {
            languageFirst_.push_back(pictureTotal_);
            pictureTotal_ += int64_t(language.pictures.size());
        }
        currentLang_ = pair_->defaultLanguage;
    }

    int32_t GetLangNum() override { return pair_ ? int32_t(pair_->languages.size()) - 1 : -1; }

    void GetLangName(int32_t index, char* name) override {
        const IndexedLanguage* language = languageAt(index);
        copyZeroTerminated(language != nullptr ? languageName(language->code) : NotDetected, name,
                           size_t(VobSubLangNameSize));
    }

    void SetCurrentLang(int32_t index) override {
        currentLang_ = index;
        due_ = -1;
    }

    bool GetFrame(int32_t ms) override {
        due_ = -1;
        const IndexedLanguage* language = languageAt(currentLang_);
        if (language == nullptr) {
            return false;
        }
        const int64_t position = findDuePicture(language->pictures, ms);
        if (position < 0) {
            return false;
        }
        if (!decoded_ || decoded_->lang != currentLang_ || decoded_->position != position) {
            const IndexedPicture& picture = language->pictures[size_t(position)];
            decoded_ =
                Decoded{currentLang_, position, decoder_->decode(pair_->units.data() + picture.offset, picture.size)};
            ++decodeCount_;
        }
        if (!decoded_->picture) {
            return false;
        }
        due_ = position;
        return true;
    }

    int32_t GetCurrentIndex() override {
        if (due_ < 0) {
            return -1;
        }
        return int32_t(numberBase_ + languageFirst_[size_t(currentLang_)] + due_);
    }

    void GetDataPointer(uint8_t** data, VobSubRect* rect) override {
        handedOut_.clear();
        const DecodedPicture* picture = due_ >= 0 ? &*decoded_->picture : nullptr;
        if (picture != nullptr) {
            handedOut_ = picture->bgra;
        }
        if (data != nullptr) {
            *data = picture != nullptr ? handedOut_.data() : nullptr;
        }
        if (rect != nullptr) {
            *rect = picture != nullptr ? picture->rect : VobSubRect{};
        }
    }

    std::vector<VobSubPictureTime> PictureTimes() override {
        std::vector<VobSubPictureTime> times;
        const IndexedLanguage* language = languageAt(currentLang_);
        if (language == nullptr) {
            return times;
        }
        const auto clamp = [](int64_t ms) {
            return int32_t(std::clamp<int64_t>(ms, 0, std::numeric_limits<int32_t>::max()));
        };
        times.reserve(language->pictures.size());
        for (const IndexedPicture& picture : language->pictures) {
            times.push_back({clamp(picture.startMs), clamp(picture.endMs)});
        }
        return times;
    }

    int32_t pictureCount(int32_t lang) const override {
        const IndexedLanguage* language = languageAt(lang);
        return language != nullptr ? int32_t(language->pictures.size()) : 0;
    }

    int64_t decodeCount() const override { return decodeCount_; }

private:
    struct Decoded {
        int32_t lang = -1;
        int64_t position = -1;
        std::optional<DecodedPicture> picture;
    };

    // Picture numbers stay within 0..INT32_MAX; they start over at 0 when they would not.
    static int64_t nextBase(int64_t base, int64_t total) {
        const int64_t next = base + total;
        return next > std::numeric_limits<int32_t>::max() / 2 ? 0 : next;
    }

    const IndexedLanguage* languageAt(int32_t index) const {
        if (!pair_ || index < 0 || size_t(index) >= pair_->languages.size()) {
            return nullptr;
        }
        const IndexedLanguage& language = pair_->languages[size_t(index)];
        return language.pictures.empty() ? nullptr : &language;
    }

    std::optional<IndexedPair> pair_;
    std::optional<PictureDecoder> decoder_;
    std::optional<Decoded> decoded_;
    std::vector<int64_t> languageFirst_;
    std::vector<uint8_t> handedOut_;
    int32_t currentLang_ = 0;
    int64_t due_ = -1;
    int64_t numberBase_ = 0;
    int64_t pictureTotal_ = 0;
    int64_t decodeCount_ = 0;
};

}  // namespace

std::unique_ptr<FfmpegVobSub> CreateFfmpegVobSub() { return std::make_unique<FfmpegVobSubLibrary>(); }

}  // namespace tessaview
