// Just enough of the Win32 multimedia timer, behaving as winmm's does, for the module's flicker to
// tick off the main thread; with a virtual clock that tests advance, so that ticks come at exact
// times whatever the machine's speed. Every timer started and stopped is reported to the Win32
// observer (the session's journal).
#pragma once

#include <windef.h>

typedef UINT MMRESULT;
typedef void(CALLBACK TIMECALLBACK)(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1, DWORD_PTR dw2);
typedef TIMECALLBACK* LPTIMECALLBACK;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_INVALPARAM 11
#define TIMERR_NOERROR 0
#define TIMERR_BASE 96
#define TIMERR_NOCANDO (TIMERR_BASE + 1)

#define TIME_ONESHOT 0x0000
#define TIME_PERIODIC 0x0001
#define TIME_CALLBACK_FUNCTION 0x0000
#define TIME_CALLBACK_EVENT_SET 0x0010
#define TIME_CALLBACK_EVENT_PULSE 0x0020
#define TIME_KILL_SYNCHRONOUS 0x0100

// Starts a timer: lpTimeProc(id, 0, dwUser, 0, 0) runs uDelay ms after the call, and every uDelay
// ms after that for TIME_PERIODIC, on the process's one timer thread, so callbacks of all timers
// run one after the other. A tick is never early; it is late by less than uResolution ms (0: as
// exact as the machine allows) unless the machine is busy, and a periodic timer that falls behind
// skips the periods it missed rather than running them in a burst. Returns the timer's id, or
// NULL (0) for a delay outside 1 .. 1000000 ms (timeGetDevCaps' range), an unknown kind, or no
// callback (chosen: winmm would call through it). The event-handle kinds
// (TIME_CALLBACK_EVENT_SET, TIME_CALLBACK_EVENT_PULSE) are not supported and fail with a note on
// standard error.
MMRESULT timeSetEvent(UINT uDelay, UINT uResolution, LPTIMECALLBACK lpTimeProc, DWORD_PTR dwUser, UINT fuEvent);
// Stops a timer: no callback of it starts any more. A callback already running on the timer
// thread is waited for only when the timer was started with TIME_KILL_SYNCHRONOUS (and the caller
// is not that callback); without it the callback may still run after the kill has returned.
// MMSYSERR_INVALPARAM for an id that names no timer (a one-shot timer that has fired included).
MMRESULT timeKillEvent(UINT uTimerID);
// Milliseconds on the timers' clock (since the timer service started, chosen), virtual while the
// virtual clock is on; wraps after 49.7 days as Windows' does.
DWORD timeGetTime();
