// Colour-key run scan and sprite-strip frame cutting: the portable heart of
// the window shapes. A shaped window consists of every pixel of its image
// whose colour differs from the key colour; the scan finds those pixels as
// horizontal runs, one per maximal non-key stretch of each row, and can fold
// them into the banded rectangle form that system regions are made of.
//
// Used by the button skins (key = the frame's top-left pixel, taken anew for
// every image) and by the main window's outline (key = the mask colour).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cpk::skin {

// Pixels [left, right) of row y; right is exclusive, like region rectangles.
struct RowRun {
    int y = 0;
    int left = 0;
    int right = 0;
    friend bool operator==(const RowRun&, const RowRun&) = default;
};

// A rectangle with right and bottom excluded.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Readable forms for test failure messages and diagnostics.
template <typename Stream>
Stream& operator<<(Stream& out, const RowRun& run)
{
    out << "row " << run.y << " [" << run.left << ", " << run.right << ")";
    return out;
}
template <typename Stream>
Stream& operator<<(Stream& out, const PixelRect& r)
{
    out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
    return out;
}

// Only the low 24 bits of a pixel are its colour; the top byte (alpha or
// padding, depending on who filled the buffer) never takes part in a compare.
inline constexpr std::uint32_t kColorMask = 0x00FFFFFFu;

// A colour value 0x00BBGGRR (red in the low byte) as a 32-bit DIB pixel
// 0x00RRGGBB, and back: the two layouts differ by swapping red and blue.
[[nodiscard]] constexpr std::uint32_t SwapRedBlue(std::uint32_t color) noexcept
{
    return ((color & 0x000000FFu) << 16) | (color & 0x0000FF00u) | ((color & 0x00FF0000u) >> 16);
}

// Scans width × height pixels, row y starting at pixels + y * stridePixels,
// and returns the runs of pixels whose colour differs from key, row by row
// from the top, left to right within a row. Rows are read in memory order, so
// a bottom-up buffer is scanned by passing its last row and a negative stride.
// Zero or negative sizes, or a null buffer, give no runs.
[[nodiscard]] std::vector<RowRun> ScanColorKeyRuns(const std::uint32_t* pixels, int width, int height,
                                                   std::ptrdiff_t stridePixels, std::uint32_t key);

// The same scan with the key taken from the image itself: the colour of
// pixel (0, 0). This is what the button skins use on every redraw.
[[nodiscard]] std::vector<RowRun> ScanTopLeftKeyRuns(const std::uint32_t* pixels, int width, int height,
                                                     std::ptrdiff_t stridePixels);

// Folds runs (as ScanColorKeyRuns returns them: rows ascending, runs of a row
// ascending and disjoint) into bands: consecutive rows with identical runs
// share one rectangle per run. The result is sorted by top, then left, and is
// the canonical banded form a system region reports for the same pixels.
[[nodiscard]] std::vector<PixelRect> BandRuns(const std::vector<RowRun>& runs);

// Number of bands in a banded rectangle list (rectangles sharing top/bottom).
[[nodiscard]] int CountBands(const std::vector<PixelRect>& bands);

// The smallest rectangle holding all runs; empty (all zero) for no runs.
[[nodiscard]] PixelRect BoundingBox(const std::vector<RowRun>& runs);

// Where frame frameIndex of a strip lies: frames stand side by side, each
// stripWidth / frameCount pixels wide (truncated) and stripHeight high, so
// columns beyond frameCount × frameWidth are never part of a frame. A frame
// count below 1 or an index outside 0 .. frameCount - 1 gives an empty
// rectangle instead of reading beside the strip.
[[nodiscard]] PixelRect FrameSourceRect(int stripWidth, int stripHeight, int frameCount, int frameIndex);

}  // namespace cpk::skin
