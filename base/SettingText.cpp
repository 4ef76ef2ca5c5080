// Reading and writing the text forms of the stored settings.
#include "base/SettingText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// "&H" / "&O" numbers: the digits form a 32-bit pattern; wider numbers are out of range.
std::optional<std::int32_t> ParseRadix(std::string_view text, std::size_t pos, unsigned radix) {
    std::uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IsIgnored(c)) continue;
        const int digit = DigitValue(c);
        if (digit >= static_cast<int>(radix)) break;
        value = value * radix + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Whether the decimal number `clean` (sign, digits, point, exponent, no blanks) is 1 or more in
// size, judged by the place of its first significant digit; it must have one. The exponent
// saturates, so no text is too long to judge.
bool AtLeastOne(std::string_view clean) {
    const std::size_t e = clean.find('e');
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t pos = e + 1;
        const bool negative = pos < clean.size() && clean[pos] == '-';
        if (pos < clean.size() && (clean[pos] == '-' || clean[pos] == '+')) ++pos;
        for (; pos < clean.size(); ++pos)
            exponent = std::min(exponent * 10 + (clean[pos] - '0'), 1'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    const std::string_view mantissa = clean.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    // the power of ten of the first significant digit
    const long long place =
        first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
    return place + exponent >= 0;
}

} // namespace

std::optional<std::int32_t> ParseSettingNumber(std::string_view text) {
    std::size_t pos = 0;
    auto skip = [&] {
        while (pos < text.size() && IsIgnored(text[pos]))
            ++pos;
    };
    skip();
    if (pos < text.size() && text[pos] == '&') {
        std::size_t next = pos + 1;
        while (next < text.size() && IsIgnored(text[next]))
            ++next;
        if (next < text.size() && (text[next] == 'H' || text[next] == 'h'))
            return ParseRadix(text, next + 1, 16);
        if (next < text.size() && (text[next] == 'O' || text[next] == 'o'))
            return ParseRadix(text, next + 1, 8);
        return 0;
    }

    // Gather the number without its blanks, then let from_chars do the decimal conversion,
    // which is exact and does not depend on the C locale.
    std::string clean;
    auto take_digits = [&] {
        bool any = false;
        for (skip(); pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; skip()) {
            clean += text[pos++];
            any = true;
        }
        return any;
    };
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') clean += '-';
        ++pos;
    }
    bool mantissa = take_digits();
    skip();
    if (pos < text.size() && text[pos] == '.') {
        clean += '.';
        ++pos;
        mantissa = take_digits() || mantissa;
    }
    if (!mantissa) return 0;
    skip();
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        // an exponent counts only when digits follow it ("1e" reads as 1)
        const std::size_t mark = pos;
        const std::size_t length = clean.size();
        clean += 'e';
        ++pos;
        skip();
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) clean += text[pos++];
        if (!take_digits()) {
            clean.resize(length);
            pos = mark;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    (void)end;
    // beyond a double: a value below 1 in size is as good as 0, one above it is out of range
    if (error == std::errc::result_out_of_range) return AtLeastOne(clean) ? std::nullopt : std::optional(0);
    if (error != std::errc()) return 0;
    const double rounded = std::nearbyint(value); // default rounding mode: halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

bool ParseSettingFlag(std::string_view text) {
    return text == "1";
}

std::string FormatSettingNumber(std::int32_t value) {
    return std::to_string(value);
}
