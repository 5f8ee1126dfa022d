// Encoding detection: marks, zero bytes of UTF-16, strict UTF-8, then libuchardet kept to the
// Windows code pages and checked against what each code page makes of the file's bytes.
#include "subtitle/text_encoding.h"

#include "subtitle/code_page.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

namespace tessaview {

namespace {

struct CodePageInfo {
    const char* name;
    int charSet;  // the Windows font character set of that code page
    bool singleByte;
    const char* languages;  // ISO 639 codes written in it, blank-separated
};

// The legacy code pages subtitle files are written in: those of the Windows font character
// sets. CP1252 first: it is the answer when nothing else is known.
const CodePageInfo codePages[] = {
    {"CP1252", 0, true, "en fr de es it pt nl da sv no nb nn fi is ga ca eu gl af id ms sw"},
    {"CP1250", 238, true, "pl cs sk hu sl hr bs ro sq"},
    {"CP1251", 204, true, "ru uk be bg sr mk kk ky tg mn"},
    {"CP1253", 161, true, "el"},
    {"CP1254", 162, true, "tr az"},
    {"CP1255", 177, true, "he yi"},
    {"CP1256", 178, true, "ar fa ur"},
    {"CP1257", 186, true, "lt lv et"},
    {"CP1258", 163, true, "vi"},
    {"CP874", 222, true, "th"},
    {"CP932", 128, false, "ja"},
    {"CP936", 134, false, "zh"},
    {"CP949", 129, false, "ko"},
    {"CP950", 136, false, ""},
};

// uchardet's answers read as the Windows code page of the same script.
const std::pair<const char*, const char*> detectorNames[] = {
    {"WINDOWS-1250", "CP1250"}, {"WINDOWS-1251", "CP1251"},
    {"WINDOWS-1252", "CP1252"}, {"WINDOWS-1253", "CP1253"},
    {"WINDOWS-1254", "CP1254"}, {"WINDOWS-1255", "CP1255"},
    {"WINDOWS-1256", "CP1256"}, {"WINDOWS-1257", "CP1257"},
    {"WINDOWS-1258", "CP1258"}, {"ISO-8859-1", "CP1252"},
    {"ISO-8859-15", "CP1252"},  {"ISO-8859-2", "CP1250"},
    {"ISO-8859-16", "CP1250"},  {"MAC-CENTRALEUROPE", "CP1250"},
    {"ISO-8859-5", "CP1251"},   {"KOI8-R", "CP1251"},
    {"IBM855", "CP1251"},       {"IBM866", "CP1251"},
    {"MAC-CYRILLIC", "CP1251"}, {"ISO-8859-7", "CP1253"},
    {"ISO-8859-9", "CP1254"},   {"ISO-8859-3", "CP1254"},
    {"ISO-8859-8", "CP1255"},   {"ISO-8859-6", "CP1256"},
    {"ISO-8859-4", "CP1257"},   {"ISO-8859-13", "CP1257"},
    {"VISCII", "CP1258"},       {"TIS-620", "CP874"},
    {"ISO-8859-11", "CP874"},   {"SHIFT_JIS", "CP932"},
    {"EUC-JP", "CP932"},        {"ISO-2022-JP", "CP932"},
    {"GB18030", "CP936"},       {"HZ-GB-2312", "CP936"},
    {"ISO-2022-CN", "CP936"},   {"EUC-KR", "CP949"},
    {"UHC", "CP949"},           {"ISO-2022-KR", "CP949"},
    {"BIG5", "CP950"},          {"EUC-TW", "CP950"},
};

const CodePageInfo* findCodePage(std::string_view name) {
    for (const CodePageInfo& info : codePages)
        if (name == info.name) return &info;
    return nullptr;
}

const char* mapDetectorName(std::string_view name) {
    for (const auto& [detector, codePage] : detectorNames)
        if (name == detector) return codePage;
    return nullptr;
}

// ---- what a code page makes of one byte ----

enum class Script : uint8_t { None, Latin, Greek, Cyrillic, Hebrew, Arabic, Thai, Mark };
enum class Kind : uint8_t { Undefined, Control, Symbol, Punct, Upper, Lower, Letter };

struct Glyph {
    char32_t code = 0;
    Kind kind = Kind::Undefined;
    Script script = Script::None;
    bool isLetter() const { return kind == Kind::Upper || kind == Kind::Lower || kind == Kind::Letter; }
};

char32_t firstCodePoint(const std::string& utf8) {
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.empty()) return 0;
    if (b[0] < 0x80) return b[0];
    const int len = b[0] >= 0xF0 ? 4 : b[0] >= 0xE0 ? 3 : 2;
    if (utf8.size() < static_cast<size_t>(len)) return 0;
    char32_t c = b[0] & (0x3F >> (len - 1));
    for (int k = 1; k < len; ++k) c = (c << 6) | (b[k] & 0x3F);
    return c;
}

Glyph classify(char32_t c) {
    Glyph g;
    g.code = c;
    const auto cased = [&](Script script, bool upper) {
        g.script = script;
        g.kind = upper ? Kind::Upper : Kind::Lower;
        return g;
    };
    if (c == 0 || c == 0xFFFD) return g;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        g.kind = Kind::Control;
        return g;
    }
    if (c < 0x80) {
        if (c >= 'A' && c <= 'Z') return cased(Script::Latin, true);
        if (c >= 'a' && c <= 'z') return cased(Script::Latin, false);
        g.kind = Kind::Punct;
        return g;
    }
    if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) return cased(Script::Latin, c < 0xDF);
    if (c >= 0x100 && c <= 0x24F) {
        // Latin Extended-A pairs capitals and small letters by even and odd code, with a
        // shifted run from U+0139 to U+0148 and a few odd ones; near enough for plausibility.
        const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return cased(Script::Latin, shifted ? (c % 2 == 1) : (c % 2 == 0));
    }
    if (c == 0x192) return cased(Script::Latin, false);
    if (c >= 0x300 && c <= 0x36F) {
        g.kind = Kind::Letter;
        g.script = Script::Mark;
        return g;
    }
    if (c >= 0x386 && c <= 0x3CE && c != 0x387) return cased(Script::Greek, c < 0x3AC && c != 0x390);
    if (c >= 0x400 && c <= 0x45F) return cased(Script::Cyrillic, c < 0x430);
    if (c == 0x490 || c == 0x491) return cased(Script::Cyrillic, c == 0x490);
    if ((c >= 0x5B0 && c <= 0x5F4) || (c >= 0x600 && c <= 0x6FF && c != 0x60C && c != 0x61B && c != 0x61F) ||
        (c >= 0xE01 && c <= 0xE5B)) {
        g.kind = Kind::Letter;
        g.script = c < 0x600 ? Script::Hebrew : c < 0xE00 ? Script::Arabic : Script::Thai;
        return g;
    }
    if (c == 0x200C || c == 0x200D || c == 0x200E || c == 0x200F) {
        g.kind = Kind::Letter;
        g.script = Script::Mark;
        return g;
    }
    // Quotes, dashes, ellipsis, guillemets, inverted marks, degree, Arabic comma and question
    // mark: what subtitle text uses around words.
    if ((c >= 0x2010 && c <= 0x2026) || c == 0xAB || c == 0xBB || c == 0xA1 || c == 0xBF || c == 0xB0 || c == 0xA0 ||
        c == 0x60C || c == 0x61B || c == 0x61F || c == 0x2039 || c == 0x203A) {
        g.kind = Kind::Punct;
        return g;
    }
    g.kind = Kind::Symbol;
    return g;
}

