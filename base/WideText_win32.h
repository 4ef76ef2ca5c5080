// UTF-8 <-> UTF-16 conversion at the platform edge (the core keeps UTF-8 std::string).
#pragma once

#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The dialog's texts are kept as char16_t so the core builds anywhere; on Windows wchar_t is the
// same UTF-16, so this is a copy.
std::wstring WidenUtf16(std::u16string_view utf16);
