#include "zavure_graphics_engine.h"

#include "color_key_runs.h"

namespace cpk::skin {

classTZavureGraphicsEngine::classTZavureGraphicsEngine() noexcept
    : ShapeRegion(CreateRectRgn(0, 0, 0, 0)), setWindowRgn_(&::SetWindowRgn)
{
}

void classTZavureGraphicsEngine::CutFrame(SkinBitmap& destination, const SkinBitmap& strip, int frameCount,
                                          int frameIndex) const noexcept
{
    const PixelRect source = FrameSourceRect(strip.Width(), strip.Height(), frameCount, frameIndex);
    const int width = source.right - source.left;
    const int height = source.bottom - source.top;
    destination.SetSize(width, height);
    if (destination.Canvas() == nullptr || strip.Canvas() == nullptr)
        return;
    BitBlt(destination.Canvas(), 0, 0, width, height, strip.Canvas(), source.left, source.top, SRCCOPY);
}

void classTZavureGraphicsEngine::ApplyColorKeyRegion(HWND window, HRGN appliedRegion, HDC canvas)
{
    int width = 0;
    int height = 0;
    RECT clip{};
    if (canvas != nullptr && GetClipBox(canvas, &clip) != ERROR) {
        width = clip.right - clip.left;
        height = clip.bottom - clip.top;
    }
    std::vector<RowRun> runs;
    if (width > 0 && height > 0) {
        if (const std::uint32_t* pixels = reader_.Read(canvas, width, height))
            runs = ScanTopLeftKeyRuns(pixels, width, height, reader_.Stride());
        else
            return;  // could not read the image: leave the window as it is
    }
    UniqueRegion shape = CreateRegionFromBands(BandRuns(runs));
    if (!shape)
        return;
    ShapeRegion = std::move(shape);

    if (appliedRegion != nullptr && EqualRgn(ShapeRegion.get(), appliedRegion))
        return;

    UniqueRegion handed(CreateRectRgn(0, 0, 0, 0));
    if (!handed || CombineRgn(handed.get(), ShapeRegion.get(), nullptr, RGN_COPY) == ERROR)
        return;
    if (appliedRegion != nullptr)
        CombineRgn(appliedRegion, ShapeRegion.get(), nullptr, RGN_COPY);
    // The applied copy is updated before the window takes the region: the
    // window repaints inside SetWindowRgn, the skin redraws and calls again,
    // and that call must find nothing to change.
    const HRGN region = handed.release();
    if (setWindowRgn_(window, region, TRUE) == 0) {
        // Refused (no such window): the region is still ours, and nothing
        // counts as applied, so the next call tries again.
        DeleteObject(region);
        if (appliedRegion != nullptr)
            SetRectRgn(appliedRegion, 0, 0, 0, 0);
    }
}

}  // namespace cpk::skin