using ByteTable = std::array<Glyph, 256>;

// Built once per code page from iconv's own reading of each byte.
const ByteTable& byteTable(const char* codePage) {
    static std::map<std::string, ByteTable> tables;
    auto found = tables.find(codePage);
    if (found != tables.end()) return found->second;
    ByteTable table;
    CodePageConverter converter(codePage);
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string utf8;
        converter.Convert(std::string_view(&byte, 1), utf8);
        table[static_cast<size_t>(b)] = classify(firstCodePoint(utf8));
    }
    return tables.emplace(codePage, table).first->second;
}

// ---- facts gathered in one pass over the file ----

struct ByteFacts {
    std::array<uint32_t, 256> count{};
    // Pairs of neighbouring bytes of which at least one is not ASCII, by (first << 8 | second).
    std::map<uint16_t, uint32_t> highPairs;
    std::vector<std::string_view> highLines;  // the lines that hold a non-ASCII byte
    size_t highLineBytes = 0;
};

ByteFacts gatherFacts(std::string_view bytes) {
    ByteFacts facts;
    std::vector<uint32_t> pairs(65536);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    unsigned previous = ' ';
    size_t lineStart = 0;
    bool lineHigh = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned c = b[i];
        ++facts.count[c];
        if ((c | previous) & 0x80) {
            ++pairs[(previous << 8) | c];
            lineHigh = true;
        }
        if (c == '\n' || i + 1 == bytes.size()) {
            if (lineHigh) {
                facts.highLines.push_back(bytes.substr(lineStart, i + 1 - lineStart));
                facts.highLineBytes += i + 1 - lineStart;
            }
            lineStart = i + 1;
            lineHigh = false;
        }
        previous = c;
    }
    for (size_t i = 0; i < pairs.size(); ++i)
        if (pairs[i]) facts.highPairs.emplace(static_cast<uint16_t>(i), pairs[i]);
    return facts;
}

