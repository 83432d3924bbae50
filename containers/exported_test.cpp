// The exported instantiations over the family's element types: how each type compares decides
// what the family's searches find and how its sorts order.
#include "containers/Exported.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One field of every object of an owning container, in container order.
template <class C, class F>
auto FieldsOf(const C& c, F field) {
  std::vector<decltype(field(c.GetPData(0)))> out;
  for (long i = 0; i < c.GetLength(); ++i) out.push_back(field(c.GetPData(i)));
  return out;
}

const std::vector<int> kShuffled = {3, 1, 2};

}  // namespace

TEST(Exported, NeverEqualTypesFindNothingAndSortsKeepTheirOrder) {
  ZoPDList<ZoPtImageLine> lines;
  const ZoPtImageLine line(ZoGePoint(0, 0), ZoGePoint(1, 1), 5);
  lines.FindDataOrAppend(line);
  lines.FindDataOrAppend(line);
  EXPECT_EQ(lines.GetLength(), 2);
  EXPECT_EQ(lines.FindData(lines.GetPData(0)), -1);
  EXPECT_EQ(lines.FindDataDel(line), 0);

  ZoDynPArray<ZoDbGrip> grips;
  ZoPDList<ZoGeCurveMeshEdge3d> edges;
  ZoPDList<ZoDbWallGraphPath> paths;
  for (int k : kShuffled) {
    grips.Append(new ZoDbGrip(ZoGePoint(k, 0)));
    edges.Append(new ZoGeCurveMeshEdge3d(k));
    ZoDbWallGraphPath* path = new ZoDbWallGraphPath;
    path->m_walls.resize(k);
    paths.Append(path);
  }
  grips.Sort(false);
  edges.Sort(false);
  paths.Sort(true);
  EXPECT_EQ(FieldsOf(grips, [](const ZoDbGrip& g) { return static_cast<int>(g.m_pt.x); }), kShuffled);
  EXPECT_EQ(FieldsOf(edges, [](const ZoGeCurveMeshEdge3d& e) { return e.m_nIndex; }), kShuffled);
  EXPECT_EQ(FieldsOf(paths, [](const ZoDbWallGraphPath& p) { return static_cast<int>(p.m_walls.size()); }), kShuffled);
  EXPECT_EQ(grips.FindData(grips.GetPData(1)), -1);
}

TEST(Exported, NumbersSortByValueAndPointersByAddress) {
  ZoDynArray<double> values;
  values << 2.5 << -1.0 << 10.0 << 0.5;
  values.Sort(true);
  EXPECT_EQ(std::vector<double>(values.GetFirst(), values.GetFirst() + 4), (std::vector<double>{-1.0, 0.5, 2.5, 10.0}));

  // The grips' values would sort them the other way: their points run against their addresses.
  ZoDbGrip grips[3] = {ZoDbGrip(ZoGePoint(9, 0)), ZoDbGrip(ZoGePoint(5, 0)), ZoDbGrip(ZoGePoint(1, 0))};
  ZoDynArray<ZoDbGrip*> byAddress;
  byAddress << &grips[2] << &grips[0] << &grips[1];
  byAddress.Sort(true);
  EXPECT_EQ(byAddress[0], &grips[0]);
  EXPECT_EQ(byAddress[2], &grips[2]);
  EXPECT_EQ(byAddress.BFind(&grips[1]), 1);
}

TEST(Exported, GridNodesOrderByWholeColumnsThenRows) {
  ZoList<ZoGeGridNodeBJ> nodes;
  // (0.6, 0) shares the column of (0, 3): x differences are truncated to whole units.
  nodes << ZoGeGridNodeBJ(0.6, 0) << ZoGeGridNodeBJ(-2, 0) << ZoGeGridNodeBJ(0, 3) << ZoGeGridNodeBJ(3, 1);
  nodes.Sort(true);
  std::vector<double> ys;
  for (const ZoGeGridNodeBJ* p = nodes.GetFirst(); p; p = nodes.GetNext(p)) ys.push_back(p->m_pt.y);
  EXPECT_EQ(ys, (std::vector<double>{1, 3, 0, 0}));
  EXPECT_EQ(nodes.BFind(ZoGeGridNodeBJ(-2, 0)), 3);

  // Within g_distZero two rows are one, and two nodes are the same node.
  const ZoGeGridNodeBJ within(5, 1 + g_distZero / 2), beyond(5, 1 + 2 * g_distZero);
  ZoDList<ZoGeGridNodeBJ> column;
  column << ZoGeGridNodeBJ(5, 1) << within;
  column.Sort(true);
  EXPECT_EQ(column.GetAt(0).m_pt.y, 1);
  EXPECT_EQ(column.Find(within), 0);
  EXPECT_EQ(column.Find(beyond), -1);
  EXPECT_TRUE(ZoGeGridNodeBJ(5, 1) > beyond);
  EXPECT_FALSE(beyond > ZoGeGridNodeBJ(5, 1));
}

