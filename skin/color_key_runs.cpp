#include "color_key_runs.h"

#include <algorithm>

namespace cpk::skin {

std::vector<RowRun> ScanColorKeyRuns(const std::uint32_t* pixels, int width, int height,
                                     std::ptrdiff_t stridePixels, std::uint32_t key)
{
    std::vector<RowRun> runs;
    if (pixels == nullptr || width <= 0 || height <= 0)
        return runs;
    key &= kColorMask;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stridePixels;
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & kColorMask) == key)
                ++x;
            if (x == width)
                break;
            const int start = x;
            while (x < width && (row[x] & kColorMask) != key)
                ++x;
            runs.push_back(RowRun{y, start, x});
        }
    }
    return runs;
}

std::vector<RowRun> ScanTopLeftKeyRuns(const std::uint32_t* pixels, int width, int height,
                                       std::ptrdiff_t stridePixels)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return {};
    return ScanColorKeyRuns(pixels, width, height, stridePixels, pixels[0]);
}

std::vector<PixelRect> BandRuns(const std::vector<RowRun>& runs)
{
    std::vector<PixelRect> bands;
    // [bandBegin, bands.size()) are the rectangles of the band still open;
    // they end at row openBottom.
    std::size_t bandBegin = 0;
    int openBottom = 0;
    std::size_t i = 0;
    while (i < runs.size()) {
        const int y = runs[i].y;
        std::size_t rowEnd = i;
        while (rowEnd < runs.size() && runs[rowEnd].y == y)
            ++rowEnd;
        const std::size_t rowCount = rowEnd - i;

        bool extends = bandBegin < bands.size() && openBottom == y && bands.size() - bandBegin == rowCount;
        for (std::size_t k = 0; extends && k < rowCount; ++k) {
            const PixelRect& r = bands[bandBegin + k];
            extends = r.left == runs[i + k].left && r.right == runs[i + k].right;
        }
        if (extends) {
            for (std::size_t k = bandBegin; k < bands.size(); ++k)
                bands[k].bottom = y + 1;
        } else {
            bandBegin = bands.size();
            for (std::size_t k = i; k < rowEnd; ++k)
                bands.push_back(PixelRect{runs[k].left, y, runs[k].right, y + 1});
        }
        openBottom = y + 1;
        i = rowEnd;
    }
    return bands;
}

int CountBands(const std::vector<PixelRect>& bands)
{
    int count = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (i == 0 || bands[i].top != bands[i - 1].top || bands[i].bottom != bands[i - 1].bottom)
            ++count;
    }
    return count;
}

PixelRect BoundingBox(const std::vector<RowRun>& runs)
{
    if (runs.empty())
        return {};
    PixelRect box{runs.front().left, runs.front().y, runs.front().right, runs.back().y + 1};
    for (const RowRun& run : runs) {
        box.left = std::min(box.left, run.left);
        box.right = std::max(box.right, run.right);
    }
    return box;
}

PixelRect FrameSourceRect(int stripWidth, int stripHeight, int frameCount, int frameIndex)
{
    if (frameCount < 1 || frameIndex < 0 || frameIndex >= frameCount || stripWidth <= 0 || stripHeight <= 0)
        return {};
    const int frameWidth = stripWidth / frameCount;
    if (frameWidth == 0)
        return {};
    return PixelRect{frameIndex * frameWidth, 0, (frameIndex + 1) * frameWidth, stripHeight};
}

}  // namespace cpk::skin