// True when every byte in the file means something printable in the code page.
bool readsCleanly(const ByteTable& table, const ByteFacts& facts) {
    for (int b = 0x80; b < 256; ++b)
        if (facts.count[static_cast<size_t>(b)] && (table[static_cast<size_t>(b)].kind == Kind::Undefined ||
                                                    table[static_cast<size_t>(b)].kind == Kind::Control))
            return false;
    return true;
}

// How much the text in this code page looks like words: letters of one script next to each
// other count for it; odd symbols inside words, scripts mixed within a word, a capital after a
// small letter and words of Latin letters that are all accented count against it.
long plausibility(const ByteTable& table, const ByteFacts& facts) {
    long score = 0;
    for (const auto& [pair, n] : facts.highPairs) {
        const Glyph& a = table[pair >> 8];
        const Glyph& b = table[pair & 0xFF];
        const long weight = static_cast<long>(n);
        if (a.isLetter() && b.isLetter()) {
            if (a.script == Script::Mark || b.script == Script::Mark || a.script == b.script) {
                const bool bothHigh = a.code >= 0x80 && b.code >= 0x80;
                score += (bothHigh && a.script == Script::Latin) ? -weight : weight;
                if (a.kind == Kind::Lower && b.kind == Kind::Upper) score -= 2 * weight;
            } else {
                score -= 4 * weight;
            }
        } else if ((a.kind == Kind::Symbol && b.isLetter()) || (a.isLetter() && b.kind == Kind::Symbol)) {
            score -= 2 * weight;
        }
    }
    return score;
}

bool sameReading(const ByteTable& x, const ByteTable& y, const ByteFacts& facts) {
    for (int b = 0x80; b < 256; ++b)
        if (facts.count[static_cast<size_t>(b)] && x[static_cast<size_t>(b)].code != y[static_cast<size_t>(b)].code)
            return false;
    return true;
}

// ---- Unicode forms ----

bool isValidUtf8(std::string_view bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, b + i, 8);
            if (!(word & 0x8080808080808080ULL)) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len = 0;
        unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF)
            len = 2;
        else if (c == 0xE0) {
            len = 3;
            low = 0xA0;
        } else if (c == 0xED) {
            len = 3;
            high = 0x9F;
        } else if (c >= 0xE1 && c <= 0xEF)
            len = 3;
        else if (c == 0xF0) {
            len = 4;
            low = 0x90;
        } else if (c >= 0xF1 && c <= 0xF3)
            len = 4;
        else if (c == 0xF4) {
            len = 4;
            high = 0x8F;
        } else
            return false;
        if (i + len > n || b[i + 1] < low || b[i + 1] > high) return false;
        for (size_t k = 2; k < len; ++k)
            if ((b[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

// UTF-16 without a mark: the zero high bytes of its ASCII characters (digits, times, blanks and
// line ends in every subtitle file) stand on one side only.
const char* unmarkedUtf16(std::string_view bytes) {
    if (std::memchr(bytes.data(), 0, bytes.size()) == nullptr) return nullptr;
    size_t even = 0, odd = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        even += bytes[i] == 0;
        odd += bytes[i + 1] == 0;
    }
    const size_t units = bytes.size() / 2;
    if (units == 0) return nullptr;
    if (odd * 8 >= units && even * 8 <= odd) return "UTF-16LE";
    if (even * 8 >= units && odd * 8 <= even) return "UTF-16BE";
    return nullptr;
}

bool hasHighByte(std::string_view text) {
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ULL) return true;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
    return false;
}

std::string trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1));
}

