// The colour chooser's dialog-type table.
#include "settings_ui/ColorDialog.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ColorDialogFlags, DialogTypeTable) {
    struct Case {
        std::int16_t type;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {1, 0x103}, // custom colours expanded: what the settings dialog asks for
        {2, 0x105}, // expanding prevented
        {0, 0x101}, // everything else is the basic dialog
        {3, 0x101}, {-1, 0x101}, {32767, 0x101}, {-32768, 0x101},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorDialogFlags(c.type), c.flags) << "type " << c.type;
}
