// The entities of a DXF file: their common properties, each type the reader keeps, and the
// sub-entities (attributes, vertices) that follow their main entity.
#include <dbents.h>
#include <dbpl.h>

#include <cmath>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/dxf_reader.h"
#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"
#include "standin/win32/utf8.h"

namespace standin::dxf {

bool Reader::Finite(const Raw& raw) {
  for (const Pair& p : raw.groups)
    if (TypeOf(p.code) == ValueType::Real && std::fabs(p.real) > 1e100)
      return Reject(L"the value " + Shown(TrimBlanks(p.value)) + L" at line " + std::to_wstring(p.line + 1) +
                    L" is out of range for a drawing");
  return true;
}

const Reader::OwnerRecord& Reader::OwnerOf(AcDbObjectId owner) {
  if (m_owner.id != owner) {  // a null owner has the null record, as m_owner starts
    m_owner.id = owner;
    m_owner.record = AcDbBlockTableRecord::cast(DbAccess::Resolve(owner));
    m_owner.layout = m_owner.record && m_owner.record->isLayout();
  }
  return m_owner;
}

bool Reader::Add(AcDbEntity* ent, const Raw& raw, AcDbObjectId owner, AcDbObjectId& id, AcDbObjectId layer) {
  AcDbObjectId linetype = m_byLayer;  // what joining the drawing would give it
  const Pair* layerName = raw.Find(8);
  if (layerName || layer.isNull()) {
    const std::string_view layerKey = layerName ? layerName->value : std::string_view("0");
    if (const auto it = m_layerBytes.find(layerKey); it != m_layerBytes.end()) {
      layer = it->second;
    } else {
      if (!LayerId(layerName ? Text(layerName->value) : L"0", layerName ? layerName->line : raw.line, layer))
        return delete ent, false;
      m_layerBytes.emplace(layerKey, layer);
    }
  }
  if (const Pair* lt = raw.Find(6)) {
    if (const auto it = m_linetypeBytes.find(lt->value); it != m_linetypeBytes.end()) {
      linetype = it->second;
    } else {
      if (!LinetypeId(Text(lt->value), lt->line, linetype)) return delete ent, false;
      m_linetypeBytes.emplace(lt->value, linetype);
    }
  }
  if (const Pair* color = raw.Find(62)) {
    if (color->integer < 0 || color->integer > 256)
      return delete ent, Reject(L"colour " + std::to_wstring(color->integer) + L" is not a colour index");
    ent->setColorIndex(static_cast<Adesk::UInt16>(color->integer), false);
  }
  const auto what = [&raw] { return L"the " + Shown(raw.type); };
  const EntityPlace place{OwnerOf(owner).layout, layer, linetype};
  if (AddObject(ent, owner, id, FileHandle(raw, what), raw, what, &place) != Acad::eOk) {
    delete ent;
    return Fail(raw.line, L"the drawing has no handle left for the " + Shown(raw.type));
  }
  ent->close();
  return true;
}

namespace {

// Groups that every entity has, which a file without subclass markers gives among its own.
bool CommonGroup(int code) {
  switch (code) {
    case 5:
    case 6:
    case 8:
    case 48:
    case 60:
    case 62:
    case 67:
    case 284:
    case 347:
    case 348:
    case 370:
    case 420:
    case 430:
    case 440:
      return true;
    default:
      return false;
  }
}

// Codes whose value is the x of a point, followed by its y (code + 10) and z (code + 20).
bool PointCode(int code) {
  return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || (code >= 210 && code <= 213);
}

}  // namespace

std::vector<DxfGroup> Reader::OwnGroups(const Raw& raw) const {
  std::vector<DxfGroup> out;
  // The common groups come first, under the AcDbEntity marker when the file writes markers.
  bool common = true;
  const std::vector<Pair>& g = raw.groups;
  for (size_t i = 0; i < g.size(); ++i) {
    const Pair& p = g[i];
    if (p.code == 100) common = TrimBlanks(p.value) == "AcDbEntity";
    if (common && (p.code == 100 || CommonGroup(p.code))) continue;
    DxfGroup d;
    d.code = static_cast<short>(p.code);
    if (PointCode(p.code)) {
      d.kind = RbValue::Point;
      d.point[0] = p.real;
      for (int k = 1; k <= 2 && i + 1 < g.size() && g[i + 1].code == p.code + 10 * k; ++k) d.point[k] = g[++i].real;
      out.push_back(d);
      continue;
    }
    d.kind = ResbufValueKind(p.code);
    switch (d.kind) {
      case RbValue::Real:
        d.real = p.real;
        break;
      case RbValue::Short:
      case RbValue::Long:
      case RbValue::Int64:
        d.integer = static_cast<long>(p.integer);
        break;
      case RbValue::String:
        d.text = Text(p.value);
        break;
      default:
        continue;  // references to other objects and binary data are the file's own
    }
    out.push_back(d);
  }
  return out;
}

AcDbEntity* Reader::Build(const Raw& raw) {
  const AcGeVector3d normal = raw.Normal();
  const std::string_view t = raw.type;
  if (t == "HATCH") return BuildHatch(raw);
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
      Reject(L"it has no positive radius (group 40)");
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
        Reject(L"it has no tag (group 2)");
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
      Reject(L"its justification is unknown");
      return nullptr;
    }
    e->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h));
    e->setVerticalMode(static_cast<AcDb::TextVertMode>(v));
    return e;
  }
  if (t == "LWPOLYLINE") {
    unsigned vertices = 0;
    for (const Pair& p : raw.groups) vertices += p.code == 10;
    auto* e = new AcDbPolyline(vertices);
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
      Reject(L"it declares " + std::to_wstring(count->integer) + L" vertices but has " + std::to_wstring(n));
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
      // A zero Z scale flattens the block, which changes nothing of a block drawn in its XY plane.
      if (scale.sz != 0 || scale.sx == 0 || scale.sy == 0) {
        delete e;
        Reject(L"it has a zero scale factor");
        return nullptr;
      }
      Note(raw.Find(43)->line, L"the INSERT has the Z scale 0; the block is drawn flattened");
      DbAccess::SetScaleFactors(e, scale);
    }
    e->setRotation(raw.Real(50) * kDegree);
    return e;
  }
  if (t == "POLYLINE" && (raw.Int(70) & 8) != 0) {
    auto* e = new AcDb3dPolyline;
    DbAccess::SetFlags(e, static_cast<int>(raw.Int(70)));
    return e;
  }
  if (t == "VERTEX" && m_spatial) {
    auto* e = new AcDb3dPolylineVertex(raw.Point(10));
    DbAccess::SetFlags(e, static_cast<int>(raw.Int(70)));
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
  if (const ListedKind* kind = FindListedKind(t)) {
    AcDbEntity* e = kind->make();
    GroupList& data = *kind->data(e);
    data.kind = kind;
    data.groups = OwnGroups(raw);
    if (const wchar_t* what = kind->correct ? kind->correct(data) : nullptr)
      Note(raw.line, L"the " + Shown(raw.type) + L" " + what);
    if (const wchar_t* why = kind->check ? kind->check(data) : nullptr) {
      delete e;
      Reject(why);
      return nullptr;
    }
    return e;
  }
  return nullptr;
}

