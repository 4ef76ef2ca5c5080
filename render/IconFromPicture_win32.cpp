// Icon building: a monochrome mask from the key colour, and a colour image with the key pixels
// blacked out, so that the usual AND/XOR icon rule shows them transparent.
#include "render/IconFromPicture_win32.h"

#include "app/Handles.h"
#include "render/ResolveColor_win32.h"

namespace {
constexpr COLORREF kMagenta = 0x00FF00FF;
}

HICON IconFromPicture(HDC referenceDC, HBITMAP bitmap, LONG key) {
    // another kind of GDI object would fill part of the record and pass as a bitmap
    if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP) return nullptr;
    BITMAP description{};
    if (!GetObjectA(bitmap, sizeof description, &description)) return nullptr;
    const int width = description.bmWidth, height = description.bmHeight;
    const COLORREF keyColour =
        key == kDefaultIconKey ? kMagenta : ResolveColorWin32(static_cast<ColorValue>(key));

    // Declared before the selections that use them, so the selections are undone first.
    unique_hdc sourceDC(CreateCompatibleDC(nullptr));
    unique_hdc maskDC(CreateCompatibleDC(nullptr));
    unique_hdc colourDC(CreateCompatibleDC(referenceDC));
    // a fresh memory DC holds a one-bit bitmap, so this one is monochrome
    unique_hbitmap mask(CreateCompatibleBitmap(maskDC.get(), width, height));
    unique_hbitmap colour(CreateCompatibleBitmap(referenceDC, width, height));
    // Without either image CreateIconIndirect would not fail but build a wrong icon (with no
    // colour image it reads the mask as a double-height monochrome icon).
    if (!sourceDC || !maskDC || !colourDC || !mask || !colour) return nullptr;
    {
        unique_select_object sourceSelection(sourceDC.get(), bitmap);
        unique_select_object maskSelection(maskDC.get(), mask.get());
        unique_select_object colourSelection(colourDC.get(), colour.get());

        // Colour to monochrome: pixels equal to the source's background colour become 1.
        const COLORREF oldBackground = GetBkColor(sourceDC.get());
        SetBkColor(sourceDC.get(), keyColour);
        BitBlt(maskDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, SRCCOPY);
        SetBkColor(sourceDC.get(), oldBackground);

        BitBlt(colourDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, SRCCOPY);
        // Monochrome to colour: 1 becomes the background (black), 0 the text colour (white), so
        // the AND clears the key pixels and keeps every other pixel, black ones included.
        SetBkColor(colourDC.get(), RGB(0, 0, 0));
        SetTextColor(colourDC.get(), RGB(255, 255, 255));
        BitBlt(colourDC.get(), 0, 0, width, height, maskDC.get(), 0, 0, SRCAND);
    }
    // The picture goes back to its owner before the icon is made.
    sourceDC.reset();

    ICONINFO info{};
    info.fIcon = TRUE;
    info.xHotspot = 16;
    info.yHotspot = 16;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    // The system copies both images; ours are deleted on the way out.
    return CreateIconIndirect(&info);
}
