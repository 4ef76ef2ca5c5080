// UTF-8 <-> UTF-16 conversion at the platform edge (the core keeps UTF-8 std::string).
#pragma once

#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
