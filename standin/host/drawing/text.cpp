// Just enough of the host's text entities, behaving as the host's do: single-line text,
// attribute definitions and attributes, with their DXF data and outlines.
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <cmath>
#include <cwchar>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::DxfOut;
using standin::kTwoPi;
using standin::MotionOf;
using standin::Peek;
using standin::PlaneMotion;
using standin::Shape;
using standin::Unit;

ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")
ACRX_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
ACRX_DEFINE_MEMBERS(AcDbAttribute, AcDbText, L"ATTRIB")

// --- Text, attributes and their definitions ---

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height, double rotation)
    : m_position(position), m_text(text ? text : L""), m_height(height), m_rotation(rotation) {
  if (const auto* rec = Peek<AcDbSymbolTableRecord>(style)) m_style = DbAccess::RecordName(rec);
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_alignment = pt;
  return Acad::eOk;
}

ACHAR* AcDbText::textString() const { return standin::NewText(m_text); }

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  assertWriteEnabled();
  if (!text) return Acad::eInvalidInput;
  m_text = text;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double h) {
  assertWriteEnabled();
  if (!(h > 0)) return Acad::eInvalidInput;
  m_height = h;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double r) {
  assertWriteEnabled();
  m_rotation = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double w) {
  assertWriteEnabled();
  if (!(w > 0)) return Acad::eInvalidInput;
  m_widthFactor = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setOblique(double a) {
  assertWriteEnabled();
  m_oblique = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  assertWriteEnabled();
  m_horzMode = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  assertWriteEnabled();
  m_vertMode = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirroredInX(bool mirror) {
  assertWriteEnabled();
  m_generation = mirror ? (m_generation | 2) : (m_generation & ~2);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirroredInY(bool mirror) {
  assertWriteEnabled();
  m_generation = mirror ? (m_generation | 4) : (m_generation & ~4);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

void AcDbText::copyTextFrom(const AcDbText& other) {
  m_position = other.m_position;
  m_alignment = other.m_alignment;
  m_normal = other.m_normal;
  m_text = other.m_text;
  m_style = other.m_style;
  m_height = other.m_height;
  m_rotation = other.m_rotation;
  m_widthFactor = other.m_widthFactor;
  m_oblique = other.m_oblique;
  m_thickness = other.m_thickness;
  m_horzMode = other.m_horzMode;
  m_vertMode = other.m_vertMode;
  m_generation = other.m_generation;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  const PlaneMotion motion = MotionOf(xform);
  m_position.transformBy(xform);
  m_alignment.transformBy(xform);
  m_height *= motion.scale;
  if (motion.mirrored) {
    // Text follows a mirror as the host's does: it reads backwards afterwards.
    m_rotation = motion.rotation - m_rotation;
    m_generation ^= 2;
  } else {
    m_rotation += motion.rotation;
  }
  m_rotation = std::fmod(m_rotation, kTwoPi);
  if (m_rotation < 0) m_rotation += kTwoPi;
  return Acad::eOk;
}

void AcDbText::standinShape(Shape& shape) const { textBox(shape, m_text); }

void AcDbText::textBox(Shape& shape, const std::wstring& text) const {
  if (text.empty() || !(m_height > 0)) return;
  // Each character takes the height times the width factor (a cell of the host's plain font).
  double width = static_cast<double>(text.size()) * m_height * m_widthFactor;
  AcGePoint3d ref = m_position;
  double x0 = 0, y0 = 0;
  const bool aligned = !(m_horzMode == AcDb::kTextLeft && m_vertMode == AcDb::kTextBase);
  if (aligned && m_horzMode != AcDb::kTextAlign && m_horzMode != AcDb::kTextFit) ref = m_alignment;
  switch (m_horzMode) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
      x0 = -width / 2;
      break;
    case AcDb::kTextRight:
      x0 = -width;
      break;
    case AcDb::kTextAlign:
    case AcDb::kTextFit:
      width = m_position.distanceTo(m_alignment);
      break;
    default:
      break;
  }
  if (m_horzMode == AcDb::kTextMid)
    y0 = -m_height / 2;
  else if (m_vertMode == AcDb::kTextVertMid)
    y0 = -m_height / 2;
  else if (m_vertMode == AcDb::kTextTop)
    y0 = -m_height;
  AcGeVector3d ax, ay;
  standin::OcsAxes(m_normal, ax, ay);
  const double c = std::cos(m_rotation), s = std::sin(m_rotation);
  const double fx = isMirroredInX() ? -1 : 1, fy = isMirroredInY() ? -1 : 1;
  auto corner = [&](double x, double y) {
    x *= fx, y *= fy;
    return ref + ax * (x * c - y * s) + ay * (x * s + y * c);
  };
  const AcGePoint3d p[4] = {corner(x0, y0), corner(x0 + width, y0), corner(x0 + width, y0 + m_height),
                            corner(x0, y0 + m_height)};
  for (int i = 0; i < 4; ++i) shape.AddSegment(p[i], p[(i + 1) % 4]);
}

void AcDbText::textFields(DxfOut& out, bool withSecondMarker) const {
  out.Text(100, L"AcDbText");
  if (m_thickness != 0) out.Real(39, m_thickness);
  out.Point(10, standin::WcsToOcs(m_normal, m_position));
  out.Real(40, m_height);
  out.Text(1, m_text);
  out.Real(50, m_rotation);
  out.Real(41, m_widthFactor);
  out.Real(51, m_oblique);
  out.Text(7, m_style);
  out.Int(71, m_generation);
  out.Int(72, m_horzMode);
  out.Point(11, standin::WcsToOcs(m_normal, m_alignment));
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
  if (withSecondMarker) {
    out.Text(100, L"AcDbText");
    out.Int(73, m_vertMode);
  }
}

void AcDbText::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, true);
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                                                 const ACHAR* prompt, AcDbObjectId style)
    : AcDbText(position, text, style), m_tag(tag ? tag : L""), m_prompt(prompt ? prompt : L"") {}

ACHAR* AcDbAttributeDefinition::tag() const { return standin::NewText(m_tag); }
ACHAR* AcDbAttributeDefinition::prompt() const { return standin::NewText(m_prompt); }

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!tag || !*tag || std::wcschr(tag, L' ')) return Acad::eInvalidInput;
  m_tag = tag;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
  assertWriteEnabled();
  m_prompt = prompt ? prompt : L"";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 2) : (m_flags & ~2);
  return Acad::eOk;
}

