// Subtitle FrameRate choices and their status text.
#include "subtitle/time_base.h"

#include <charconv>

namespace tessaview {

double SubtitleFrameRateOfTag(int tag)
{
    switch (tag) {
    case 1: return 23.976;
    case 2: return 24.0;
    case 3: return 25.0;
    case 4: return 29.97;
    case 5: return 30.0;
    default: return 0.0;
    }
}

std::string FormatGeneral(double value, char decimalSeparator)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == '.')
            c = decimalSeparator;
    return text;
}

std::string FrameRateStatusText(int tag, double rate, char decimalSeparator)
{
    if (tag == 0)
        return "Subtitle FrameRate:Same As Movie";
    return "Subtitle FrameRate:" + FormatGeneral(rate, decimalSeparator) + "fps";
}

}  // namespace tessaview
