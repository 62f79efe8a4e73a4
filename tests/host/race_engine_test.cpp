#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "race_engine.h"

namespace cpk {
namespace {

class FakeCounter final : public PerformanceCounter {
public:
    std::int64_t now = 0;
    std::int64_t frequency = 10'000'000;  // 0.1 us per count
    std::int64_t Read() override { return now; }
    std::int64_t Frequency() override { return frequency; }
};

class FakeTimer final : public PairingTimer {
public:
    bool running = false;
    int starts = 0;  // starts of a stopped timer
    void Start() override
    {
        if (!running)
            ++starts;
        running = true;
    }
    void Stop() override { running = false; }
    bool IsRunning() const override { return running; }
};

class FakeCursor final : public CursorControl {
public:
    ScreenPoint pos{5, 5};
    ScreenPoint origin{200, 100};
    std::vector<ScreenRect> clips;
    int moves = 0;
    ScreenPoint Position() override { return pos; }
    void MoveTo(ScreenPoint p) override
    {
        pos = p;
        ++moves;
    }
    void Confine(const ScreenRect& r) override { clips.push_back(r); }
    void Release() override {}
    ScreenPoint ClientOrigin() override { return origin; }
};

class Recorder final : public ResultSink {
public:
    std::vector<BumpResult> rows;
    void AppendResult(const BumpResult& r) override { rows.push_back(r); }
};

// A running engine: frequencies read, cursor pinned as a test start does.
struct Race {
    FakeCounter counter;
    FakeTimer left, right;
    FakeCursor cursor;
    Recorder sink;
    ClickRaceEngine engine{counter, left, right, cursor, sink};

