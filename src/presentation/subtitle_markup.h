// The markup inside cue text: HTML-like style tags and SubStation override blocks, turned into
// styled runs for drawing or into plain text. The cue text itself is never rewritten.
#pragma once

#include <QColor>
#include <QString>
#include <QStringView>
#include <vector>

namespace tessaview {

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color;  // invalid: the subtitle font's own colour
    bool operator==(const TextStyle&) const = default;
};

struct StyledRun {
    QString text;
    TextStyle style;
    bool operator==(const StyledRun&) const = default;
};
using StyledLine = std::vector<StyledRun>;

// <i>, <b>, <u> and <font color=...> (nested, any case, an unclosed one runs to the end)
// become styles; any other tag and every {\...} block is dropped. A line break, \N and \n
// start a new line; \h is a no-break space. Adjacent runs of one style are merged.
std::vector<StyledLine> ParseMarkup(QStringView cue);

// The cue as a reader sees it: markup dropped, lines joined with '\n'.
QString PlainText(QStringView cue);

}  // namespace tessaview
