// Control of the multimedia timer stand-in, for tests: a virtual clock that they advance, so that
// ticks come at exact times whatever the machine's speed.
#pragma once

#include <mmsystem.h>

namespace standin {

// Tests switch the virtual clock on: time then stands still until AdvanceTimerClock moves it,
// and timers started meanwhile fall due on that clock. Switching it off lets time run on from
// where the virtual clock stood. Ignored when called from a timer callback.
void SetVirtualTimerClock(bool on);
bool IsVirtualTimerClock();
// Moves the virtual clock forward by ms. Every tick that falls due meanwhile runs before it
// returns, in order of its time (timers due at once in order of their start), on the timer thread,
// with timeGetTime() reading the tick's own time. Returns how many callbacks ran; -1 (nothing
// done) when the clock is not virtual or when called from a timer callback.
int AdvanceTimerClock(DWORD ms);
// Timers started and not stopped yet; a timer leaves the count once its stop has been reported.
int TimerCount();

}  // namespace standin
