// Subtitle FrameRate choices and frame rates as text.
#include "subtitle/time_base.h"

#include <cstdio>

namespace tessaview {

double SubtitleFrameRateOfTag(int tag) {
    switch (tag) {
        case 1:
            return 23.976;
        case 2:
            return 24.0;
        case 3:
            return 25.0;
        case 4:
            return 29.97;
        case 5:
            return 30.0;
        default:
            return 0.0;
    }
}

std::string FrameRateItemCaption(int tag) {
    if (tag == 0) return "Same As Movie";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", SubtitleFrameRateOfTag(tag));
    return buffer;
}

std::string FormatFrameRate(double rate, char decimalSeparator, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, rate);
    std::string text(buffer);
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

std::string FrameRateStatusText(int tag, double rate, char decimalSeparator) {
    if (tag == 0) return "Subtitle FrameRate:Same As Movie";
    return "Subtitle FrameRate:" + FormatFrameRate(rate, decimalSeparator) + "fps";
}

}  // namespace tessaview
