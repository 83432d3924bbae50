// Just enough of the host's paragraph text, behaving as the host's does.
#pragma once

#include <dbmain.h>

// Text of many lines with formatting codes, placed at its location by its attachment point.
class AcDbMText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbMText);
  AcGePoint3d location() const;
  // A malloc'ed copy the caller frees: the text with its formatting codes.
  ACHAR* contents() const;
  double textHeight() const;
  // The width of the text's column; 0 when it has none.
  double width() const;
  STANDIN_LISTED_ENTITY(AcDbMText)
};
