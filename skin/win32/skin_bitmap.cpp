#include "skin_bitmap.h"

#include <algorithm>

namespace cpk::skin {

SkinBitmap::~SkinBitmap()
{
    Release();
}

void SkinBitmap::Release() noexcept
{
    if (bitmap_ && dc_ && original_) {
        SelectObject(dc_.get(), original_);
        original_ = nullptr;
    }
    bitmap_.reset();
    width_ = 0;
    height_ = 0;
}

void SkinBitmap::Adopt(HBITMAP bitmap) noexcept
{
    if (bitmap != nullptr && bitmap == bitmap_.get())
        return;  // already ours
    UniqueBitmap incoming(bitmap);
    Release();
    if (!incoming)
        return;
    BITMAP info{};
    if (GetObjectW(incoming.get(), sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight == 0)
        return;
    if (!dc_)
        dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_)
        return;
    const HGDIOBJ previous = SelectObject(dc_.get(), incoming.get());
    if (previous == nullptr || previous == HGDI_ERROR)
        return;
    original_ = previous;
    bitmap_ = std::move(incoming);
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

void SkinBitmap::SetSize(int width, int height) noexcept
{
    if (width == width_ && height == height_)
        return;
    if (width <= 0 || height <= 0) {
        Release();
        return;
    }
    UniqueBitmap fresh;
    {
        WindowDc screen(nullptr);
        fresh.reset(CreateCompatibleBitmap(screen.get(), width, height));
    }
    if (!fresh)
        return;
    UniqueMemoryDc scratch(CreateCompatibleDC(nullptr));
    if (!scratch)
        return;
    {
        SelectedObject selected(scratch.get(), fresh.get());
        PatBlt(scratch.get(), 0, 0, width, height, BLACKNESS);
        if (!Empty())
            BitBlt(scratch.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.get(), 0, 0, SRCCOPY);
    }
    Adopt(fresh.release());
}

}  // namespace cpk::skin