// A zero extrusion direction is read as the default one, as other readers read it.
void Reader::DefaultNormal(Raw& raw) {
  if (!raw.Find(210) || raw.Normal().length() >= 1e-12) return;
  Note(raw.Find(210)->line, L"the " + Shown(raw.type) + L" has a zero extrusion direction; it is given 0,0,1");
  bool z = false;
  for (Pair& p : raw.groups) {
    if (p.code == 230) p.real = 1, z = true;
    if (p.code == 210 || p.code == 220) p.real = 0;
  }
  if (!z) raw.Push(Pair(230, raw.Find(210)->line, "1")).real = 1;
}

AcDbEntity* Reader::Kept(Raw& raw, bool& rejected) {
  DefaultNormal(raw);
  AcDbEntity* ent = Finite(raw) ? Build(raw) : nullptr;
  rejected = !m_why.empty();
  if (rejected) {
    Note(raw.line, L"the " + Shown(raw.type) + L" is left out: " + m_why);
    m_why.clear();
  }
  return ent;
}

bool Reader::Added(AcDbEntity* ent, const Raw& raw, AcDbObjectId owner, AcDbObjectId& id, AcDbObjectId layer) {
  if (Add(ent, raw, owner, id, layer)) return true;
  if (m_error.empty()) {
    Note(raw.line, L"the " + Shown(raw.type) + L" is left out: " + m_why);
    m_why.clear();
  }
  return false;
}

