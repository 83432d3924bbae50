// Just enough of the geometry library's object and 2D curve interface, behaving as the
// family's do, for the module's line segments and polygons: every geometry object has the
// flag word and the run-time class record of the base library, and every 2D curve answers
// the same virtual questions (ends, length, closure, extents) and moves and reverses itself.
#pragma once

#include <ZoBitData.h>
#include <ZoGeExtent.h>
#include <ZoGePoint.h>

class ZoGeObject : public ZoBitData, public ZoRxRunTimeClass {
 public:
  ZoGeObject() = default;
  ZoGeObject(const ZoGeObject&) = default;
  ZoGeObject& operator=(const ZoGeObject&) = default;
  ~ZoGeObject() override;

  const wchar_t* GetRxClassName() const override;
  // A new object of the same kind and value; the caller deletes it.
  virtual ZoGeObject* Clone() const = 0;
  // Takes the value of an object of the same kind; false (and nothing changed) otherwise.
  virtual bool CopyFrom(const ZoGeObject& src) = 0;
  // The 2D box around the object; false, with the box empty, when the object has no extent.
  virtual bool GetExtent2d(ZoGeExtent2d& ext) const = 0;
  virtual void Move(double dx, double dy) = 0;

  // Chosen: objects order by the lower-left corner of their 2D extents, x first, then y
  // (within g_distZero); an object without extent comes before every other.
  bool operator<(const ZoGeObject& other) const;
  bool operator>(const ZoGeObject& other) const { return other < *this; }
};

class ZoGeCurve2d : public ZoGeObject {
 public:
  const wchar_t* GetRxClassName() const override;
  virtual ZoGePoint GetStartPoint() const = 0;
  virtual ZoGePoint GetEndPoint() const = 0;
  virtual double GetLength() const = 0;
  virtual bool IsClosed() const = 0;
  // Runs the curve the other way round: start and end swap.
  virtual void Reverse() = 0;
};

// The straight segment between two points; z is carried along and not looked at.
class ZoGeLineSeg2d : public ZoGeCurve2d {
 public:
  ZoGeLineSeg2d() = default;
  ZoGeLineSeg2d(const ZoGePoint& start, const ZoGePoint& end) : m_start(start), m_end(end) {}

  const wchar_t* GetRxClassName() const override;
  ZoGeObject* Clone() const override { return new ZoGeLineSeg2d(*this); }
  bool CopyFrom(const ZoGeObject& src) override;
  // Always true: a segment has an extent even when its ends coincide.
  bool GetExtent2d(ZoGeExtent2d& ext) const override;
  void Move(double dx, double dy) override;
  ZoGePoint GetStartPoint() const override { return m_start; }
  ZoGePoint GetEndPoint() const override { return m_end; }
  double GetLength() const override;
  bool IsClosed() const override { return false; }
  void Reverse() override;

  void Set(const ZoGePoint& start, const ZoGePoint& end) {
    m_start = start;
    m_end = end;
  }

 private:
  ZoGePoint m_start;
  ZoGePoint m_end;
};
