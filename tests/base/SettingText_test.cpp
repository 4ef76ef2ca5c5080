// Half-broken and hand-edited setting texts, as a user or an old version may have left them.
#include "base/SettingText.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <optional>
#include <string>

namespace {

struct NumberCase {
    const char* text;
    std::optional<std::int32_t> expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumber, ReadsLeadingNumber) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(ParseSettingNumber(c.text), c.expected) << "text: [" << c.text << "]";
}

constexpr std::optional<std::int32_t> kOut = std::nullopt;
// about 1e-331 and 1e395, beyond a double either way
const std::string kTiny = "0." + std::string(330, '0') + "1";
const std::string kHuge = "1" + std::string(400, '0') + "e-5";

INSTANTIATE_TEST_SUITE_P(Plain, ParseNumber,
                         testing::Values(NumberCase{"1", 1}, NumberCase{"16777215", 16777215},
                                         NumberCase{"-2147483640", -2147483640}, NumberCase{"0", 0},
                                         NumberCase{"+5", 5}, NumberCase{"007", 7}));

INSTANTIATE_TEST_SUITE_P(Blanks, ParseNumber,
                         testing::Values(NumberCase{" 3", 3}, NumberCase{"3 ", 3},
                                         NumberCase{"16 777 215", 16777215}, NumberCase{"\t1\n2", 12},
                                         NumberCase{"- 4", -4}, NumberCase{"1 . 5", 2},
                                         NumberCase{"1e 2", 100}, NumberCase{"&H F F", 255},
                                         // a carriage return is not a blank: it ends the number
                                         NumberCase{"1\r2", 1}));

INSTANTIATE_TEST_SUITE_P(NotANumber, ParseNumber,
                         testing::Values(NumberCase{"", 0}, NumberCase{"   ", 0}, NumberCase{"abc", 0},
                                         NumberCase{"x12", 0}, NumberCase{"-", 0}, NumberCase{".", 0},
                                         NumberCase{"+.e5", 0}, NumberCase{"&", 0}, NumberCase{"&X12", 0},
                                         NumberCase{"&H", 0}, NumberCase{"true", 0}));

INSTANTIATE_TEST_SUITE_P(StopsAtJunk, ParseNumber,
                         testing::Values(NumberCase{"12abc", 12}, NumberCase{"3,5", 3}, NumberCase{"1-2", 1},
                                         NumberCase{"1e", 1}, NumberCase{"1e+", 1}, NumberCase{"2e1x", 20},
                                         NumberCase{"1.2.3", 1}, NumberCase{"&H1G", 1},
                                         NumberCase{"&O78", 7}));

// Halves go to the even neighbour, as the store has always been read.
INSTANTIATE_TEST_SUITE_P(Rounding, ParseNumber,
                         testing::Values(NumberCase{"2.5", 2}, NumberCase{"3.5", 4}, NumberCase{"-2.5", -2},
                                         NumberCase{"-3.5", -4}, NumberCase{"0.5", 0}, NumberCase{".5", 0},
                                         NumberCase{"1.5", 2}, NumberCase{"2.4999", 2}, NumberCase{"2.51", 3},
                                         NumberCase{"1.6E1", 16}, NumberCase{"25e-1", 2},
                                         NumberCase{"1e-999", 0},
                                         // below the smallest double: as good as 0
                                         NumberCase{kTiny.c_str(), 0}, NumberCase{"-1e-400", 0}));

INSTANTIATE_TEST_SUITE_P(Radix, ParseNumber,
                         testing::Values(NumberCase{"&HFF8000", 0xFF8000}, NumberCase{"&hff", 255},
                                         NumberCase{"&O17", 15}, NumberCase{"&o777", 511},
                                         NumberCase{"&HFFFFFFFF", -1},
                                         NumberCase{"&H80000008", static_cast<std::int32_t>(0x80000008u)},
                                         NumberCase{"&H000000000001", 1}));

// Outside 32 bits is reported, never wrapped into some other value.
INSTANTIATE_TEST_SUITE_P(OutOfRange, ParseNumber,
                         testing::Values(NumberCase{"2147483647", 2147483647},
                                         NumberCase{"-2147483648", INT32_MIN},
                                         NumberCase{"2147483647.4", 2147483647},
                                         NumberCase{"2147483647.5", kOut}, NumberCase{"2147483648", kOut},
                                         NumberCase{"-2147483649", kOut}, NumberCase{"4294967295", kOut},
                                         NumberCase{"99999999999999999999", kOut}, NumberCase{"1e10", kOut},
                                         NumberCase{"-1e999", kOut}, NumberCase{kHuge.c_str(), kOut},
                                         NumberCase{"-2147483648.5", INT32_MIN},
                                         NumberCase{"&H100000000", kOut}, NumberCase{"&O40000000000", kOut}));

TEST(ParseFlag, OnlyExactOneIsTrue) {
    EXPECT_TRUE(ParseSettingFlag("1"));
    for (const char* text : {"0", "", "-1", "true", "True", "TRUE", " 1", "1 ", "01", "1.0", "2", "yes"})
        EXPECT_FALSE(ParseSettingFlag(text)) << text;
}

TEST(FormatNumber, PlainDecimal) {
    EXPECT_EQ(FormatSettingNumber(16744448), "16744448");
    EXPECT_EQ(FormatSettingNumber(0), "0");
    EXPECT_EQ(FormatSettingNumber(-2147483640), "-2147483640");
    EXPECT_EQ(FormatSettingNumber(INT32_MIN), "-2147483648");
    EXPECT_EQ(FormatSettingFlag(true), "1");
    EXPECT_EQ(FormatSettingFlag(false), "0");
}

TEST(FormatNumber, RoundTripsEveryWrittenValue) {
    for (std::int32_t v : {0, 1, -1, 255, 38400, 16777215, INT32_MAX, INT32_MIN, -2147483640})
        EXPECT_EQ(ParseSettingNumber(FormatSettingNumber(v)), v);
}

} // namespace
