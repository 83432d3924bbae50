// The entities of a DXF file: their common properties, each type the reader keeps, and the
// sub-entities (attributes, vertices) that follow their main entity.
#include <dbents.h>
#include <dbpl.h>

#include <cmath>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/dxf_reader.h"
#include "standin/host/drawing/shape.h"
#include "standin/win32/utf8.h"

namespace standin::dxf {

bool Reader::Finite(const Raw& raw) {
  for (const Pair& p : raw.groups)
    if (TypeOf(p.code) == ValueType::Real && std::fabs(p.real) > 1e100)
      return Fail(p.line + 1, L"the value " + Shown(TrimBlanks(p.value)) + L" is out of range for a drawing");
  return true;
}

bool Reader::Add(AcDbEntity* ent, const Raw& raw, AcDbObjectId owner, AcDbObjectId& id) {
  Adesk::UInt64 handle = 0;
  if (const Pair* h = raw.Find(5); h && !ParseHandle(h->value, handle))
    return delete ent, Fail(h->line, L"\"" + Shown(TrimBlanks(h->value)) + L"\" is not a handle");
  AcDbObjectId layer, linetype;
  const Pair* layerName = raw.Find(8);
  if (!LayerId(layerName ? Text(layerName->value) : L"0", layerName ? layerName->line : raw.line, layer))
    return delete ent, false;
  ent->setLayer(layer, false);
  if (const Pair* lt = raw.Find(6)) {
    if (!LinetypeId(Text(lt->value), lt->line, linetype)) return delete ent, false;
    ent->setLinetype(linetype, false);
  }
  if (const Pair* color = raw.Find(62)) {
    if (color->integer < 0 || color->integer > 256)
      return delete ent, Fail(color->line, L"colour " + std::to_wstring(color->integer) + L" is not a colour index");
    ent->setColorIndex(static_cast<Adesk::UInt16>(color->integer), false);
  }
  if (DbAccess::Add(m_db.get(), ent, owner, id, AcDbHandle(handle)) != Acad::eOk) {
    delete ent;
    if (handle == 0) return Fail(raw.line, L"the drawing has no handle left for the " + Shown(raw.type));
    return Fail(raw.line, L"the handle " + Shown(TrimBlanks(raw.Find(5)->value)) + L" is used twice");
  }
  ent->close();
  return true;
}

AcDbEntity* Reader::Build(const Raw& raw) {
  const AcGeVector3d normal = raw.Normal();
  if (normal.length() < 1e-12) {
    Fail(raw.line, L"the " + Shown(raw.type) + L" has a zero extrusion direction");
    return nullptr;
  }
  const std::string& t = raw.type;
  if (t == "LINE") {
    auto* e = new AcDbLine(raw.Point(10), raw.Point(11));
    e->setNormal(normal);
    e->setThickness(raw.Real(39));
    return e;
  }
  if (t == "POINT") {
    auto* e = new AcDbPoint(raw.Point(10));
    e->setNormal(normal);
    e->setThickness(raw.Real(39));
    return e;
  }
  if (t == "CIRCLE" || t == "ARC") {
    const double r = raw.Real(40);
    if (!(r > 0)) {
      Fail(raw.line, L"the " + FromUtf8(t) + L" has no positive radius (group 40)");
      return nullptr;
    }
    const AcGePoint3d c = OcsToWcs(normal, raw.Point(10));
    AcDbCircle* e = t == "ARC" ? new AcDbArc(c, normal, r, raw.Real(50) * kDegree, raw.Real(51) * kDegree)
                               : new AcDbCircle(c, normal, r);
    e->setThickness(raw.Real(39));
    return e;
  }
  if (t == "TEXT" || t == "ATTRIB" || t == "ATTDEF") {
    const std::wstring text = Text(raw, 1);
    AcDbText* e;
    if (t == "TEXT") {
      e = new AcDbText;
    } else {
      const std::wstring tag = Text(raw, 2);
      if (tag.empty()) {
        Fail(raw.line, L"the " + FromUtf8(t) + L" has no tag (group 2)");
        return nullptr;
      }
      if (t == "ATTRIB") {
        auto* a = new AcDbAttribute(AcGePoint3d::kOrigin, nullptr, tag.c_str());
        DbAccess::SetFlags(a, static_cast<int>(raw.Int(70)));
        e = a;
      } else {
        auto* d = new AcDbAttributeDefinition(AcGePoint3d::kOrigin, nullptr, tag.c_str(), Text(raw, 3).c_str());
        DbAccess::SetFlags(d, static_cast<int>(raw.Int(70)));
        e = d;
      }
    }
    e->setNormal(normal);
    e->setTextString(text.c_str());
    e->setPosition(OcsToWcs(normal, raw.Point(10)));
    e->setAlignmentPoint(OcsToWcs(normal, raw.Point(11, raw.Point(10))));
    // How the host reads a text without a positive height is not known: it takes the drawing's TEXTSIZE.
    e->setHeight(raw.Real(40) > 0 ? raw.Real(40) : m_textSize);
    e->setRotation(raw.Real(50) * kDegree);
    if (raw.Real(41, 1) > 0) e->setWidthFactor(raw.Real(41, 1));
    e->setOblique(raw.Real(51) * kDegree);
    DbAccess::SetTextStyle(e, Text(raw, 7, L"Standard"));
    e->mirroredInX((raw.Int(71) & 2) != 0);
    e->mirroredInY((raw.Int(71) & 4) != 0);
    const long long h = raw.Int(72), v = raw.Int(t == "TEXT" ? 73 : 74);
    if (h < 0 || h > 5 || v < 0 || v > 3) {
      delete e;
      Fail(raw.line, L"the " + FromUtf8(t) + L" has an unknown justification");
      return nullptr;
    }
    e->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h));
    e->setVerticalMode(static_cast<AcDb::TextVertMode>(v));
    return e;
  }
  if (t == "LWPOLYLINE") {
    auto* e = new AcDbPolyline;
    e->setNormal(normal);
    e->setElevation(raw.Real(38));
    const bool constant = raw.Find(43) != nullptr;
    if (constant) e->setConstantWidth(raw.Real(43));
    unsigned n = 0;
    for (size_t i = 0; i < raw.groups.size(); ++i) {
      const Pair& p = raw.groups[i];
      if (p.code == 10) {
        double y = 0;
        if (i + 1 < raw.groups.size() && raw.groups[i + 1].code == 20) y = raw.groups[i + 1].real;
        e->addVertexAt(n++, {p.real, y});
      } else if (n > 0 && (p.code == 40 || p.code == 41 || p.code == 42)) {
        double sw = 0, ew = 0;
        e->getWidthsAt(n - 1, sw, ew);
        if (p.code == 42)
          e->setBulgeAt(n - 1, p.real);
        else if (!constant)
          e->setWidthsAt(n - 1, p.code == 40 ? p.real : sw, p.code == 41 ? p.real : ew);
      }
    }
    const Pair* count = raw.Find(90);
    if (count && count->integer != static_cast<long long>(n)) {
      delete e;
      Fail(count->line,
           L"the LWPOLYLINE declares " + std::to_wstring(count->integer) + L" vertices but has " + std::to_wstring(n));
      return nullptr;
    }
    e->setClosed((raw.Int(70) & 1) != 0);
    return e;
  }
  if (t == "INSERT") {
    auto* e = new AcDbBlockReference;
    e->setNormal(normal);
    e->setPosition(OcsToWcs(normal, raw.Point(10)));
    const AcGeScale3d scale(raw.Real(41, 1), raw.Real(42, 1), raw.Real(43, 1));
    if (e->setScaleFactors(scale) != Acad::eOk) {
      delete e;
      Fail(raw.line, L"the INSERT has a zero scale factor");
      return nullptr;
    }
    e->setRotation(raw.Real(50) * kDegree);
    return e;
  }
  if (t == "POLYLINE") {
    auto* e = new AcDb2dPolyline;
    e->setNormal(normal);
    e->setElevation(raw.Point(10).z);
    DbAccess::SetFlags(e, static_cast<int>(raw.Int(70)));
    return e;
  }
  if (t == "VERTEX") {
    auto* e = new AcDb2dVertex(raw.Point(10), raw.Real(42), raw.Real(40), raw.Real(41));
    DbAccess::SetFlags(e, static_cast<int>(raw.Int(70)));
    return e;
  }
  if (t == "SEQEND") return new AcDbSequenceEnd;
  return nullptr;
}

