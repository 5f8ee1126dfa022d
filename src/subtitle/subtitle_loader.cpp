// LoadSubtitle: VobSub pairs to the library, text files through mark test, conversion,
// detection by the first non-empty line, and one reader, all on the text read once.
#include "subtitle/subtitle_loader.h"

#include "osdep/files.h"
#include "subtitle/file_case.h"
#include "subtitle/readers.h"
#include "subtitle/runtime_error.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_rules.h"

#include <cctype>

namespace tessaview {

namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

struct DetectionRule {
    bool (*matches)(std::string_view line);
    ReaderEntry reader;
};

// In order: the first rule that matches the first non-empty line picks the reader.
const DetectionRule detectionTable[] = {
    {[](std::string_view l) { return l[0] == '{'; }, {"ReadBraceFrames", ReadBraceFrames}},
    {[](std::string_view l) { return l == "[Script Info]" || l == "Title:" || startsWith(l, "# VobSub"); },
     {"ReadSsa", ReadSsa}},
    {[](std::string_view l) { return l == "[TITLE]"; }, {"ReadStartScript", ReadStartScript}},
    {[](std::string_view l) { return l == "[INFORMATION]"; }, {"ReadSubViewer", ReadSubViewer}},
    {[](std::string_view l) { return startsWith(l, "00:") || startsWith(l, "0:"); },
     {"ReadTimeColonText", ReadTimeColonText}},
    {[](std::string_view l) { return IsDigitLine(l); }, {"ReadSubRip", ReadSubRip}},
    {[](std::string_view l) { return l[0] == '['; }, {"ReadBracketFrames", ReadBracketFrames}},
};

// Removes tmpsub once the load that converted into it is over, however it ended; a load of
// tmpsub itself leaves it.
class ConvertedFileRemover {
public:
    ConvertedFileRemover(const std::string& fileName, std::string tmpSub)
        : original_(fileName), tmpSub_(std::move(tmpSub)) {}
    ~ConvertedFileRemover() {
        if (written_ && original_ != tmpSub_) RemoveName(tmpSub_);
    }
    ConvertedFileRemover(const ConvertedFileRemover&) = delete;
    ConvertedFileRemover& operator=(const ConvertedFileRemover&) = delete;

    // tmpsub holds the converted text.
    const std::string& Written() {
        written_ = true;
        return tmpSub_;
    }

private:
    const std::string original_;
    const std::string tmpSub_;
    bool written_ = false;
};

// The name shown under a message: the file's own name, without its folders.
std::string shownName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withLine(const std::string& path, int line) {
    return line > 0 ? shownName(path) + ", line " + std::to_string(line) : shownName(path);
}

bool startsWithNoCase(std::string_view s, std::string_view lowerPrefix) {
    if (s.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i)
        if (static_cast<char>(std::tolower(static_cast<unsigned char>(s[i]))) != lowerPrefix[i]) return false;
    return true;
}

// While the player loads it has no facts of its own to gather; the messages need them.
class LoadFacts {
public:
    explicit LoadFacts(ReadFacts*& facts) : facts_(facts), own_(facts == nullptr) {
        if (own_) facts_ = &local_;
    }
    ~LoadFacts() {
        if (own_) facts_ = nullptr;
    }
    LoadFacts(const LoadFacts&) = delete;
    LoadFacts& operator=(const LoadFacts&) = delete;

private:
    ReadFacts*& facts_;
    bool own_;
    ReadFacts local_;
};

}  // namespace

std::string UnknownFormatReason(std::string_view firstLine) {
    if (firstLine.empty()) return "no line with text: nothing to read";
    if (firstLine.find('\0') != std::string_view::npos)
        return "the first line holds zero bytes: Unicode text without its byte-order mark?";
    if (startsWithNoCase(firstLine, "<!doctype html") || startsWithNoCase(firstLine, "<html"))
        return "this is an HTML page, not a subtitle file: a download may have saved the page instead";
    std::string shown(firstLine.substr(0, 40));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return "the first non-empty line \"" + shown + (firstLine.size() > 40 ? "...\"" : "\"") + " begins no known format";
}

void SubtitleCore::ReportLoadError(std::string_view text) {
    int line = 0;
    std::string reason;
    if (Facts)
        for (auto note = Facts->notes.rbegin(); note != Facts->notes.rend() && reason.empty(); ++note) {
            if (note->kind != "stopped") continue;
            line = note->line;
            reason = note->detail;
            // The note starts with the message it explains: the box already shows that.
            const std::string quoted = "\"" + std::string(text) + "\": ";
            if (reason.compare(0, quoted.size(), quoted) == 0) reason.erase(0, quoted.size());
        }
    host_.LoadError(std::string(text), withLine(loadingName_, line) + (reason.empty() ? "" : ": " + reason));
}

const ReaderEntry* DetectReader(std::string_view firstLine) {
    if (firstLine.empty()) return nullptr;
    for (const DetectionRule& rule : detectionTable)
        if (rule.matches(firstLine)) return &rule.reader;
    return nullptr;
}

