// The built-in sample drawing: a small floor plan with locked walls, two doors as block references
// with attributes, room names, a bed drawn as a polyline and a round table.
#include <dbents.h>
#include <dbpl.h>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/drawing.h"

namespace standin {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

}  // namespace

std::unique_ptr<AcDbDatabase> BuildSampleDrawing() {
  auto db = std::make_unique<AcDbDatabase>();
  AcDbDatabase* d = db.get();
  DbAccess::Name(d) = L"Sample.dwg";
  AddLayer(d, L"WALL", 7, true);
  AddLayer(d, L"DOOR", 3);
  AddLayer(d, L"TEXT", 2);
  AddLayer(d, L"FURNITURE", 4);

  // Outer walls with the entrance between x 200 and 280, and an inner wall with a doorway
  // between y 260 and 340.
  const double walls[][4] = {{100, 100, 200, 100}, {280, 100, 700, 100}, {700, 100, 700, 500}, {700, 500, 100, 500},
                             {100, 500, 100, 100}, {400, 100, 400, 260}, {400, 340, 400, 500}};
  for (const auto& w : walls) AddEntity(d, new AcDbLine({w[0], w[1], 0}, {w[2], w[3], 0}), L"WALL");

  // A door leaf 80 wide with its swing, numbered and sized by attributes.
  auto* number = new AcDbAttributeDefinition({10, 10, 0}, L"D1", L"NO", L"Door number");
  number->setHeight(10);
  auto* width = new AcDbAttributeDefinition({10, -15, 0}, L"800", L"WIDTH", L"Door width");
  width->setHeight(8);
  width->setInvisible(true);
  AddBlock(d, L"DOOR", {new AcDbLine({0, 0, 0}, {0, 80, 0}), new AcDbArc({0, 0, 0}, 80, 0, kHalfPi), number, width});
  AddBlockReference(d, L"DOOR", {200, 100, 0}, 0, {{L"NO", L"D1"}, {L"WIDTH", L"800"}}, L"DOOR");
  AddBlockReference(d, L"DOOR", {400, 260, 0}, kHalfPi, {{L"NO", L"D2"}, {L"WIDTH", L"800"}}, L"DOOR");

  auto* living = new AcDbText({150, 300, 0}, L"LIVING ROOM", AcDbObjectId::kNull, 20);
  AddEntity(d, living, L"TEXT");
  AddEntity(d, new AcDbText({480, 300, 0}, L"BEDROOM", AcDbObjectId::kNull, 20), L"TEXT");

  // A bed with a rounded head: a closed polyline with one semicircular segment.
  auto* bed = new AcDbPolyline;
  bed->addVertexAt(0, {500, 380});
  bed->addVertexAt(1, {620, 380}, 1.0);
  bed->addVertexAt(2, {620, 440});
  bed->addVertexAt(3, {500, 440});
  bed->setClosed(true);
  AddEntity(d, bed, L"FURNITURE");
  AddEntity(d, new AcDbCircle({250, 400, 0}, AcGeVector3d::kZAxis, 40), L"FURNITURE");

  DxfGroup extmin, extmax;
  extmin.kind = extmax.kind = RbValue::Point;
  extmin.point[0] = extmin.point[1] = 100;
  extmax.point[0] = 700, extmax.point[1] = 500;
  DbAccess::Header(d) = {{L"$EXTMIN", extmin}, {L"$EXTMAX", extmax}};
  return db;
}

}  // namespace standin
