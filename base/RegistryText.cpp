// Registry value data as text.
#include "base/RegistryText.h"

#include <cstddef>

std::wstring TextFromRegistryData(std::span<const std::uint8_t> data) {
    std::wstring text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}
