// Just enough of the host's hatch entity, behaving as the host's does, for the module to fill a
// closed outline with a predefined pattern.
#include "standin/host/drawing/hatch.h"

#include <dbhatch.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "standin/host/drawing/boundary.h"
#include "standin/host/drawing/dbaccess.h"

ACRX_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, L"HATCH")

namespace standin {

const std::vector<std::wstring>& PredefinedHatchPatterns() {
  static const std::vector<std::wstring> names = {
      L"SOLID",          L"ANGLE",
      L"ANSI31",         L"ANSI32",
      L"ANSI33",         L"ANSI34",
      L"ANSI35",         L"ANSI36",
      L"ANSI37",         L"ANSI38",
      L"AR-B816",        L"AR-B816C",
      L"AR-B88",         L"AR-BRELM",
      L"AR-BRSTD",       L"AR-CONC",
      L"AR-HBONE",       L"AR-PARQ1",
      L"AR-RROOF",       L"AR-RSHKE",
      L"AR-SAND",        L"BOX",
      L"BRASS",          L"BRICK",
      L"BRSTONE",        L"CLAY",
      L"CORK",           L"CROSS",
      L"DASH",           L"DOLMIT",
      L"DOTS",           L"EARTH",
      L"ESCHER",         L"FLEX",
      L"GRASS",          L"GRATE",
      L"GRAVEL",         L"HEX",
      L"HONEY",          L"HOUND",
      L"INSUL",          L"ACAD_ISO02W100",
      L"ACAD_ISO03W100", L"ACAD_ISO04W100",
      L"ACAD_ISO05W100", L"ACAD_ISO06W100",
      L"ACAD_ISO07W100", L"ACAD_ISO08W100",
      L"ACAD_ISO09W100", L"ACAD_ISO10W100",
      L"ACAD_ISO11W100", L"ACAD_ISO12W100",
      L"ACAD_ISO13W100", L"ACAD_ISO14W100",
      L"ACAD_ISO15W100", L"LINE",
      L"MUDST",          L"NET",
      L"NET3",           L"PLAST",
      L"PLASTI",         L"SACNCR",
      L"SQUARE",         L"STARS",
      L"STEEL",          L"SWAMP",
      L"TRANS",          L"TRIANG",
      L"ZIGZAG",
  };
  return names;
}

bool IsPredefinedHatchPattern(const wchar_t* name) {
  if (!name) return false;
  for (const std::wstring& known : PredefinedHatchPatterns()) {
    size_t i = 0;
    while (i < known.size() && name[i] && std::towupper(static_cast<wint_t>(name[i])) == static_cast<wint_t>(known[i]))
      ++i;
    if (i == known.size() && !name[i]) return true;
  }
  return false;
}

}  // namespace standin

void AcDbHatch::changed() { m_evaluated = false; }

