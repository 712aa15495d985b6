// Reads a number from a text box's text by its leading numeric part, the way the window's
// numeric commands take their values.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Spaces, tabs and line feeds are dropped wherever they stand. Then an optional sign, digits with
// at most one full stop and an optional exponent (E or D); or "&H" / "&O" with hexadecimal or
// octal digits, read as the bit pattern of a 32-bit integer. The first character that cannot
// continue the number ends it; a text that does not start with one reads as 0. The value is
// rounded half to even. Nothing when it lies outside the 32-bit signed range.
std::optional<int32_t> numberFromText(const QString& text);