bool Reader::ReadEntity(AcDbObjectId record, bool spaces) {
  Raw& raw = m_raw;
  if (!TakeObject(raw)) return false;
  const std::string_view type = raw.type;
  if (type == "ATTRIB" || type == "VERTEX" || type == "SEQEND") {
    Note(raw.line, L"the " + FromUtf8(type) + L" is left out: it follows no INSERT or POLYLINE");
    return true;
  }
  const bool polyline = type == "POLYLINE";
  // Polygon and polyface meshes are old-style polylines this host does not read.
  const bool skipPolyline = polyline && (raw.Int(70) & (16 | 64)) != 0;
  bool rejected = false;
  AcDbEntity* ent = skipPolyline ? nullptr : Kept(raw, rejected);
  AcDbObjectId owner = record;
  if (spaces) owner = raw.Int(67) == 1 ? DbAccess::PaperSpace(m_db.get()) : record;
  AcDbObjectId id;
  if (ent) {
    if (!Added(ent, raw, owner, id)) {
      if (!m_error.empty()) return false;
      ent = nullptr;
    } else if (AcDbBlockTableRecord* rec = OwnerOf(owner).record) {
      DbAccess::Entities(rec).push_back(id);
    }
  } else if (!rejected) {
    Skipped(type);
  }
  if (ent && type == "INSERT") m_inserts.push_back({id, Text(raw, 2), raw.line, record});
  if (ent && type == "DIMENSION") m_inserts.push_back({id, Text(raw, 2), raw.line, record, true});
  if ((type != "INSERT" || raw.Int(66) != 1) && !polyline) return true;
  // The sub-entities of an INSERT with attributes or of a POLYLINE, up to their SEQEND.
  const bool spatial = polyline && (raw.Int(70) & 8) != 0;
  m_spatial = spatial;
  const char* subType = polyline ? "VERTEX" : "ATTRIB";
  const AcDbEntity* main = ent ? AcDbEntity::cast(DbAccess::Resolve(id)) : nullptr;
  Raw& sub = m_sub;
  while (!AtEnd() && IsZero(subType)) {
    if (!TakeObject(sub)) return false;
    if (!ent) continue;
    AcDbEntity* child = Kept(sub, rejected);
    if (!child) continue;
    AcDbObjectId childId;
    if (!Added(child, sub, id, childId, main->layerId())) {
      if (!m_error.empty()) return false;
      continue;
    }
    if (spatial)
      DbAccess::AdoptVertex(AcDb3dPolyline::cast(DbAccess::Resolve(id)), childId);
    else if (polyline)
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
  AcDbObjectId seqId;
  if (!Added(seqend, sub, id, seqId, main->layerId())) return m_error.empty();
  if (spatial)
    DbAccess::AdoptSequenceEnd(AcDb3dPolyline::cast(DbAccess::Resolve(id)), seqId);
  else if (polyline)
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
