// Encoding detection: how many files it decodes exactly, against uchardet alone, over files
// written here in each code page and over the shared corpus; and what the loader does with it.
#include "subtitle/code_page.h"
#include "subtitle/text_encoding.h"
#include "subtitle/text_rules.h"
#include "subtitle_test_support.h"

#include <uchardet/uchardet.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace tessaview::testing {
namespace {

// Everyday lines in each language (six, separated by '|'), and the code page its subtitle
// files are written in.
const struct Language {
    const char *code, *codePage, *sentences;
} languages[] = {
    {"pl", "CP1250",
     "Dzień dobry, czy mogę z tobą porozmawiać?|Nie wiem, gdzie zostawiłem klucze od samochodu.|Musimy się spieszyć, "
     "pociąg odjeżdża za pięć minut.|Wszystko będzie dobrze, obiecuję ci to.|– Gdzie jest najbliższa apteka?|Źle się "
     "czuję, chyba jestem chory."},
    {"cs", "CP1250",
     "Dobrý den, můžu vám nějak pomoct?|Nevím, kde jsem nechal klíče od auta.|Musíme si pospíšit, vlak odjíždí za pět "
     "minut.|„Všechno bude v pořádku“, to ti slibuju.|Kde je nejbližší lékárna?|Je mi špatně, asi jsem nemocný."},
    {"hu", "CP1250",
     "Jó napot, segíthetek valamiben?|Nem tudom, hol hagytam az autó kulcsát.|Sietnünk kell, a vonat öt perc múlva "
     "indul.|„Minden rendben lesz”, ezt megígérem neked.|Hol van a legközelebbi gyógyszertár?|Rosszul érzem magam, azt "
     "hiszem, beteg vagyok."},
    {"ru", "CP1251",
     "Добрый день, чем я могу вам помочь?|Я не знаю, где оставил ключи от машины.|Нам надо спешить, поезд уходит через "
     "пять минут.|«Всё будет хорошо», я тебе обещаю…|Где здесь ближайшая аптека?|Мне плохо, кажется, я заболел."},
    {"bg", "CP1251",
     "Добър ден, с какво мога да ви помогна?|Не знам къде съм оставил ключовете от колата.|Трябва да побързаме, влакът "
     "тръгва след пет минути.|– Всичко ще бъде наред, обещавам ти.|Къде е най-близката аптека?|Не се чувствам добре, "
     "май съм болен."},
    {"fr", "CP1252",
     "Bonjour, est-ce que je peux vous aider ?|Je ne sais pas où j'ai laissé les clés de la voiture.|Il faut se "
     "dépêcher, le train part dans cinq minutes.|« Tout ira bien », je te le promets…|Où se trouve la pharmacie la "
     "plus proche ?|Je me sens mal, je crois que je suis malade."},
    {"de", "CP1252",
     "Guten Tag, kann ich Ihnen helfen?|Ich weiß nicht, wo ich die Autoschlüssel gelassen habe.|Wir müssen uns "
     "beeilen, der Zug fährt in fünf Minuten.|„Alles wird gut“, das verspreche ich dir.|Wo ist die nächste "
     "Apotheke?|Mir geht es schlecht, ich glaube, ich bin krank."},
    {"el", "CP1253",
     "Καλημέρα, μπορώ να σας βοηθήσω;|Δεν ξέρω πού άφησα τα κλειδιά του αυτοκινήτου.|Πρέπει να βιαστούμε, το τρένο "
     "φεύγει σε πέντε λεπτά.|«Όλα θα πάνε καλά», σου το υπόσχομαι…|Πού είναι το πιο κοντινό φαρμακείο;|Δεν νιώθω καλά, "
     "νομίζω ότι είμαι άρρωστος."},
    {"tr", "CP1254",
     "İyi günler, size nasıl yardımcı olabilirim?|Arabanın anahtarlarını nerede bıraktığımı bilmiyorum.|Acele "
     "etmeliyiz, tren beş dakika sonra kalkıyor.|“Her şey yoluna girecek”, sana söz veriyorum.|En yakın eczane "
     "nerede?|Kendimi kötü hissediyorum, sanırım hastayım."},
    {"he", "CP1255",
     "שלום, איך אני יכול לעזור לך?|אני לא יודע איפה השארתי את המפתחות של המכונית.|אנחנו צריכים למהר, הרכבת יוצאת בעוד "
     "חמש דקות.|– הכול יהיה בסדר, אני מבטיח לך…|איפה בית המרקחת הקרוב?|אני מרגיש לא טוב, נראה לי שאני חולה."},
    {"ar", "CP1256",
     "مرحبا، كيف يمكنني مساعدتك؟|لا أعرف أين تركت مفاتيح السيارة.|يجب أن نسرع، القطار يغادر بعد خمس دقائق.|– كل شيء "
     "سيكون على ما يرام، أعدك بذلك…|أين أقرب صيدلية؟|أشعر بتعب، أظن أنني مريض."},
    {"lt", "CP1257",
     "Laba diena, kuo galėčiau jums padėti?|Nežinau, kur palikau automobilio raktus.|Turime paskubėti, traukinys "
     "išvyksta po penkių minučių.|„Viskas bus gerai“, aš tau pažadu.|Kur yra artimiausia vaistinė?|Blogai jaučiuosi, "
     "atrodo, kad sergu."},
    {"et", "CP1257",
     "Tere päevast, kuidas ma saan teid aidata?|Ma ei tea, kuhu ma auto võtmed jätsin.|Me peame kiirustama, rong "
     "väljub viie minuti pärast.|„Kõik saab korda“, ma luban sulle.|Kus on lähim apteek?|Ma tunnen end halvasti, vist "
     "olen haige."},
};

std::string subRip(const std::string& sentences) {
    std::istringstream in(sentences);
    std::ostringstream out;
    std::string line;
    for (int n = 1; std::getline(in, line, '|'); ++n)
        out << n << "\r\n00:00:" << 8 + 2 * n << ",000 --> 00:00:" << 9 + 2 * n << ",500\r\n" << line << "\r\n\r\n";
    return out.str();
}

// The text without a byte-order mark, as the player shows it.
std::string decode(std::string_view bytes, const std::string& encoding) {
    const UnicodeForm form = encoding == "UTF-16BE" ? UnicodeForm::Utf16Be : UnicodeForm::Utf16Le;
    const bool utf16 = encoding == "UTF-16LE" || encoding == "UTF-16BE";
    std::string text = utf16 ? UnicodeToCodePage(bytes, form, "UTF-8") : CodePageToUtf8(bytes, encoding);
    return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
}

struct Rates {
    int files = 0, ours = 0, uchardet = 0;
    void add(const std::string& bytes, const std::string& truth, const std::string& name) {
        const std::string expected = decode(bytes, truth);
        const std::string detected = DetectTextEncoding(bytes, "").name;
        const bool right = decode(bytes, detected) == expected;
        uchardet_t alone = uchardet_new();
        uchardet_handle_data(alone, bytes.data(), bytes.size());
        uchardet_data_end(alone);
        try {
            uchardet += *uchardet_get_charset(alone) && decode(bytes, uchardet_get_charset(alone)) == expected;
        } catch (const std::invalid_argument&) {  // an answer iconv does not know
        }
        uchardet_delete(alone);
        ++files;
        ours += right;
        if (!right) std::printf("  missed %s (%s): detected %s\n", name.c_str(), truth.c_str(), detected.c_str());
    }
    void report(const char* what) const {
        std::printf("%s: %d files, decoded exactly %.1f %% (uchardet alone %.1f %%)\n", what, files,
                    100.0 * ours / files, 100.0 * uchardet / files);
        EXPECT_GE(ours, files * 95 / 100.0) << what;
        EXPECT_GT(ours, uchardet) << what;
    }
};

// Each language in its code page and in UTF-8, every third also in UTF-16 without a mark;
// and the corpus, whose SOURCES.md states each file's encoding in its notes.
TEST(TextEncoding, DecodesBetterThanUchardetAlone) {
    Rates rates;
    int k = 0;
    for (const Language& l : languages) {
        const std::string utf8 = subRip(l.sentences);
        rates.add(UnicodeToCodePage(utf8, UnicodeForm::Utf8, l.codePage), l.codePage, l.code);
        rates.add(utf8, "UTF-8", l.code);
        if (k++ % 3 == 0)
            for (const char* form : {"UTF-16LE", "UTF-16BE"})
                rates.add(UnicodeToCodePage(utf8, UnicodeForm::Utf8, form), form, l.code);
    }
    rates.report("written files");
    const std::filesystem::path corpus = TESSAVIEW_CORPUS_DIR;
    std::ifstream sources(corpus / "SOURCES.md");
    if (!sources) {
        std::printf("corpus skipped: the shared corpus is not at %s\n", corpus.c_str());
        return;
    }
    const std::regex row(R"(^\| `([^`]+)` \|.*\| ([^|]*) \|$)");
    const std::regex stated(R"(Windows-(125\d)|UTF-16 (LE|BIG)|UTF-8|ASCII)");
    std::string folder, line;
    const int written = rates.files;
    while (std::getline(sources, line)) {
        std::smatch m, e;
        if (line.rfind("### ", 0) == 0)
            folder = line.substr(4);
        else if (std::regex_match(line, m, row) && std::regex_search(m[2].first, m[2].second, e, stated))
            rates.add(ReadWholeFile((corpus / folder / m[1].str()).string()),
                      e[1].matched   ? "CP" + e[1].str()
                      : e[2].matched ? (e[2] == "LE" ? "UTF-16LE" : "UTF-16BE")
                                     : "UTF-8",
                      m[1].str());
    }
    EXPECT_GE(rates.files - written, 30) << "corpus files with a stated encoding";
    rates.report("written files and corpus");
}

// Where uchardet alone goes wrong, and the tie that only the user's language can break; the
// character set named reads the file as the detection does.
TEST(TextEncoding, CorrectionsAndTies) {
    const std::string lt = UnicodeToCodePage(subRip(languages[11].sentences), UnicodeForm::Utf8, "CP1257");
    // Seven Cyrillic letters and one blank: one unit in eight with a zero byte is enough for UTF-16.
    std::string le, be;
    for (int i = 0; i < 7; ++i) le += "\x30\x04", be += "\x04\x30";
    le += std::string(" \0", 2), be += std::string("\0 ", 2);
    const std::string big5 = UnicodeToCodePage(
        subRip("我不知道我把車鑰匙放在哪裡了。|我們得快點，火車五分鐘後就開了。|你昨天晚上去哪裡了？"),
        UnicodeForm::Utf8, "CP950");
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        {lt, "", "CP1257", "0x80-0x9F"},
        {big5, "", "CP950", ""},  // uchardet: ISO-8859-13, and „ “ as controls
        {"Caf\351 \374ber", "pl", "CP1250", "locale"},
        {"Caf\351 \374ber", "fr", "CP1252", ""},
        {"Caf\351\240\374ber", "", "CP1252", "of its script"},  // a no-break space is no control byte
        {"\xE0\x80\x80", "", "CP1252", ""},                     // overlong: no UTF-8
        {le, "", "UTF-16LE", ""},
        {be, "", "UTF-16BE", ""},
    };
    for (const auto& [bytes, language, name, reason] : cases) {
        const TextEncoding e = DetectTextEncoding(bytes, language);
        EXPECT_EQ(e.name, name) << bytes;
        EXPECT_NE(e.reason.find(reason), std::string::npos) << e.reason;
        EXPECT_EQ(e.charSet == 1 ? e.name : WindowsCharSetCodePage(e.charSet), e.name);
    }
}

