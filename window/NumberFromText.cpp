// Reads a number from a text box's text by its leading numeric part.
#include "NumberFromText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// The value of a hexadecimal digit; 16 for anything else.
int digitValue(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
        return static_cast<int>((c | 0x20) - 'a') + 10;
    }
    return 16;
}

// "&H" and "&O" numbers: the digits are the bit pattern of a 32-bit integer, so "&HFFFFFFFF"
// is -1; a value wider than 32 bits is out of range.
std::optional<int32_t> bitPattern(std::u32string_view digits, int base) {
    uint64_t value = 0;
    for (const char32_t c : digits) {
        const int digit = digitValue(c);
        if (digit >= base) {
            break;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > std::numeric_limits<uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The leading decimal number: its sign, its digits without the point, how many of them stand
// before the point, and the exponent. No digits at all reads as no number.
struct Decimal {
    bool negative = false;
    std::string digits;
    int64_t digitsBeforePoint = 0;
    int64_t exponent = 0;
};

constexpr int64_t exponentLimit = 1'000'000'000; // far beyond any double, still safe to add

std::optional<Decimal> leadingDecimal(std::u32string_view text) {
    Decimal number;
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        number.negative = text[at] == '-';
        ++at;
    }
    bool seenPoint = false;
    for (; at < text.size(); ++at) {
        const char32_t c = text[at];
        if (c >= '0' && c <= '9') {
            number.digits += static_cast<char>(c);
            number.digitsBeforePoint += seenPoint ? 0 : 1;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (number.digits.empty()) {
        return std::nullopt;
    }
    // An exponent counts only with at least one digit after its letter and optional sign.
    if (at < text.size() &&
        (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd')) {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negativeExponent = text[at] == '-';
            ++at;
        }
        int64_t exponent = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
            exponent =
                std::min(exponent * 10 + static_cast<int64_t>(text[at] - '0'), exponentLimit);
        }
        number.exponent = negativeExponent ? -exponent : exponent;
    }
    return number;
}

std::optional<int32_t> decimal(std::u32string_view text) {
    const std::optional<Decimal> number = leadingDecimal(text);
    const size_t firstSignificant =
        number.has_value() ? number->digits.find_first_not_of('0') : std::string::npos;
    if (firstSignificant == std::string::npos) {
        return 0;
    }
    // The value lies in [10^(magnitude-1), 10^magnitude): far too large is out of range, far too
    // small rounds to 0; in between it is read as a double in a locale-free form "d.ddde<n>".
    const int64_t magnitude =
        number->digitsBeforePoint - static_cast<int64_t>(firstSignificant) + number->exponent;
    if (magnitude > 11) {
        return std::nullopt;
    }
    if (magnitude < -1) {
        return 0;
    }
    const std::string significant = number->digits.substr(firstSignificant);
    const std::string normalized = significant.substr(0, 1) + "." + significant.substr(1) + "e" +
                                   std::to_string(magnitude - 1);
    double value = 0;
    std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    // The default rounding mode rounds an exact half to the even neighbour.
    const double rounded = std::nearbyint(number->negative ? -value : value);
    if (rounded < std::numeric_limits<int32_t>::min() ||
        rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rounded);
}

} // namespace

std::optional<int32_t> numberFromText(const QString& text) {
    std::u32string compact;
    for (const char32_t c : text.toStdU32String()) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    const std::u32string_view view(compact);
    if (view.size() >= 2 && view[0] == '&') {
        if (view[1] == 'H' || view[1] == 'h') {
            return bitPattern(view.substr(2), 16);
        }
        if (view[1] == 'O' || view[1] == 'o') {
            return bitPattern(view.substr(2), 8);
        }
    }
    return decimal(view);
}