    Race()
    {
        engine.ResetForRun();
        PinCursor(cursor);
        engine.FPinnedCursorPos = cursor.Position();
        cursor.moves = 0;
        cursor.clips.clear();
    }
    // Press at a time in milliseconds (10,000 counts per ms).
    void Press(MouseButton b, double ms)
    {
        counter.now = static_cast<std::int64_t>(std::llround(ms * 10'000));
        engine.HandleButtonDown(b);
    }
    void ExpireOpenTimer()
    {
        if (left.running)
            engine.LeftTimerExpired();
        else if (right.running)
            engine.RightTimerExpired();
    }
};

constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;

// Every row of the pairing state table, from the state reached by `setup`.
TEST(ClickRaceEngine, PairingStateTable)
{
    enum class S { Idle, LeftOpen, RightOpen };
    enum class E { LeftPress, RightPress, Expiry };
    struct Case {
        S from;
        E event;
        S to;
        int results;
        BumpOutcome outcome;
    };
    const Case cases[] = {
        {S::Idle, E::LeftPress, S::LeftOpen, 0, {}},
        {S::Idle, E::RightPress, S::RightOpen, 0, {}},
        {S::LeftOpen, E::LeftPress, S::LeftOpen, 0, {}},
        {S::LeftOpen, E::RightPress, S::Idle, 1, BumpOutcome::LeftFaster},
        {S::LeftOpen, E::Expiry, S::Idle, 1, BumpOutcome::Failed},
        {S::RightOpen, E::RightPress, S::RightOpen, 0, {}},
        {S::RightOpen, E::LeftPress, S::Idle, 1, BumpOutcome::RightFaster},
        {S::RightOpen, E::Expiry, S::Idle, 1, BumpOutcome::Failed},
    };
    for (const Case& c : cases) {
        Race race;
        if (c.from == S::LeftOpen)
            race.Press(L, 1);
        if (c.from == S::RightOpen)
            race.Press(R, 1);
        switch (c.event) {
        case E::LeftPress: race.Press(L, 5); break;
        case E::RightPress: race.Press(R, 5); break;
        case E::Expiry: race.ExpireOpenTimer(); break;
        }
        const S state = race.left.running ? S::LeftOpen : race.right.running ? S::RightOpen : S::Idle;
        SCOPED_TRACE(testing::Message() << "from " << int(c.from) << " event " << int(c.event));
        EXPECT_EQ(state, c.to);
        EXPECT_FALSE(race.left.running && race.right.running);
        ASSERT_EQ(race.sink.rows.size(), static_cast<std::size_t>(c.results));
        if (c.results) {
            EXPECT_EQ(race.sink.rows[0].outcome, c.outcome);
        }
        EXPECT_LE(race.left.starts + race.right.starts, 1) << "a running timer was restarted";
    }
}

TEST(ClickRaceEngine, MarginsAreTruncatedToTenthsOfAMillisecond)
{
    struct Case {
        double first;  // left press, ms
        double second; // right press, ms
        BumpOutcome outcome;
        double margin;
    } const cases[] = {
        {100.0, 100.0, BumpOutcome::LeftFaster, 0.1},     // equal times: left wins by 0.1
        {100.0, 112.34, BumpOutcome::LeftFaster, 12.3},
        {100.0, 100.05, BumpOutcome::LeftFaster, 0.0},    // a winner, margin 0
        {100.0, 103.47, BumpOutcome::LeftFaster, 3.4},
        {100.0, 103.49, BumpOutcome::LeftFaster, 3.4},
        {103.47, 100.0, BumpOutcome::RightFaster, 3.4},
        {149.99, 100.0, BumpOutcome::RightFaster, 49.9},
    };
    for (const auto& c : cases) {
        // Whoever is pressed first opens the window; the order of the
        // table's two times is the order of the presses in time.
        Race race;
        if (c.first <= c.second) {
            race.Press(L, c.first);
            race.Press(R, c.second);
        } else {
            race.Press(R, c.second);
            race.Press(L, c.first);
        }
        ASSERT_EQ(race.sink.rows.size(), 1u);
        EXPECT_EQ(race.sink.rows[0].outcome, c.outcome) << c.first << " vs " << c.second;
        EXPECT_DOUBLE_EQ(race.sink.rows[0].margin, c.margin) << c.first << " vs " << c.second;
    }
}

// The product and n x 0.1 are formed in extended precision where long
// double has a 64-bit mantissa. The doubles nearest 0.7 and 3.4 lie just
// below them; a double product rounds x 10 up to the whole number, the
// extended one keeps it below and truncation takes the tenth beneath.
TEST(QuantizeMargin, DependsOnExtendedPrecision)
{
    const bool extended = std::numeric_limits<long double>::digits >= 64;
    struct Case {
        double raw;
        double extendedResult;
        double doubleResult;
    } const cases[] = {
        {0.7, 0.6, 0.7},
        {3.4, 3.3, 3.4},
        {3.41, 3.4, 3.4},
        {3.47, 3.4, 3.4},
        {0.09, 0.0, 0.0},
        {12.0, 12.0, 12.0},
        {0.1, 0.1, 0.1},
    };
    for (const auto& c : cases) {
        // Exact equality: the margin is printed, so it must be the double
        // that reads as the tenth (n x 0.1 rounded to double).
        EXPECT_EQ(QuantizeMargin(c.raw), extended ? c.extendedResult : c.doubleResult) << c.raw;
    }
}

TEST(ClickRaceEngine, SecondPressInsideTheWindowReplacesTheTime)
{
    Race race;
    race.Press(L, 0);
    race.Press(L, 10);
    race.Press(R, 30);
    ASSERT_EQ(race.sink.rows.size(), 1u);
    EXPECT_EQ(race.sink.rows[0].outcome, BumpOutcome::LeftFaster);
    EXPECT_DOUBLE_EQ(race.sink.rows[0].margin, 20.0);
    EXPECT_EQ(race.left.starts, 1);
}

TEST(ClickRaceEngine, PressesSixtyMillisecondsApartGiveTwoFailedRows)
{
    Race race;
    race.Press(L, 0);
    race.ExpireOpenTimer();  // the left window closes at 50 ms
    race.Press(R, 60);
    EXPECT_TRUE(race.right.running);
    race.ExpireOpenTimer();
    ASSERT_EQ(race.sink.rows.size(), 2u);
    EXPECT_EQ(race.sink.rows[0].outcome, BumpOutcome::Failed);
    EXPECT_EQ(race.sink.rows[1].outcome, BumpOutcome::Failed);
}

// A new run resets the times but not an open window: its expiry still
// yields a failed row, the first of the new run.
TEST(ClickRaceEngine, WindowOpenAcrossANewRunYieldsItsFailedRow)
{
    Race race;
    race.Press(L, 0);
    race.engine.ResetForRun();
    EXPECT_EQ(race.engine.FLeftDownTime, 0.0);
    EXPECT_EQ(race.engine.FRightDownTime, 0.0);
    EXPECT_TRUE(race.left.running);
    race.sink.rows.clear();
    race.ExpireOpenTimer();
    ASSERT_EQ(race.sink.rows.size(), 1u);
    EXPECT_EQ(race.sink.rows[0].outcome, BumpOutcome::Failed);
    EXPECT_FALSE(race.left.running);
}

TEST(ClickRaceEngine, CursorIsPinnedAgainOnlyWhenItMoved)
{
    Race race;
    const ScreenPoint pin{300, 400};
    ASSERT_EQ(race.engine.FPinnedCursorPos, pin);

    race.Press(L, 0);
    EXPECT_EQ(race.cursor.moves, 0);
    EXPECT_TRUE(race.cursor.clips.empty());

    for (const ScreenPoint away : {ScreenPoint{301, 400}, ScreenPoint{300, 10}}) {
        race.cursor.pos = away;
        race.cursor.clips.clear();
        race.Press(R, 5);
        EXPECT_EQ(race.cursor.pos, pin);
        ASSERT_EQ(race.cursor.clips.size(), 1u);
        EXPECT_EQ(race.cursor.clips[0], (ScreenRect{300, 400, 301, 401}));
    }
    EXPECT_EQ(race.engine.FPinnedCursorPos, pin);
}

TEST(CounterToMilliseconds, MatchesTheSixtyFourBitProductAndSurvivesOverflow)
{
    const double f = 10'000'000.0;
    // Below 2^63 / 1000 the result is the plain product's.
    for (std::int64_t c : {std::int64_t{0}, std::int64_t{1}, std::int64_t{123456789012345},
                           std::int64_t{9'223'372'036'854'775} /* largest safe */, std::int64_t{-5000}}) {
        EXPECT_EQ(CounterToMilliseconds(c, f), static_cast<double>(c * 1000) / f) << c;
    }
    // Above it the 64-bit product would wrap to a negative time.
    const std::int64_t big = std::numeric_limits<std::int64_t>::max() - 7;
    const double ms = CounterToMilliseconds(big, f);
    EXPECT_GT(ms, 0.0);
    EXPECT_NEAR(ms, static_cast<double>(static_cast<long double>(big) / 10'000.0L), 1e-3 * ms * 1e-12);
    const std::int64_t small = std::numeric_limits<std::int64_t>::min() + 7;
    EXPECT_LT(CounterToMilliseconds(small, f), 0.0);
}

// A press time is never wrapped: a bump between two readings above
// 2^63 / 1000 keeps its winner and its margin (to the double's resolution
// at about 10^12 ms, a few ten-thousandths of a millisecond).
TEST(ClickRaceEngine, CounterReadingsAboveTheProductLimitStillPair)
{
    Race race;
    race.counter.now = 10'000'000'000'000'000;  // 10^16 counts at 10 MHz
    race.engine.HandleButtonDown(R);
    race.counter.now += 120'000;  // 12 ms later
    race.engine.HandleButtonDown(L);
    ASSERT_EQ(race.sink.rows.size(), 1u);
    EXPECT_EQ(race.sink.rows[0].outcome, BumpOutcome::RightFaster);
    EXPECT_NEAR(race.sink.rows[0].margin, 12.0, 0.15);
}

}  // namespace
}  // namespace cpk
