#include "skin_test_support.h"

#include <cstring>

#include "color_key_region.h"

#ifndef CPK_ART_DIR
#define CPK_ART_DIR L""
#endif

namespace cpk::skin::test {

COLORREF ColorOf(char c)
{
    switch (c) {
    case '.': return RGB(0, 0, 0);
    case 'W': return RGB(255, 255, 255);
    case 'R': return RGB(255, 0, 0);
    case 'G': return RGB(0, 255, 0);
    case 'B': return RGB(0, 0, 255);
    case 'Y': return RGB(255, 255, 0);
    case 'C': return RGB(0, 255, 255);
    case 'M': return RGB(255, 0, 255);
    default: return RGB(64, 64, 64);
    }
}

HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& at)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = SwapRedBlue(at(x, y));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    SetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    return bitmap;
}

HBITMAP MakeBitmap(const std::vector<std::string>& rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows.front().size());
    return MakeBitmap(width, height, [&](int x, int y) {
        return ColorOf(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    });
}

HBITMAP LoadArt(const wchar_t* name)
{
    std::wstring path = std::wstring(CPK_ART_DIR) + L"/" + name;
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;  // a build-tree path seen from Wine
    return static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

std::vector<PixelRect> RegionRects(HRGN region)
{
    std::vector<PixelRect> rects;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0)
        return rects;
    std::vector<unsigned char> data(size);
    if (GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) == 0)
        return rects;
    RGNDATAHEADER header;
    std::memcpy(&header, data.data(), sizeof header);
    for (DWORD i = 0; i < header.nCount; ++i) {
        RECT r;
        std::memcpy(&r, data.data() + header.dwSize + i * sizeof(RECT), sizeof r);
        rects.push_back(PixelRect{r.left, r.top, r.right, r.bottom});
    }
    return rects;
}

std::vector<PixelRect> WindowRegionRects(HWND window, bool* hasRegion)
{
    UniqueRegion copy(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(window, copy.get());
    if (hasRegion != nullptr)
        *hasRegion = kind != ERROR;
    if (kind == ERROR)
        return {};
    return RegionRects(copy.get());
}

std::vector<RowRun> TopLeftKeyRuns(HBITMAP bitmap)
{
    const BitmapPixels image = ReadBitmapPixels(bitmap);
    return ScanTopLeftKeyRuns(image.pixels.data(), image.width, image.height, image.width);
}

int RegionCallCounter::calls = 0;

int WINAPI RegionCallCounter::Call(HWND window, HRGN region, BOOL redraw)
{
    ++calls;
    return SetWindowRgn(window, region, redraw);
}

void MoveMouseTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (screen.y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void MouseButton(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void Key(WORD vk, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

}  // namespace cpk::skin::test
