#include "fixed_step.h"

FixedStep::FixedStep(long long stepTicks, int maxSteps) : stepTicks(stepTicks), maxSteps(maxSteps) {}

int FixedStep::advance(long long elapsedTicks)
{
    // A clock that went back (it should not) owes nothing.
    if (elapsedTicks > 0)
        owed += elapsedTicks;
    const long long due = owed / stepTicks;
    if (due > maxSteps) {
        owed %= stepTicks;
        return maxSteps;
    }
    owed -= due * stepTicks;
    return (int)due;
}

void FixedStep::postpone(int steps)
{
    owed += steps * stepTicks;
}

long long FixedStep::ticksToNextStep() const
{
    return stepTicks - owed;
}
