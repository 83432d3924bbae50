// Just enough of the host's hatch entity, behaving as the host's does, for the module to fill a
// closed outline with a predefined pattern: pattern, scale, angle, style, associativity and
// polyline loops with bulges, then the evaluation that computes the fill.
#pragma once

#include <dbmain.h>
#include <gedblar.h>
#include <gept2dar.h>

#include <string>
#include <vector>

class AcDbHatch : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbHatch);
  enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };
  enum HatchLoopType {
    kDefault = 0,
    kExternal = 1,
    kPolyline = 2,
    kDerived = 4,
    kTextbox = 8,
    kOutermost = 0x10,
    kNotClosed = 0x20,
    kSelfIntersecting = 0x40,
    kTextIsland = 0x80,
    kDuplicate = 0x100,
  };

  AcDbHatch() = default;

  bool associative() const { return m_associative; }
  Acad::ErrorStatus setAssociative(bool isAssociative);
  double patternScale() const { return m_scale; }
  // eInvalidInput for a scale that is not positive.
  Acad::ErrorStatus setPatternScale(double scale);
  double patternAngle() const { return m_angle; }
  Acad::ErrorStatus setPatternAngle(double angle);
  HatchStyle hatchStyle() const { return m_style; }
  // eInvalidInput for a style the host does not know.
  Acad::ErrorStatus setHatchStyle(HatchStyle hstyle);
  HatchPatternType patternType() const { return m_patternType; }
  const ACHAR* patternName() const { return m_patternName.c_str(); }
  bool isSolidFill() const;
  // eInvalidInput for an unknown type or an empty name. Chosen: a predefined name that the
  // host's pattern file lacks is kept as given; evaluateHatch is what refuses it.
  Acad::ErrorStatus setPattern(HatchPatternType patType, const ACHAR* patName);

  // A polyline loop (loopType with kPolyline): vertices with one bulge each (or no bulges at
  // all, every segment straight); a last vertex equal to the first only closes the loop.
  // eInvalidInput otherwise. Checked for area only by evaluateHatch.
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices, const AcGeDoubleArray& bulges);
  int numLoops() const { return static_cast<int>(m_loops.size()); }
  Adesk::Int32 loopTypeAt(int loopIndex) const;
  // The loop as it was appended. eInvalidIndex.
  Acad::ErrorStatus getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                              AcGeDoubleArray& bulges) const;
  Acad::ErrorStatus removeLoopAt(int loopIndex);

  // Computes the fill. eInvalidInput (and the hatch unevaluated) when no pattern is set, the
  // predefined pattern is not one of the host's, there is no loop, or a loop encloses no area.
  Acad::ErrorStatus evaluateHatch(bool bUnderestimateNumLines = false);
  // eNotApplicable before a successful evaluation.
  Acad::ErrorStatus getArea(double& area) const;
  double elevation() const { return m_elevation; }
  Acad::ErrorStatus setElevation(double elevation);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  bool standinIsEvaluated() const { return m_evaluated; }
  struct LoopData {
    Adesk::Int32 type;
    std::vector<AcGePoint2d> vertices;
    std::vector<double> bulges;
  };
  void changed();

  bool m_associative = false;
  double m_scale = 1, m_angle = 0, m_elevation = 0;
  HatchStyle m_style = kNormal;
  HatchPatternType m_patternType = kPreDefined;
  std::wstring m_patternName;
  std::vector<LoopData> m_loops;
  bool m_evaluated = false;
  double m_area = 0;
};
