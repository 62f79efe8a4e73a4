// Click race engine: turns left and right button presses into bump results.
//
// Portable: the counter, the two pairing timers, the cursor and the results
// table are reached through the small interfaces below; the Windows side
// supplies QueryPerformanceCounter, window timers and the cursor calls.
// Everything runs on one thread, strictly one event at a time.
#pragma once

#include <cstdint>

namespace cpk {

enum class MouseButton { Left, Right };
enum class BumpOutcome { LeftFaster, RightFaster, Failed };

struct BumpResult {
    BumpOutcome outcome;
    double margin;  // milliseconds, a whole multiple of 0.1; meaningless when Failed
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    virtual std::int64_t Read() = 0;
    virtual std::int64_t Frequency() = 0;  // counts per second
};

// A one-shot-per-start pairing timer. Start on a running timer changes
// nothing: its expiry stays where the first start put it.
class PairingTimer {
public:
    virtual ~PairingTimer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    [[nodiscard]] virtual bool IsRunning() const = 0;
};

class CursorControl {
public:
    virtual ~CursorControl() = default;
    [[nodiscard]] virtual ScreenPoint Position() = 0;
    virtual void MoveTo(ScreenPoint p) = 0;
    virtual void Confine(const ScreenRect& r) = 0;
    virtual void Release() = 0;                   // lift any confinement
    [[nodiscard]] virtual ScreenPoint ClientOrigin() = 0;  // the window's client (0, 0) on screen
};

class ResultSink {
public:
    virtual ~ResultSink() = default;
    // Runs inside the hook call: must only change a model and schedule a
    // repaint, never paint synchronously.
    virtual void AppendResult(const BumpResult& result) = 0;
};

// The pin point is client (100, 300) of the main window, on its background.
inline constexpr std::int32_t kPinClientX = 100;
inline constexpr std::int32_t kPinClientY = 300;

// Press time in milliseconds: counter x 1000 / frequency. The product is
// formed without 64-bit overflow and rounded once to double, so for every
// counter below 2^63 / 1000 the result is exactly (double)(counter * 1000) /
// frequency, and above that it stays correct instead of wrapping.
[[nodiscard]] double CounterToMilliseconds(std::int64_t counter, double frequency);

// Truncates a raw margin to a whole multiple of 0.1 ms. The product and the
// final n x 0.1 are formed in long double, which has the 64-bit mantissa of
// the x87 extended format on the MinGW x86 targets; see README for MSVC.
[[nodiscard]] double QuantizeMargin(double rawMargin);

// Outcome and margin from the two press times.
[[nodiscard]] BumpResult DecideBump(double leftTime, double rightTime, bool paired);

// Pins the cursor to the one-pixel rectangle at the window's pin point.
void PinCursor(CursorControl& cursor);

// The race state and its transitions. Field names follow the main window's
// state: the window owns one engine and exposes these fields through it.
class ClickRaceEngine {
public:
    ClickRaceEngine(PerformanceCounter& counter, PairingTimer& leftTimer, PairingTimer& rightTimer,
                    CursorControl& cursor, ResultSink& sink);

    void HandleButtonDown(MouseButton button);
    void LeftTimerExpired();   // tm_LeftDownTimer
    void RightTimerExpired();  // tm_RightDownTimer
    void AddBumpResult(bool paired);

    // Test-run start: both frequencies read afresh, times back to zero.
    // Leaves the timers alone, so a window still open yields its failed row.
    void ResetForRun();

    std::int64_t FLeftCounter = 0;
    std::int64_t FRightCounter = 0;
    double FLeftFrequency = 0;
    double FRightFrequency = 0;
    double FLeftDownTime = 0;
    double FRightDownTime = 0;
    ScreenPoint FPinnedCursorPos;

private:
    void RefreshFrequencies();
    void RepinIfMoved();

    PerformanceCounter& counter_;
    PairingTimer& leftTimer_;
    PairingTimer& rightTimer_;
    CursorControl& cursor_;
    ResultSink& sink_;
};

}  // namespace cpk
