// The period of a window timer: writing the period it already has leaves a
// running timer alone, so its next tick keeps its time.
#pragma once

class TimerPeriod {
public:
    enum class Change { None, Stop, Restart };

    // Stores `period` (a negative one counts as 0) and says what the
    // timer has to do.
    Change Set(int period);
    int Period() const { return period_; }

private:
    int period_ = 0;
};
