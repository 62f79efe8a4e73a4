// A device bitmap with its own drawing surface: the bitmap stays selected
// into a memory DC for its whole life, so drawing on it and copying from it
// need no selection dance. Used for the strip, frame and buffer images of a
// button skin.
#pragma once

#include <windows.h>

#include "unique_handle.h"

namespace cpk::skin {

class SkinBitmap {
public:
    SkinBitmap() noexcept = default;
    ~SkinBitmap();
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    [[nodiscard]] int Width() const noexcept { return width_; }
    [[nodiscard]] int Height() const noexcept { return height_; }
    [[nodiscard]] bool Empty() const noexcept { return bitmap_.get() == nullptr; }

    // Takes ownership of bitmap; the image held before is released. A null
    // handle, or one that cannot be selected into a DC, leaves the bitmap
    // empty (and a handle that was refused is released all the same, since
    // ownership passed with the call).
    void Adopt(HBITMAP bitmap) noexcept;

    // Resizes to width × height at the screen's colour depth, keeping the
    // pixels that still fit; new pixels are black. A size of zero in either
    // direction empties the bitmap.
    void SetSize(int width, int height) noexcept;

    // The drawing surface, with the bitmap selected; null while empty.
    [[nodiscard]] HDC Canvas() const noexcept { return Empty() ? nullptr : dc_.get(); }

private:
    void Release() noexcept;  // deselects and deletes the bitmap

    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;  // the DC's stock bitmap while ours is in
    int width_ = 0;
    int height_ = 0;
};

}  // namespace cpk::skin