// The other readings offered come most word-like first: Cyrillic read as Greek letters before
// Hebrew ones, whose points break the words.
TEST(TextEncoding, OtherReadingsComeMostWordLikeFirst) {
    std::vector<std::string> names;
    const std::string ru = UnicodeToCodePage("Извините, что звоню так поздно.", UnicodeForm::Utf8, "CP1251");
    for (const EncodingCandidate& c : DetectTextEncoding(ru, "").candidates) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"CP1251", "CP1253", "CP1255", "CP1258"}));
}

// The language of the locale; none for C and POSIX, which name no language.
TEST(TextEncoding, LocaleLanguageIsTheLocalesCode) {
    const char* saved = std::getenv("LC_ALL");
    const std::string kept = saved ? saved : "";
    for (const auto& [locale, language] : {std::pair{"pl_PL.UTF-8", "pl"}, {"POSIX", ""}, {"C.UTF-8", ""}}) {
        setenv("LC_ALL", locale, 1);
        EXPECT_EQ(LocaleLanguage(), language) << locale;
    }
    saved ? setenv("LC_ALL", kept.c_str(), 1) : unsetenv("LC_ALL");
}

// A language's code page; a code that is only part of others ("c" of "ca") is no language.
TEST(TextEncoding, LanguageCodePageTakesWholeCodesOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"ru", "CP1251"}, {"mn", "CP1251"}, {"sq", "CP1250"}, {"vi", "CP1258"}, {"c", "CP1252"}, {"", "CP1252"},
    };
    for (const auto& [language, codePage] : cases) EXPECT_EQ(LanguageCodePage(language), codePage) << language;
}

// The loader converts UTF-16 without a mark like the marked forms, and keeps with the loaded
// subtitle the encoding its cues are read in; a file of unknown format changes neither.
TEST_F(CoreTest, LoaderKeepsEachFilesEncoding) {
    const std::string utf8 = subRip(languages[3].sentences);  // ru
    for (const std::string name : {"CP1251", "UTF-16LE", "UTF-16BE", "UTF-8"}) {
        load(name == "UTF-8" ? "\xEF\xBB\xBF" + utf8 : UnicodeToCodePage(utf8, UnicodeForm::Utf8, name));
        load("not a subtitle", "other.txt");
        ASSERT_EQ(core.SubList.size(), 6u) << name;
        EXPECT_EQ(core.FileEncoding().name, name);
        EXPECT_EQ(CodePageToUtf8(core.SubList[0]->Text, core.CueCodePage()), "Добрый день, чем я могу вам помочь?");
    }
}

}  // namespace
}  // namespace tessaview::testing
