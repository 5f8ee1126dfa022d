// Cue markup: which tags become styles, which markup is dropped, and what text is kept.
#include "presentation/subtitle_markup.h"

#include <gtest/gtest.h>

namespace tessaview {
namespace {

// A styled run as {flags:text}, flags from b, i, u and the colour as #rrggbb; plain text as
// is; lines joined with '|'.
std::string Describe(const std::vector<StyledLine>& lines) {
    QString out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += u'|';
        for (const StyledRun& run : lines[i]) {
            const TextStyle& s = run.style;
            QString flags = QString(s.bold ? "b" : "") + (s.italic ? "i" : "") + (s.underline ? "u" : "");
            if (s.color.isValid()) flags += s.color.name();
            out += flags.isEmpty() ? run.text : u'{' + flags + u':' + run.text + u'}';
        }
    }
    return out.toStdString();
}

TEST(SubtitleMarkup, StyleTagsBecomeRunsOtherMarkupIsDroppedAndTheRestIsKept) {
    struct Case {
        const char* cue;
        const char* runs;
        const char* plain;
    };
    const Case cases[] = {
        {"<i>this one in italics</i>", "{i:this one in italics}", "this one in italics"},
        {"{\\pos(400,570)}(deep rumbling)", "(deep rumbling)", "(deep rumbling)"},
        {"{\\an8}top{\\i1}", "top", "top"},
        {"<B>bold <i>both</ I></b> none", "{b:bold }{bi:both} none", "bold both none"},
        {"<u>runs on\r\nnext", "{u:runs on}|{u:next}", "runs on\nnext"},
        {"<font color=\"#ff0000\">r</font> <FONT COLOR=yellow>y<font color='#0000FF'>b</font>y</font>",
         "{#ff0000:r} {#ffff00:y}{#0000ff:b}{#ffff00:y}", "r yby"},
        {"<font face=Arial>x</font><font color=00ff00>g</font>", "x{#00ff00:g}", "xg"},
        {"one\\Ntwo\\nthree\\hfour", "one|two|three\u00A0four", "one\ntwo\nthree\u00A0four"},
        {"<ruby>a</ruby><c.yellow>b</c></>", "ab", "ab"},
        {"a < b, I <3 you, x>y", "a < b, I <3 you, x>y", "a < b, I <3 you, x>y"},
        {"</i>a <i b\nc> {\\d\n}", "a <i b|c> {\\d|}", "a <i b\nc> {\\d\n}"},  // unclosed on its line
        {"Tom & Jerry && co \\t", "Tom & Jerry && co \\t", "Tom & Jerry && co \\t"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const QString cue = QString::fromUtf8(c.cue);
        EXPECT_EQ(Describe(ParseMarkup(cue)), c.runs) << c.cue;
        EXPECT_EQ(PlainText(cue), QString::fromUtf8(c.plain)) << c.cue;
    }
}

}  // namespace
}  // namespace tessaview