// The first line with a character beyond ASCII (the first non-empty line when there is none).
std::string sampleLine(std::string_view utf8) {
    std::string firstText;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        const std::string_view line = utf8.substr(start, end - start);
        if (hasHighByte(line)) return trimmed(line);
        if (firstText.empty()) firstText = trimmed(line);
        start = end + 1;
    }
    return firstText;
}

// The line of `bytes` a sample is taken from, for code pages that keep ASCII as it is.
std::string_view legacySampleBytes(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        if (hasHighByte(line)) return line;
        start = end + 1;
    }
    return bytes.substr(0, bytes.find('\n'));
}

TextEncoding unicode(std::string name, std::string reason, std::string_view text, UnicodeForm form) {
    TextEncoding result;
    result.name = std::move(name);
    result.reason = std::move(reason);
    result.charSet = 1;
    // The sample comes from the file's start: a whole big file is not converted for one line.
    const std::string utf16 =
        form == UnicodeForm::Utf8 ? std::string() : UnicodeToCodePage(text.substr(0, 65536), form, "UTF-8");
    result.candidates.push_back({result.name, sampleLine(form == UnicodeForm::Utf8 ? text : std::string_view(utf16))});
    return result;
}

// uchardet reads a few megabytes a second: it is given the lines that hold non-ASCII bytes (the
// others tell it nothing), and of a big file an even spread of them, about 16 kB from all over.
std::string detectorAnswer(const ByteFacts& facts) {
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                            uchardet_delete);
    if (!detector) return {};
    const size_t step = facts.highLineBytes / 16384 + 1;
    for (size_t i = 0; i < facts.highLines.size(); i += step)
        uchardet_handle_data(detector.get(), facts.highLines[i].data(), facts.highLines[i].size());
    uchardet_data_end(detector.get());
    const char* answer = uchardet_get_charset(detector.get());
    return answer ? answer : "";
}

bool hasControlBytes(const ByteFacts& facts) {
    for (int b = 0x80; b < 0xA0; ++b)
        if (facts.count[static_cast<size_t>(b)]) return true;
    return false;
}

}  // namespace

std::string LocaleLanguage() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string language(value);
        language = language.substr(0, language.find_first_of("_.@"));
        if (language == "C" || language == "POSIX") return {};
        return language;
    }
    return {};
}

std::string LanguageCodePage(std::string_view language) {
    if (!language.empty())
        for (const CodePageInfo& info : codePages) {
            const std::string_view list = info.languages;
            for (size_t at = list.find(language); at != std::string_view::npos; at = list.find(language, at + 1))
                if ((at == 0 || list[at - 1] == ' ') &&
                    (at + language.size() == list.size() || list[at + language.size()] == ' '))
                    return info.name;
        }
    return "CP1252";
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
    static const std::string language = LocaleLanguage();
    return DetectTextEncoding(bytes, language);
}

