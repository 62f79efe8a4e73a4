// The frame and region engine of the button skins: cuts one frame out of a
// sprite strip, and shapes a window to the non-key pixels of an image drawn
// for it, handing the window a new region only when the shape has changed.
// One engine per skinned button, held by value; it keeps its scratch region
// and pixel buffer between calls and no reference to any argument.
#pragma once

#include <windows.h>

#include "color_key_region.h"
#include "skin_bitmap.h"
#include "unique_handle.h"

namespace cpk::skin {

class classTZavureGraphicsEngine {
public:
    using SetWindowRgnFunction = int(WINAPI*)(HWND, HRGN, BOOL);

    classTZavureGraphicsEngine() noexcept;
    classTZavureGraphicsEngine(const classTZavureGraphicsEngine&) = delete;
    classTZavureGraphicsEngine& operator=(const classTZavureGraphicsEngine&) = delete;

    // Resizes destination to one frame (strip width / frameCount, truncated,
    // by the strip's height) and copies frame frameIndex into it. A count
    // below 1 or an index out of range empties the destination.
    void CutFrame(SkinBitmap& destination, const SkinBitmap& strip, int frameCount, int frameIndex) const noexcept;

    // Scans the image on canvas (its clip box gives the size; pixel (0, 0)
    // is the key) and, if the resulting region differs from appliedRegion,
    // makes appliedRegion a copy of it and gives the window another copy with
    // redraw. appliedRegion belongs to the caller and must start as the empty
    // rectangle. A null canvas counts as an empty image.
    void ApplyColorKeyRegion(HWND window, HRGN appliedRegion, HDC canvas);

    // Seam for tests: the call that hands a region to a window.
    void SetWindowRgnCall(SetWindowRgnFunction call) noexcept { setWindowRgn_ = call; }

private:
    UniqueRegion ShapeRegion;  // the region of the last scan
    SurfacePixelReader reader_;
    SetWindowRgnFunction setWindowRgn_;
};

}  // namespace cpk::skin
