// Colours of the window definition (0x00BBGGRR, or the default colour that
// stands for the desktop's face colour) as Qt colours.
#pragma once

#include <QColor>

#include <cstdint>

#include "window/definition.h"

namespace valdremo::qt {

// `face` is the face colour at the moment of use, so a changed desktop
// palette shows at the next paint.
inline QColor ColourOf(std::uint32_t colour, const QColor& face) {
  if (colour == kDefaultColour) return face;
  return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                static_cast<int>((colour >> 16) & 0xFFu));
}

}  // namespace valdremo::qt
