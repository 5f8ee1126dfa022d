// The subtitle font as the two subtitle labels use it, and its stored form.
#pragma once

#include "shell/settings/settings.h"

#include <QColor>
#include <QFont>

namespace tessaview {

struct SubtitleFont {
    QFont font;  // face, point size, style
    QColor color = Qt::white;
    int charSet = 1;  // Windows character set number; picks the code page of the cue bytes
};

SubtitleFont FromFontSpec(const FontSpec& spec);  // style regular
FontSpec ToFontSpec(const SubtitleFont& font);    // style dropped, charset low 8 bits

}  // namespace tessaview