Acad::ErrorStatus AcDbHatch::setAssociative(bool isAssociative) {
  assertWriteEnabled();
  m_associative = isAssociative;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double scale) {
  assertWriteEnabled();
  if (!(scale > 0) || !std::isfinite(scale)) return Acad::eInvalidInput;
  m_scale = scale;
  changed();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle) {
  assertWriteEnabled();
  if (!std::isfinite(angle)) return Acad::eInvalidInput;
  m_angle = angle;
  changed();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle hstyle) {
  assertWriteEnabled();
  if (hstyle != kNormal && hstyle != kOuter && hstyle != kIgnore) return Acad::eInvalidInput;
  m_style = hstyle;
  changed();
  return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const {
  if (m_patternType != kPreDefined || m_patternName.size() != 5) return false;
  for (size_t i = 0; i < 5; ++i)
    if (std::towupper(static_cast<wint_t>(m_patternName[i])) != static_cast<wint_t>(L"SOLID"[i])) return false;
  return true;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType patType, const ACHAR* patName) {
  assertWriteEnabled();
  if (patType != kUserDefined && patType != kPreDefined && patType != kCustomDefined) return Acad::eInvalidInput;
  if (!patName || !*patName) return Acad::eInvalidInput;
  m_patternType = patType;
  m_patternName = patName;
  changed();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
  assertWriteEnabled();
  if (!(loopType & kPolyline) || vertices.isEmpty()) return Acad::eInvalidInput;
  if (!bulges.isEmpty() && bulges.length() != vertices.length()) return Acad::eInvalidInput;
  LoopData loop{loopType, {}, {}};
  for (int i = 0; i < vertices.length(); ++i) loop.vertices.push_back(vertices[i]);
  for (int i = 0; i < bulges.length(); ++i) loop.bulges.push_back(bulges[i]);
  m_loops.push_back(std::move(loop));
  changed();
  return Acad::eOk;
}

Adesk::Int32 AcDbHatch::loopTypeAt(int loopIndex) const {
  return loopIndex >= 0 && loopIndex < numLoops() ? m_loops[static_cast<size_t>(loopIndex)].type : kDefault;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                                       AcGeDoubleArray& bulges) const {
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  const LoopData& loop = m_loops[static_cast<size_t>(loopIndex)];
  loopType = loop.type;
  vertices.removeAll();
  bulges.removeAll();
  for (const AcGePoint2d& p : loop.vertices) vertices.append(p);
  for (double b : loop.bulges) bulges.append(b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int loopIndex) {
  assertWriteEnabled();
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  m_loops.erase(m_loops.begin() + loopIndex);
  changed();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) {
  assertWriteEnabled();
  m_evaluated = false;
  if (m_patternName.empty() || m_loops.empty()) return Acad::eInvalidInput;
  if (m_patternType == kPreDefined && !standin::IsPredefinedHatchPattern(m_patternName.c_str()))
    return Acad::eInvalidInput;
  // Islands take their area away from the external loops; without external loops every loop fills itself.
  double outer = 0, others = 0;
  for (const LoopData& data : m_loops) {
    const standin::Loop loop = standin::ClosedLoop(data.vertices, data.bulges);
    if (standin::IsDegenerate(loop)) return Acad::eInvalidInput;
    (data.type & kExternal ? outer : others) += std::fabs(standin::SignedArea(loop));
  }
  m_area = outer > 0 ? std::max(0.0, outer - others) : others;
  m_evaluated = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getArea(double& area) const {
  if (!m_evaluated) return Acad::eNotApplicable;
  area = m_area;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setElevation(double elevation) {
  assertWriteEnabled();
  m_elevation = elevation;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  const double scale = std::hypot(xform(0, 0), xform(1, 0));
  const bool mirrored = standin::Mirrors(xform);
  const double turn = std::atan2(xform(1, 0), xform(0, 0));
  for (LoopData& data : m_loops) {
    standin::Loop loop{data.vertices, data.bulges};
    loop.bulges.resize(loop.points.size(), 0.0);
    standin::TransformLoop(loop, xform, m_elevation);
    data.vertices = loop.points;
    if (!data.bulges.empty()) data.bulges = loop.bulges;
  }
  // The pattern follows the hatch: it grows with it and turns with it (a mirror keeps its lines).
  m_scale *= scale;
  m_angle = mirrored ? m_angle : m_angle + turn;
  m_area *= scale * scale;
  m_elevation = xform(2, 2) * m_elevation + xform(2, 3);
  return Acad::eOk;
}

void AcDbHatch::standinShape(standin::Shape& shape) const {
  for (const LoopData& data : m_loops)
    standin::AddOutline(shape, standin::ClosedLoop(data.vertices, data.bulges), m_elevation);
}

void AcDbHatch::dxfOutFields(standin::DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbHatch");
  out.Point(10, {0, 0, m_elevation});
  out.Point(210, {0, 0, 1});
  out.Text(2, m_patternName);
  out.Int(70, isSolidFill() ? 1 : 0);
  out.Int(71, m_associative ? 1 : 0);
  out.Int(91, static_cast<long>(m_loops.size()));
  for (const LoopData& data : m_loops) {
    bool bulged = false;
    for (double b : data.bulges) bulged = bulged || b != 0;
    out.Int(92, data.type);
    out.Int(72, bulged ? 1 : 0);
    out.Int(73, 1);
    out.Int(93, static_cast<long>(data.vertices.size()));
    for (size_t i = 0; i < data.vertices.size(); ++i) {
      out.Point(10, {data.vertices[i].x, data.vertices[i].y, 0});
      if (bulged) out.Real(42, i < data.bulges.size() ? data.bulges[i] : 0.0);
    }
    out.Int(97, 0);
  }
  out.Int(75, m_style);
  out.Int(76, m_patternType);
  if (!isSolidFill()) {
    out.Real(52, m_angle * 180 / 3.14159265358979323846);
    out.Real(41, m_scale);
    out.Int(77, 0);
    out.Int(78, 0);
  }
  out.Int(98, 0);
}