TEST(Exported, CellsAndPathsAreEqualWhenTheyHoldTheSameEdges) {
  ZoGeCurveMeshEdge a(1), b(2), sameAsA(1);
  ZoGeCurveMeshCell ab, ba, other;
  ab.m_edges = {&a, &b};
  ba.m_edges = {&b, &a};
  other.m_edges = {&sameAsA, &b};
  ZoPDList<ZoGeCurveMeshCell> cells;
  cells.Append(new ZoGeCurveMeshCell(ba));
  cells.Append(new ZoGeCurveMeshCell(ab));
  EXPECT_EQ(cells.FindData(ab), 1);
  EXPECT_EQ(cells.FindData(other), -1);
  // Cells order by their number of edges.
  ZoGeCurveMeshCell single;
  single.m_edges = {&a};
  cells.Append(new ZoGeCurveMeshCell(single));
  cells.Sort(true);
  EXPECT_EQ(cells.GetPData(0), single);

  ZoDbWallGraphEdge wall(4);
  ZoDbWallGraphPath path;
  path.m_walls = {&wall};
  ZoPDList<ZoDbWallGraphPath> paths;
  paths.Append(new ZoDbWallGraphPath);
  paths.Append(new ZoDbWallGraphPath(path));
  EXPECT_EQ(paths.FindData(path), 1);
}

TEST(Exported, EdgesAreEqualByTheirNumberAlone) {
  ZoGeCurveMeshNode n1(0, 0), n2(1, 0);
  ZoGeCurveMeshEdge e7(7), alsoE7(7), e2(2);
  e7.m_pStart = &n1;
  alsoE7.m_pStart = &n2;
  ZoPDList<ZoGeCurveMeshEdge> edges;
  for (const ZoGeCurveMeshEdge* e : {&e7, &e2, &alsoE7}) edges.Append(new ZoGeCurveMeshEdge(*e));
  EXPECT_EQ(edges.FindData(alsoE7), 0);
  edges.Sort(true);
  EXPECT_EQ(FieldsOf(edges, [](const ZoGeCurveMeshEdge& e) { return e.m_nIndex; }), (std::vector<int32_t>{2, 7, 7}));
  EXPECT_EQ(edges.GetPData(1).m_pStart, &n1);
  EXPECT_EQ(edges.FindDataDel(e7), 2);

  ZoDbWallGraphEdge thick(3);
  thick.m_dThickness = 0.3;
  ZoPDList<ZoDbWallGraphEdge> walls;
  walls.Append(new ZoDbWallGraphEdge(3));
  EXPECT_EQ(walls.FindData(thick), 0);
}

TEST(Exported, MeshNodesCompareAsPoints) {
  // 2D nodes: z does not exist for them, their own counts are not compared.
  ZoPXList<ZoGeCurveMeshNode> nodes;
  ZoGeCurveMeshNode counted(1, 2);
  counted.m_nEdgeNum = 4;
  nodes.Append(new ZoGeCurveMeshNode(3, 0));
  nodes.Append(new ZoGeCurveMeshNode(1, 2 + g_distZero / 2));
  nodes.Append(new ZoGeCurveMeshNode(1, -1));
  EXPECT_EQ(nodes.FindData(counted), 1);
  nodes.Sort(true);
  EXPECT_EQ(FieldsOf(nodes, [](const ZoGeCurveMeshNode& n) { return n.y; }),
            (std::vector<double>{-1, 2 + g_distZero / 2, 0}));

  // 3D nodes: z tells them apart and orders them last.
  ZoPXList<ZoGeCurveMeshNode3d> nodes3d;
  nodes3d.Append(new ZoGeCurveMeshNode3d(0, 0, 2));
  nodes3d.Append(new ZoGeCurveMeshNode3d(0, 0, 1));
  EXPECT_EQ(nodes3d.FindData(ZoGeCurveMeshNode3d(0, 0, 1)), 1);
  nodes3d.Sort(true);
  EXPECT_EQ(nodes3d.GetPData(0).z, 1);
  EXPECT_EQ(nodes3d.BFindData(ZoGeCurveMeshNode3d(0, 0, 2)), 1);
}
