// Times one colour-key region build for the exit button (103 × 34), the web
// button (234 × 22) and the whole window mask (813 × 553), two ways in the
// same run:
//   baseline: one GetPixel per pixel and one CombineRgn union per run;
//   engine:   one copy of the image into a 32-bit buffer, the portable run
//             scan, and one ExtCreateRegion from the banded rectangles.
// Prints the median time of each and checks that both give the same region.
//
// Usage: skin_region_bench [mask.bmp [exit-strip.bmp [web-strip.bmp]]]
// Without files it draws stand-in images of the same sizes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "color_key_region.h"
#include "color_key_runs.h"
#include "skin_bitmap.h"
#include "unique_handle.h"
#include "zavure_graphics_engine.h"

namespace {

using cpk::UniqueRegion;
using namespace cpk::skin;

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

template <typename F>
double MedianMicroseconds(int repeats, F&& build)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        build();
        times.push_back((Now() - start) * 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

UniqueRegion BaselineRegion(HDC canvas, int width, int height, COLORREF key)
{
    UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion run(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < height; ++y) {
        int x = 0;
        for (;;) {
            while (x < width && GetPixel(canvas, x, y) == key)
                ++x;
            const int start = x;
            while (x < width && GetPixel(canvas, x, y) != key)
                ++x;
            SetRectRgn(run.get(), start, y, x, y + 1);
            CombineRgn(shape.get(), shape.get(), run.get(), RGN_OR);
            if (x >= width)
                break;
        }
    }
    return shape;
}

UniqueRegion EngineRegion(SurfacePixelReader& reader, HDC canvas, int width, int height, COLORREF key)
{
    const std::uint32_t* pixels = reader.Read(canvas, width, height);
    if (pixels == nullptr)
        return UniqueRegion();
    const auto runs = ScanColorKeyRuns(pixels, width, height, reader.Stride(), SwapRedBlue(key));
    return CreateRegionFromBands(BandRuns(runs));
}

// A stand-in picture: black key background, a plate with slanted corners,
// specks and stripes, so rows hold several runs.
void DrawStandIn(HDC dc, int width, int height)
{
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool corner = x + y < 6 || (width - 1 - x) + (height - 1 - y) < 4;
            const bool speck = (x * 7 + y * 13) % 29 == 0;
            if (!corner && !speck)
                SetPixelV(dc, x, y, RGB(60 + (x % 40), 20, 30 + (y % 50)));
        }
}

struct Subject {
    const char* name;
    SkinBitmap image;
    COLORREF key = 0;
    bool keyFromImage = true;
};

void LoadOrDraw(Subject& subject, const wchar_t* file, int width, int height, int frameCount)
{
    if (file != nullptr) {
        auto* loaded = static_cast<HBITMAP>(LoadImageW(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (loaded != nullptr) {
            if (frameCount > 1) {
                SkinBitmap strip;
                strip.Adopt(loaded);
                classTZavureGraphicsEngine engine;
                engine.CutFrame(subject.image, strip, frameCount, 0);
            } else {
                subject.image.Adopt(loaded);
            }
            return;
        }
        std::fwprintf(stderr, L"cannot load %ls, drawing a stand-in\n", file);
    }
    subject.image.SetSize(width, height);
    DrawStandIn(subject.image.Canvas(), width, height);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Subject subjects[3] = {{"exit button 103x34", {}}, {"web button 234x22", {}}, {"window mask 813x553", {}}};
    LoadOrDraw(subjects[0], argc > 2 ? argv[2] : nullptr, 103, 34, 4);
    LoadOrDraw(subjects[1], argc > 3 ? argv[3] : nullptr, 234, 22, 4);
    LoadOrDraw(subjects[2], argc > 1 ? argv[1] : nullptr, 813, 553, 1);
    subjects[2].key = RGB(245, 255, 255);
    subjects[2].keyFromImage = argc > 1 ? false : true;

    std::printf("%-22s %8s %14s %14s %8s %s\n", "image", "pixels", "GetPixel us", "engine us", "ratio", "regions");
    SurfacePixelReader reader;
    for (Subject& s : subjects) {
        HDC canvas = s.image.Canvas();
        const int width = s.image.Width();
        const int height = s.image.Height();
        if (canvas == nullptr) {
            std::printf("%-22s no image\n", s.name);
            continue;
        }
        const COLORREF key = s.keyFromImage ? GetPixel(canvas, 0, 0) : s.key;
        const int repeats = width * height > 100000 ? 5 : 50;
        const double baseline = MedianMicroseconds(repeats, [&] { (void)BaselineRegion(canvas, width, height, key); });
        const double engine = MedianMicroseconds(repeats * 10, [&] { (void)EngineRegion(reader, canvas, width, height, key); });
        const UniqueRegion a = BaselineRegion(canvas, width, height, key);
        const UniqueRegion b = EngineRegion(reader, canvas, width, height, key);
        const bool same = a && b && EqualRgn(a.get(), b.get());
        std::printf("%-22s %8d %14.1f %14.1f %7.1fx %s\n", s.name, width * height, baseline, engine,
                    engine > 0 ? baseline / engine : 0.0, same ? "equal" : "DIFFER");
    }
    return 0;
}