// A definition shows its tag where it is drawn on its own (in a block definition).
void AcDbAttributeDefinition::standinShape(Shape& shape) const { textBox(shape, m_tag); }

void AcDbAttributeDefinition::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, false);
  out.Text(100, L"AcDbAttributeDefinition");
  out.Text(3, m_prompt);
  out.Text(2, m_tag);
  out.Int(70, m_flags);
  out.Int(73, 0);
  out.Int(74, verticalMode());
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag, AcDbObjectId style)
    : AcDbText(position, text, style), m_tag(tag ? tag : L"") {}

ACHAR* AcDbAttribute::tag() const { return standin::NewText(m_tag); }

Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!tag || !*tag || std::wcschr(tag, L' ')) return Acad::eInvalidInput;
  m_tag = tag;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setInvisible(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                                       const AcGeMatrix3d& blkXform) {
  assertWriteEnabled();
  if (!pAttdef) return Acad::eNullObjectPointer;
  copyTextFrom(*pAttdef);
  m_tag = pAttdef->tagConst();
  m_flags = DbAccess::Flags(pAttdef);
  if (!pAttdef->layerId().isNull()) setLayer(pAttdef->layerId(), false);
  if (!pAttdef->linetypeId().isNull()) setLinetype(pAttdef->linetypeId(), false);
  setColorIndex(pAttdef->colorIndex(), false);
  // The definition's placement follows the reference; the height follows its y scaling.
  const PlaneMotion motion = MotionOf(blkXform);
  AcGePoint3d pos = position(), align = alignmentPoint();
  setPosition(pos.transformBy(blkXform));
  setAlignmentPoint(align.transformBy(blkXform));
  setHeight(height() * std::hypot(blkXform(0, 1), blkXform(1, 1)));
  setRotation(motion.mirrored ? motion.rotation - rotation() : rotation() + motion.rotation);
  return Acad::eOk;
}

void AcDbAttribute::standinShape(Shape& shape) const {
  if (!isInvisible()) DbAccess::TextShape(this, shape);
}

void AcDbAttribute::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, false);
  out.Text(100, L"AcDbAttribute");
  out.Text(2, m_tag);
  out.Int(70, m_flags);
  out.Int(73, 0);
  out.Int(74, verticalMode());
}

void AcDbSequenceEnd::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Name(-2, ownerId());
}
