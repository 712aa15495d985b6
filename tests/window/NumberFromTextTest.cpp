// Reading a number from a text box's text: the leading numeric part, rounded half to even, or
// nothing when it does not fit a 32-bit signed integer.
#include "NumberFromText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t largest = std::numeric_limits<int32_t>::max();
constexpr int32_t smallest = std::numeric_limits<int32_t>::min();

struct Reading {
    const char* text;
    int32_t value;
};

const Reading readings[] = {
    // No number at all reads as 0.
    {"", 0},
    {" ", 0},
    {"abc", 0},
    {"-", 0},
    {".", 0},
    {"e5", 0},
    // Whitespace is dropped wherever it stands.
    {"1 2", 12},
    {"\t-\n3 4", -34},
    {" 7 ", 7},
    // The first character that cannot continue the number ends it.
    {"12abc", 12},
    {"1,5", 1},
    {"123,456", 123},
    {"1.2.3", 1},
    {"+8", 8},
    {"--8", 0},
    {"5.", 5},
    {"000000000000000000000012", 12},
    // Rounding to the nearest, an exact half to the even neighbour.
    {"-7.5", -8},
    {"1.5", 2},
    {"0.5", 0},
    {"2.5", 2},
    {"3.5", 4},
    {"-2.5", -2},
    {"2.51", 3},
    {".5", 0},
    {"-0.4", 0},
    // Exponents with E or D, either case, with a sign; a letter without digits ends the number.
    {"1e2", 100},
    {"1E2", 100},
    {"1D3", 1000},
    {"1d-1", 0},
    {"25e-1", 2},
    {"0.00001e5", 1},
    {"1e+3", 1000},
    {"1e", 1},
    {"1e+", 1},
    {"1e-400", 0},
    {"0e999999999999999999999", 0},
    // "&H" and "&O": hexadecimal and octal, as the bit pattern of a 32-bit integer.
    {"&H1F", 31},
    {"&h1f", 31},
    {"& H 1F", 31},
    {"&H1FG", 31},
    {"&O17", 15},
    {"&o777", 511},
    {"&O78", 7},
    {"&H", 0},
    {"&HG", 0},
    {"&X12", 0},
    {"-&H1", 0},
    {"&H7FFFFFFF", largest},
    {"&H80000000", smallest},
    {"&HFFFFFFFF", -1},
    {"&H0000000001", 1},
    {"&O37777777777", -1},
    // The edges of the 32-bit range.
    {"2147483647", largest},
    {"-2147483648", smallest},
    {"2147483647.4", largest},
    {"-2147483648.5", smallest},
    {"2.147483647e9", largest},
};

const char* const outOfRange[] = {
    "2147483648",
    "-2147483649",
    "2147483647.5",
    "-2147483648.6",
    "1e10",
    "3e9",
    "1e400",
    "0.001e400",
    "-1e99999999999999999999",
    "99999999999999999999999",
    "&H100000000",
    "&O40000000000",
};

} // namespace

TEST(NumberFromText, ReadsTheLeadingNumberRoundedHalfToEven) {
    for (const Reading& reading : readings) {
        EXPECT_EQ(numberFromText(QString::fromUtf8(reading.text)), reading.value)
            << '"' << reading.text << '"';
    }
}

TEST(NumberFromText, ANumberOutsideThe32BitRangeReadsAsNothing) {
    for (const char* text : outOfRange) {
        EXPECT_EQ(numberFromText(QString::fromUtf8(text)), std::nullopt) << '"' << text << '"';
    }
}
