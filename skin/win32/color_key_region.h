// System regions from colour-key scans: reading an image's pixels straight
// from its bits (one copy into a 32-bit buffer instead of one GetPixel per
// pixel) and building the region in one ExtCreateRegion call from the banded
// rectangles. Shared by the button skins and the main window's outline.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "color_key_runs.h"
#include "unique_handle.h"

namespace cpk::skin {

// A region of exactly the given banded rectangles (BandRuns output); the
// empty rectangle (0, 0, 0, 0) for none. Null only if the system refuses.
[[nodiscard]] UniqueRegion CreateRegionFromBands(const std::vector<PixelRect>& bands);

// The pixels of a bitmap as 32-bit values 0x00RRGGBB, top row first, width
// pixels per row. The bitmap must not be selected into a DC. Empty on
// failure (null or unreadable bitmap).
struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
[[nodiscard]] BitmapPixels ReadBitmapPixels(HBITMAP bitmap);

// The region of every pixel of bitmap whose colour differs from key, a colour
// value 0x00BBGGRR (for the main window: the mask colour 0x00FFFFF5). Pixel
// (x, y) of the bitmap is (x, y) of the region. Null if the bitmap cannot
// be read.
[[nodiscard]] UniqueRegion CreateColorKeyRegion(HBITMAP bitmap, COLORREF key);

// Copies the top-left width × height pixels of a drawing surface into a
// 32-bit top-down buffer it keeps, so the colours are those of the drawn
// image at its own depth, and hands out that buffer. The buffer is kept
// between calls and only replaced when a larger one is needed.
class SurfacePixelReader {
public:
    SurfacePixelReader() noexcept = default;
    SurfacePixelReader(const SurfacePixelReader&) = delete;
    SurfacePixelReader& operator=(const SurfacePixelReader&) = delete;
    ~SurfacePixelReader();

    // Pixels of row y start at result + y * Stride(); null on failure or for
    // an empty size.
    [[nodiscard]] const std::uint32_t* Read(HDC source, int width, int height) noexcept;
    [[nodiscard]] std::ptrdiff_t Stride() const noexcept { return capacityWidth_; }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap section_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int capacityWidth_ = 0;
    int capacityHeight_ = 0;
};

}  // namespace cpk::skin