bool Reader::ReadEntity(AcDbObjectId record, bool spaces) {
  Raw raw;
  if (!TakeObject(raw) || !Finite(raw)) return false;
  const std::string type = raw.type;
  if (type == "ATTRIB" || type == "VERTEX" || type == "SEQEND")
    return Fail(raw.line, L"a " + FromUtf8(type) + L" that follows no INSERT or POLYLINE");
  const bool polyline = type == "POLYLINE";
  // 3D polylines and meshes are old-style polylines this host does not read.
  const bool skipPolyline = polyline && (raw.Int(70) & (8 | 16 | 64)) != 0;
  AcDbEntity* ent = skipPolyline ? nullptr : Build(raw);
  if (!m_error.empty()) return false;
  AcDbObjectId owner = record;
  if (spaces) owner = raw.Int(67) == 1 ? DbAccess::PaperSpace(m_db.get()) : record;
  AcDbObjectId id;
  if (ent) {
    if (!Add(ent, raw, owner, id)) return false;
    if (auto* rec = AcDbBlockTableRecord::cast(DbAccess::Resolve(owner))) DbAccess::Entities(rec).push_back(id);
  } else {
    Skipped(type);
  }
  if (type == "INSERT") {
    m_inserts.push_back({id, Text(raw, 2), raw.line, record});
    if (raw.Int(66) != 1) return true;
  } else if (!polyline) {
    return true;
  }
  // The sub-entities of an INSERT with attributes or of a POLYLINE, up to their SEQEND.
  const char* subType = polyline ? "VERTEX" : "ATTRIB";
  const AcDbEntity* main = ent ? AcDbEntity::cast(DbAccess::Resolve(id)) : nullptr;
  Raw sub;
  while (!AtEnd() && IsZero(subType)) {
    if (!TakeObject(sub) || !Finite(sub)) return false;
    if (!ent) continue;
    AcDbEntity* child = Build(sub);
    if (!child) return false;
    if (sub.Find(8) == nullptr) child->setLayer(main->layerId(), false);
    AcDbObjectId childId;
    if (!Add(child, sub, id, childId)) return false;
    if (polyline)
      DbAccess::AdoptVertex(AcDb2dPolyline::cast(DbAccess::Resolve(id)), childId);
    else
      DbAccess::AdoptAttribute(AcDbBlockReference::cast(DbAccess::Resolve(id)), childId);
  }
  if (AtEnd() || !IsZero("SEQEND"))
    return Fail(AtEnd() ? raw.line : Peek().line,
                L"the " + FromUtf8(type) + L" at line " + std::to_wstring(raw.line) + L" is not ended by SEQEND");
  if (!TakeObject(sub)) return false;
  if (!ent) return true;
  auto* seqend = new AcDbSequenceEnd;
  if (sub.Find(8) == nullptr) seqend->setLayer(main->layerId(), false);
  AcDbObjectId seqId;
  if (!Add(seqend, sub, id, seqId)) return false;
  if (polyline)
    DbAccess::AdoptSequenceEnd(AcDb2dPolyline::cast(DbAccess::Resolve(id)), seqId);
  else
    DbAccess::AdoptSequenceEnd(AcDbBlockReference::cast(DbAccess::Resolve(id)), seqId);
  return true;
}

bool Reader::ReadEntities(AcDbObjectId record, bool spaces, const char* end) {
  while (!AtEnd() && !IsZero(end)) {
    if (Peek().code != 0) return Fail(Peek().line, L"expected an entity (group 0)");
    if (Peek().value == "ENDSEC" || Peek().value == "BLOCK" || Peek().value == "ENDBLK" || Peek().value == "EOF")
      return Fail(Peek().line, L"unexpected " + FromUtf8(Peek().value) + L" among the entities");
    if (!ReadEntity(record, spaces)) return false;
  }
  return true;
}

}  // namespace standin::dxf
