#pragma once

#include <QColor>

namespace controls {

// Colours reach the controls as Windows RGB integers (0x00BBGGRR: red 255,
// green 65280, yellow 65535); -1 stands for "the control's default".
constexpr int defaultColour = -1;

inline QColor colourFromRgbInt(int value)
{
    if (value < 0)
        return {};
    const auto v = static_cast<unsigned>(value);
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}

inline int rgbIntFromColour(const QColor &colour)
{
    if (!colour.isValid())
        return defaultColour;
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace controls