std::string SubtitleCore::TmpSubPath() const {
    std::string path = programFolder_;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "tmpsub";
}

void SubtitleCore::LoadSubtitle(const std::string& FileName) {
    const std::string base = WithoutExtension(FileName);
    lastReader_.clear();
    const bool pairName =
        HasExtension(FileName, ".idx") || HasExtension(FileName, ".ifo") || HasExtension(FileName, ".sub");
    if (pairName && !FindWithExtension(base, ".idx").empty() && !FindWithExtension(base, ".sub").empty()) {
        SubIsVobSub = true;
        lastReader_ = "VobSub";
        host_.LoadVobSubFile(base);
        host_.SelectVobSubLanguage();
        SubFileName = FileName;
        n005Click(0);
        return;
    }
    loadText(FileName, nullptr);
}

void SubtitleCore::LoadSubtitleText(const std::string& FileName, std::string_view Bytes) {
    lastReader_.clear();
    loadText(FileName, &Bytes);
}

void SubtitleCore::loadText(const std::string& FileName, const std::string_view* bytes) {
    const bool previousVobSub = SubIsVobSub;
    SubIsVobSub = false;
    bool readerRan = false;
    try {
        readerRan = LoadTextSubtitle(FileName, bytes);
    } catch (...) {
        if (lastReader_.empty()) SubIsVobSub = previousVobSub;
        throw;
    }
    if (!readerRan) {
        // Unknown format: the previous subtitle stays in force, file name included, so
        // Change Subtitle Language still reaches a VobSub pair that is still shown.
        SubIsVobSub = previousVobSub;
        n005Click(0);
        return;
    }
    SubFileName = FileName;
    n005Click(0);
}

bool SubtitleCore::LoadTextSubtitle(const std::string& FileName, const std::string_view* given) {
    const bool previousTimeBased = SubIsTimeBased;
    lastReader_.clear();
    loadingName_ = FileName;
    const LoadFacts facts(Facts);
    ConvertedFileRemover removeTmpSub(FileName, TmpSubPath());
    try {
        // The one read of the file: detection and the reader work on these bytes, or on their
        // conversion.
        const std::string bytes = given ? std::string() : ReadWholeFile(FileName);
        std::string_view view = given ? *given : bytes;
        TextEncoding encoding = DetectTextEncoding(view);
        std::string cueCodePage = encoding.name;
        std::string readPath = FileName;
        std::string converted;
        // UTF-16 with or without its mark, and UTF-8 with its mark, go through tmpsub.
        const size_t mark = startsWith(view, "\xEF\xBB\xBF")                               ? 3
                            : startsWith(view, "\xFF\xFE") || startsWith(view, "\xFE\xFF") ? 2
                                                                                           : 0;
        if (encoding.name == "UTF-16LE" || encoding.name == "UTF-16BE" || mark == 3) {
            const UnicodeForm form = encoding.name == "UTF-16LE"   ? UnicodeForm::Utf16Le
                                     : encoding.name == "UTF-16BE" ? UnicodeForm::Utf16Be
                                                                   : UnicodeForm::Utf8;
            converted = ConvertUnicodeSubtitle(view.substr(mark), form);
            readPath = removeTmpSub.Written();
            view = converted;
            cueCodePage = ansiCodePage_;
        }

        if (Facts) Facts->readPath = readPath;
        TextFile text = TextFile::Over(view);
        std::string_view first;
        while (!text.Eof() && first.empty()) first = Trim(text.ReadLine());
        const ReaderEntry* reader = DetectReader(first);
        if (!reader) {
            SubIsTimeBased = previousTimeBased;
            host_.LoadError(
                std::string(UnknownFormatText),
                withLine(loadingName_, first.empty() ? 0 : text.LineNumber()) + ": " + UnknownFormatReason(first));
            return false;
        }
        lastReader_ = reader->name;
        fileEncoding_ = std::move(encoding);
        cueCodePage_ = std::move(cueCodePage);
        reader->read(*this, view);
        return true;
    } catch (const RuntimeError& error) {
        // Failing before a reader ran leaves the previous cues compared in their own unit; a
        // reader's failure is told with the line it was reading.
        if (lastReader_.empty()) {
            SubIsTimeBased = previousTimeBased;
            throw;
        }
        throw RuntimeError(error.what(), withLine(loadingName_, Facts ? Facts->reading : 0));
    } catch (...) {
        if (lastReader_.empty()) SubIsTimeBased = previousTimeBased;
        throw;
    }
}

std::string SubtitleCore::ConvertUnicodeSubtitle(std::string_view Source, UnicodeForm form) {
    std::string text = form == UnicodeForm::Utf8 && IsUtf8CodePage(ansiCodePage_)
                           ? std::string(Source)
                           : UnicodeToCodePage(Source, form, ansiCodePage_);
    WriteWholeFile(TmpSubPath(), text);
    return text;
}

}  // namespace tessaview
