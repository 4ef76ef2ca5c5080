// Reading and writing the text forms of the stored settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads the leading number of a stored text the way the store has always been read: blanks,
// tabs and line feeds are ignored wherever they stand; an optional sign, digits, a decimal
// point with digits and an exponent are taken; "&H" and "&O" introduce hexadecimal and octal
// whole numbers; reading stops at the first character that cannot continue the number. The
// number is rounded to the nearest whole number, halves to the even neighbour. A text with no
// leading number reads as 0.
//
// Returns nullopt when the number does not fit a signed 32-bit integer (a decimal outside
// -2147483648..2147483647 after rounding, or a hexadecimal/octal number wider than 32 bits),
// so that the caller can fall back to the setting's default instead of a wrapped value.
// Hexadecimal and octal numbers are 32-bit patterns: "&HFFFFFFFF" is -1 and "&H80000008"
// names system colour 8.
std::optional<std::int32_t> ParseSettingNumber(std::string_view text);

// A flag is set only by the exact text "1".
bool ParseSettingFlag(std::string_view text);

std::string FormatSettingNumber(std::int32_t value);
inline std::string FormatSettingFlag(bool value) {
    return value ? "1" : "0";
}