TextEncoding DetectTextEncoding(std::string_view bytes, std::string_view language) {
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) return unicode("UTF-8", "UTF-8 byte-order mark", bytes.substr(3), UnicodeForm::Utf8);
    if (starts("\xFF\xFE"))
        return unicode("UTF-16LE", "UTF-16 little-endian byte-order mark", bytes.substr(2), UnicodeForm::Utf16Le);
    if (starts("\xFE\xFF"))
        return unicode("UTF-16BE", "UTF-16 big-endian byte-order mark", bytes.substr(2), UnicodeForm::Utf16Be);
    if (const char* form = unmarkedUtf16(bytes)) {
        const bool le = std::string_view(form) == "UTF-16LE";
        return unicode(form,
                       std::string("UTF-16 without a mark: zero bytes at ") + (le ? "odd" : "even") + " positions",
                       bytes, le ? UnicodeForm::Utf16Le : UnicodeForm::Utf16Be);
    }
    if (!hasHighByte(bytes)) {
        TextEncoding ascii;
        ascii.reason = "only ASCII characters";
        ascii.candidates.push_back({ascii.name, sampleLine(bytes.substr(0, 4096))});
        return ascii;
    }
    if (isValidUtf8(bytes)) return unicode("UTF-8", "valid UTF-8", bytes, UnicodeForm::Utf8);

    const ByteFacts facts = gatherFacts(bytes);
    const std::string answer = detectorAnswer(facts);
    const char* mapped = mapDetectorName(answer);

    struct Scored {
        const CodePageInfo* info;
        const ByteTable* table;  // null for the multi-byte code pages
        long score;
    };
    std::vector<Scored> clean;
    for (const CodePageInfo& info : codePages) {
        if (!info.singleByte) continue;
        const ByteTable& table = byteTable(info.name);
        if (readsCleanly(table, facts)) clean.push_back({&info, &table, plausibility(table, facts)});
    }
    std::stable_sort(clean.begin(), clean.end(), [](const Scored& x, const Scored& y) { return x.score > y.score; });

    TextEncoding result;
    const CodePageInfo* chosen = nullptr;
    const auto isClean = [&](const CodePageInfo* info) {
        return std::any_of(clean.begin(), clean.end(), [&](const Scored& s) { return s.info == info; });
    };
    if (const CodePageInfo* proposed = mapped ? findCodePage(mapped) : nullptr) {
        if (!proposed->singleByte) {
            std::string ignored;
            if (CodePageConverter(proposed->name).Convert(bytes, ignored)) {
                chosen = proposed;
                result.reason = "uchardet: " + answer;
            }
        } else if (isClean(proposed)) {
            chosen = proposed;
            result.reason = "uchardet: " + answer;
            if (answer != std::string("WINDOWS-") + (proposed->name + 2))
                result.reason += hasControlBytes(facts)
                                     ? std::string(", but bytes 0x80-0x9F are printable only in ") + proposed->name
                                     : std::string(", read as the Windows code page of its script");
        } else {
            result.reason = "uchardet: " + answer + " does not read every byte; ";
        }
    } else if (!answer.empty()) {
        result.reason = "uchardet: " + answer + " is no subtitle code page; ";
    }
    if (!chosen && !clean.empty()) {
        chosen = clean.front().info;
        result.reason += "the code page whose reading looks most like words";
        // A tie in plausibility goes to the code page of the user's language.
        const std::string own = LanguageCodePage(language);
        for (const Scored& s : clean)
            if (s.score == clean.front().score && own == s.info->name) {
                chosen = s.info;
                result.reason += ", the locale's among equals";
            }
    }
    if (!chosen) {
        chosen = findCodePage("CP1252");
        result.reason += "no code page reads every byte";
    }
    // Code pages that read the file's bytes alike are a tie: the locale's language decides.
    if (chosen->singleByte) {
        const CodePageInfo* own = findCodePage(LanguageCodePage(language));
        if (own && own != chosen && own->singleByte &&
            sameReading(byteTable(own->name), byteTable(chosen->name), facts)) {
            result.reason += "; " + std::string(own->name) + " reads it alike and is the locale's";
            chosen = own;
        }
    }

    result.name = chosen->name;
    result.charSet = chosen->charSet;
    const std::string_view sampleBytes = legacySampleBytes(bytes);
    result.candidates.push_back({chosen->name, trimmed(CodePageToUtf8(sampleBytes, chosen->name))});
    std::vector<const ByteTable*> listed;
    if (chosen->singleByte) listed.push_back(&byteTable(chosen->name));
    for (const Scored& s : clean) {
        if (result.candidates.size() >= 4) break;
        if (s.info == chosen || std::any_of(listed.begin(), listed.end(),
                                            [&](const ByteTable* t) { return sameReading(*t, *s.table, facts); }))
            continue;
        listed.push_back(s.table);
        result.candidates.push_back({s.info->name, trimmed(CodePageToUtf8(sampleBytes, s.info->name))});
    }
    return result;
}

}  // namespace tessaview
