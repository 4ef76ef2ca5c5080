// Feeds arbitrary bytes to the settings text reader: it must never crash, and every number it
// gives back must come from a text that really denotes a 32-bit value.
#include "base/SettingText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto number = ParseSettingNumber(text);
    if (number) {
        // formatting and reading again must give the same value
        const auto again = ParseSettingNumber(FormatSettingNumber(*number));
        if (!again || *again != *number) std::abort();
    }
    if (ParseSettingFlag(text) != (text == "1")) std::abort();
    return 0;
}
