// The blinking of entities: one process-wide object takes a set of entities off the screen and
// draws them again, every 500 ms on the system's multimedia timer, a number of times or until it
// is stopped. The ZoPt functions are the applications' way in.
#pragma once

#include "ads/AdsEntSet.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Win32.h"

// Ticks (timer thread) and SetEntity/Flicker/EndFlicker (main thread) share one lock over the fields and the set.
class TOVU_PLATFORM_API ZoAdsEntFlicker {
 public:
  // The single instance, made on the first call and destroyed with the module's static objects.
  static ZoAdsEntFlicker* GetFlickerInstance();
  // Exported for the family's applications; the module itself neither sets nor reads it.
  static ZoAdsEntFlicker* m_pEntFlicker;

  // Public for the family's applications. Count, step and set as they stand under the lock (the
  // set copied as a set is); not the timer, which ticks the object it was started for and is
  // that object's alone to kill.
  ZoAdsEntFlicker(const ZoAdsEntFlicker& other);
  ZoAdsEntFlicker& operator=(const ZoAdsEntFlicker& other);
  // Ends the flicker, then releases the held host set.
  virtual ~ZoAdsEntFlicker();

  // Ends the flicker; a set holding entities then replaces the held ones, an empty set leaves
  // them as they are.
  void SetEntity(const ZoAdsEntSet& ents);
  // Blinks the held entities: nCount redraw steps (an odd count is made even, so the entities
  // end drawn), endlessly when negative, not at all when 0. The first step comes 500 ms after the
  // call. A flicker that runs is ended first, so one timer at most ticks for the object.
  void Flicker(int nCount);
  // Draws every held entity and stops the timer; the entities stay held.
  void EndFlicker();
  // Draws (non-zero) or undraws (0) every held entity whose name is valid.
  void RedrawEntity(int nVisible);
  // One timer tick.
  void EntityFlickerCallBack();

 private:
  ZoAdsEntFlicker();

  // The Locked forms expect the lock held; they return the timer to kill once it is released,
  // because the kill waits for a running tick (TIME_KILL_SYNCHRONOUS), which may itself be
  // waiting for the lock.
  UINT EndFlickerLocked();
  UINT TickLocked();
  void RedrawLocked(int nVisible);

  int m_nCount;     // < 0 until stopped, 0 idle, > 0 the (even) number of steps
  UINT m_nStep;     // redraw steps made since the flicker started
  UINT m_nTimerId;  // 0 while no timer runs
  ZoAdsEntSet m_entSet;
};

// Ends any flicker and blinks these entities until stopped; 1, or 0 when there is no instance.
TOVU_PLATFORM_API int ZoPtFlicterEnt(const ZoAdsEntSet& ents);
// The same for the entities of the ids, in order; ids that do not convert are left out.
TOVU_PLATFORM_API int ZoPtFlicterEnt(const AcArray<AcDbObjectId>& ids);
TOVU_PLATFORM_API int ZoPtFlicterEnt(const AcDbObjectId& id);
// Ends the flicker, if there is an instance.
TOVU_PLATFORM_API void ZoPtEndFlicterEnt();
