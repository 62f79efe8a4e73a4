#include "color_key_region.h"

#include <algorithm>
#include <cstring>

namespace cpk::skin {

namespace {

// One ExtCreateRegion call for rects [first, last), which hold whole or
// partial bands in banded order; null if the system refuses.
UniqueRegion RegionFromRects(const PixelRect* first, const PixelRect* last)
{
    const std::size_t count = static_cast<std::size_t>(last - first);
    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(count);
    header.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    header.rcBound = RECT{first->left, first->top, first->right, (last - 1)->bottom};
    unsigned char* out = data.data() + sizeof header;
    for (const PixelRect* r = first; r != last; ++r) {
        header.rcBound.left = std::min<LONG>(header.rcBound.left, r->left);
        header.rcBound.right = std::max<LONG>(header.rcBound.right, r->right);
        const RECT rect{r->left, r->top, r->right, r->bottom};
        std::memcpy(out, &rect, sizeof rect);
        out += sizeof rect;
    }
    std::memcpy(data.data(), &header, sizeof header);
    UniqueRegion region(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
    if (region)
        return region;

    // Refused (some systems limit the size of region data): by union.
    region.reset(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion piece(CreateRectRgn(0, 0, 0, 0));
    if (!region || !piece)
        return UniqueRegion();
    for (const PixelRect* r = first; r != last; ++r) {
        SetRectRgn(piece.get(), r->left, r->top, r->right, r->bottom);
        CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
    }
    return region;
}

}  // namespace

UniqueRegion CreateRegionFromBands(const std::vector<PixelRect>& bands)
{
    if (bands.empty())
        return UniqueRegion(CreateRectRgn(0, 0, 0, 0));

    // Some region implementations add the rectangles of region data one by
    // one, which grows with the square of their number. Images with many
    // runs (a speckled picture) are built in chunks instead and the chunks,
    // which lie in disjoint row ranges, merged pairwise.
    constexpr std::size_t kChunk = 256;
    std::vector<UniqueRegion> parts;
    for (std::size_t i = 0; i < bands.size(); i += kChunk) {
        const std::size_t end = std::min(bands.size(), i + kChunk);
        UniqueRegion part = RegionFromRects(bands.data() + i, bands.data() + end);
        if (!part)
            return UniqueRegion();
        parts.push_back(std::move(part));
    }
    while (parts.size() > 1) {
        std::vector<UniqueRegion> merged;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            CombineRgn(parts[i].get(), parts[i].get(), parts[i + 1].get(), RGN_OR);
            merged.push_back(std::move(parts[i]));
        }
        if (parts.size() % 2 == 1)
            merged.push_back(std::move(parts.back()));
        parts = std::move(merged);
    }
    return std::move(parts.front());
}

BitmapPixels ReadBitmapPixels(HBITMAP bitmap)
{
    BitmapPixels result;
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 ||
        info.bmHeight == 0)
        return result;
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &request, DIB_RGB_COLORS) !=
        height)
        return result;
    result.width = width;
    result.height = height;
    result.pixels = std::move(pixels);
    return result;
}

UniqueRegion CreateColorKeyRegion(HBITMAP bitmap, COLORREF key)
{
    const BitmapPixels image = ReadBitmapPixels(bitmap);
    if (image.pixels.empty())
        return UniqueRegion();
    const auto runs = ScanColorKeyRuns(image.pixels.data(), image.width, image.height, image.width,
                                       SwapRedBlue(static_cast<std::uint32_t>(key)));
    return CreateRegionFromBands(BandRuns(runs));
}

SurfacePixelReader::~SurfacePixelReader()
{
    if (dc_ && original_)
        SelectObject(dc_.get(), original_);
}

const std::uint32_t* SurfacePixelReader::Read(HDC source, int width, int height) noexcept
{
    if (source == nullptr || width <= 0 || height <= 0)
        return nullptr;
    if (width > capacityWidth_ || height > capacityHeight_) {
        if (!dc_)
            dc_.reset(CreateCompatibleDC(nullptr));
        if (!dc_)
            return nullptr;
        const int newWidth = std::max(width, capacityWidth_);
        const int newHeight = std::max(height, capacityHeight_);
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        request.bmiHeader.biWidth = newWidth;
        request.bmiHeader.biHeight = -newHeight;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap section(CreateDIBSection(dc_.get(), &request, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!section || bits == nullptr)
            return nullptr;
        const HGDIOBJ previous = SelectObject(dc_.get(), section.get());
        if (previous == nullptr || previous == HGDI_ERROR)
            return nullptr;
        if (original_ == nullptr)
            original_ = previous;  // keep the stock bitmap, not our old section
        section_ = std::move(section);
        bits_ = static_cast<std::uint32_t*>(bits);
        capacityWidth_ = newWidth;
        capacityHeight_ = newHeight;
    }
    if (!BitBlt(dc_.get(), 0, 0, width, height, source, 0, 0, SRCCOPY))
        return nullptr;
    GdiFlush();  // the bits are read by the CPU next
    return bits_;
}

}  // namespace cpk::skin
