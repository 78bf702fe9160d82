#pragma once

// The rules run a fixed number of steps a second whatever the display's rate:
// each drawn frame runs as many steps as the time since the last one calls for.
// Time counts in whole ticks of a clock, so a held clock (a whole number of
// ticks a frame) gives exactly the same steps on every run.
class FixedStep {
public:
    // stepTicks: the ticks one step lasts; maxSteps: the most one frame runs.
    FixedStep(long long stepTicks, int maxSteps);
    // The steps due after elapsedTicks more. Beyond maxSteps the time owed is
    // dropped, so a stall (a slow frame, a dragged window) does not fast-forward.
    int advance(long long elapsedTicks);
    // Steps due now that a frame did not run: they fall due again at once.
    void postpone(int steps);
    // The ticks until the next step falls due.
    long long ticksToNextStep() const;

private:
    long long stepTicks;
    int maxSteps;
    long long owed = 0;
};
