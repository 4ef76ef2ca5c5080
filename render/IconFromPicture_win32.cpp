// The icon is made in one call from an icon image laid out in memory. Going through device
// contexts and bitmaps (a mask blitted from the picture, a colour copy with the key blacked out)
// gives the same icon but costs several times more, most of it in the display driver, and the
// tray clock builds one about once a second.
#include "render/IconFromPicture_win32.h"

#include "render/IconImage.h"
#include "base/ResolveColor_win32.h"

unique_hicon IconFromPicture(const Picture& picture, LONG key) {
    const ColorValue keyColour =
        key == kDefaultIconKey ? Picture::kBackground : ResolveColorWin32(static_cast<ColorValue>(key));
    IconImage image;
    MakeIconImage(picture, keyColour, image);
    // 0x00030000: the icon format version every Windows since 3.0 reads.
    return unique_hicon(CreateIconFromResourceEx(image.bytes.data(), static_cast<DWORD>(image.size), TRUE,
                                                 0x00030000, picture.width(), picture.height(),
                                                 LR_DEFAULTCOLOR));
}
