// Just enough of the database module's grips, behaving as the family's do, for the arrays the
// platform exports over them: grips and dimension grips, never equal and never ordered.
#pragma once

#include <ZoGePoint.h>

class ZoDbGrip {
 public:
  explicit ZoDbGrip(const ZoGePoint& pt = ZoGePoint()) : m_pt(pt) {}
  ZoDbGrip(const ZoDbGrip&) = default;
  ZoDbGrip& operator=(const ZoDbGrip&) = default;
  virtual ~ZoDbGrip();

  bool operator==(const ZoDbGrip&) const { return false; }
  bool operator!=(const ZoDbGrip&) const { return false; }
  bool operator<(const ZoDbGrip&) const { return false; }
  bool operator>(const ZoDbGrip&) const { return false; }

  ZoGePoint m_pt;
};

// A grip that drags a dimension's value.
class ZoDbGripDim : public ZoDbGrip {
 public:
  ZoDbGripDim(const ZoGePoint& pt = ZoGePoint(), double dValue = 0) : ZoDbGrip(pt), m_dValue(dValue) {}
  ~ZoDbGripDim() override;

  double m_dValue;
};
