// The Windows side of the race engine's interfaces: the performance
// counter, the pairing timers (the form's window timers) and the cursor.
#pragma once

#include <windows.h>

#include "controls.h"
#include "race_engine.h"

namespace cpk {

class QpcCounter final : public PerformanceCounter {
public:
    std::int64_t Read() override
    {
        LARGE_INTEGER v;
        QueryPerformanceCounter(&v);
        return v.QuadPart;
    }
    std::int64_t Frequency() override
    {
        LARGE_INTEGER v;
        QueryPerformanceFrequency(&v);
        return v.QuadPart;
    }
};

class FormTimer final : public PairingTimer {
public:
    explicit FormTimer(TTimer& timer) : timer_(timer) {}
    void Start() override { timer_.SetEnabled(true); }
    void Stop() override { timer_.SetEnabled(false); }
    [[nodiscard]] bool IsRunning() const override { return timer_.Enabled(); }

private:
    TTimer& timer_;
};

class WindowCursor final : public CursorControl {
public:
    explicit WindowCursor(const TForm& form) : form_(form) {}
    ScreenPoint Position() override
    {
        POINT p{};
        GetCursorPos(&p);
        return {p.x, p.y};
    }
    void MoveTo(ScreenPoint p) override { SetCursorPos(p.x, p.y); }
    void Confine(const ScreenRect& r) override
    {
        const RECT rect{r.left, r.top, r.right, r.bottom};
        ClipCursor(&rect);
    }
    void Release() override { ClipCursor(nullptr); }
    ScreenPoint ClientOrigin() override
    {
        POINT p{0, 0};
        ClientToScreen(form_.Handle(), &p);
        return {p.x, p.y};
    }

private:
    const TForm& form_;
};

}  // namespace cpk
