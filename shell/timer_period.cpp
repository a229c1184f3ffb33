#include "shell/timer_period.h"

TimerPeriod::Change TimerPeriod::Set(int period)
{
    if (period < 0)
        period = 0;
    if (period == period_)
        return Change::None;
    period_ = period;
    return period > 0 ? Change::Restart : Change::Stop;
}
