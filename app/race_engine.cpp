#include "race_engine.h"

namespace cpk {

double CounterToMilliseconds(std::int64_t counter, double frequency)
{
    // counter = hi * 2^32 + lo with 0 <= lo < 2^32 (C++20 shifts are
    // arithmetic). hi * 1000 and lo * 1000 both fit in 2^42, so both are
    // exact doubles and the one rounding happens in the sum, exactly where a
    // non-overflowing 64-bit product would have been rounded.
    const std::int64_t hi = counter >> 32;
    const std::int64_t lo = counter & 0xFFFFFFFFll;
    const double product = static_cast<double>(hi * 1000) * 4294967296.0 + static_cast<double>(lo * 1000);
    return product / frequency;
}

double QuantizeMargin(double rawMargin)
{
    const long double scaled = static_cast<long double>(rawMargin) * 10.0L;
    const auto steps = static_cast<std::int32_t>(scaled);  // toward zero
    return static_cast<double>(static_cast<long double>(steps) * 0.1L);
}

BumpResult DecideBump(double leftTime, double rightTime, bool paired)
{
    BumpOutcome outcome = leftTime <= rightTime ? BumpOutcome::LeftFaster : BumpOutcome::RightFaster;
    if (!paired)
        outcome = BumpOutcome::Failed;

    double raw;
    if (leftTime > rightTime)
        raw = leftTime - rightTime;
    else if (leftTime < rightTime)
        raw = rightTime - leftTime;
    else
        raw = 0.1;
    return {outcome, QuantizeMargin(raw)};
}

void PinCursor(CursorControl& cursor)
{
    const ScreenPoint o = cursor.ClientOrigin();
    const std::int32_t x = o.x + kPinClientX;
    const std::int32_t y = o.y + kPinClientY;
    cursor.MoveTo({x, y});
    cursor.Confine({x, y, x + 1, y + 1});
}

ClickRaceEngine::ClickRaceEngine(PerformanceCounter& counter, PairingTimer& leftTimer,
                                 PairingTimer& rightTimer, CursorControl& cursor, ResultSink& sink)
    : counter_(counter), leftTimer_(leftTimer), rightTimer_(rightTimer), cursor_(cursor), sink_(sink)
{
}

void ClickRaceEngine::HandleButtonDown(MouseButton button)
{
    const bool left = button == MouseButton::Left;
    // The counter is read before anything else: its value is the press time.
    const std::int64_t now = counter_.Read();
    if (left) {
        FLeftCounter = now;
        FLeftDownTime = CounterToMilliseconds(now, FLeftFrequency);
    } else {
        FRightCounter = now;
        FRightDownTime = CounterToMilliseconds(now, FRightFrequency);
    }

    PairingTimer& own = left ? leftTimer_ : rightTimer_;
    PairingTimer& other = left ? rightTimer_ : leftTimer_;
    if (other.IsRunning()) {
        other.Stop();
        AddBumpResult(true);
    } else {
        own.Start();
    }
    RepinIfMoved();
}

void ClickRaceEngine::LeftTimerExpired()
{
    RefreshFrequencies();
    AddBumpResult(false);
    leftTimer_.Stop();
}

void ClickRaceEngine::RightTimerExpired()
{
    RefreshFrequencies();
    AddBumpResult(false);
    rightTimer_.Stop();
}

void ClickRaceEngine::AddBumpResult(bool paired)
{
    sink_.AppendResult(DecideBump(FLeftDownTime, FRightDownTime, paired));
}

void ClickRaceEngine::ResetForRun()
{
    FLeftFrequency = static_cast<double>(counter_.Frequency());
    FRightFrequency = static_cast<double>(counter_.Frequency());
    FLeftDownTime = 0;
    FRightDownTime = 0;
}

void ClickRaceEngine::RefreshFrequencies()
{
    const double f = static_cast<double>(counter_.Frequency());
    FLeftFrequency = f;
    FRightFrequency = f;
}

void ClickRaceEngine::RepinIfMoved()
{
    // The pinned position is kept as read right after pinning; a pointer the
    // system let go of (another program took the clip) is put back.
    if (cursor_.Position() != FPinnedCursorPos)
        PinCursor(cursor_);
}

}  // namespace cpk
