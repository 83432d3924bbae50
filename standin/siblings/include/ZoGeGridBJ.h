// Just enough of the family's axis-grid types, behaving as theirs do, for the containers the
// platform exports over them. They are declared here with every comparison inline; the grid
// code that builds them is not part of this substitute.
#pragma once

#include <ZoGePoint.h>

#include <cmath>

// A node of the grid: equal as its point.
class ZoGeGridNodeBJ {
 public:
  ZoGeGridNodeBJ() = default;
  ZoGeGridNodeBJ(double dx, double dy) : m_pt(dx, dy) {}

  bool operator==(const ZoGeGridNodeBJ& n) const { return m_pt == n.m_pt; }
  bool operator!=(const ZoGeGridNodeBJ& n) const { return m_pt != n.m_pt; }
  // Column by whole drawing units first (the x difference is truncated), then y; a node "is
  // greater" when it lies to the left, or in the same column below.
  bool operator>(const ZoGeGridNodeBJ& n) const {
    const double dx = std::trunc(m_pt.x - n.m_pt.x);
    if (dx < -g_distZero) return true;
    if (dx > g_distZero) return false;
    return m_pt.y - n.m_pt.y < -g_distZero;
  }

  ZoGePoint m_pt;
};

// A cell of the grid, known by its row and column.
class ZoGeGridCellBJ {
 public:
  ZoGeGridCellBJ(long nRow = 0, long nCol = 0) : m_nRow(nRow), m_nCol(nCol) {}

  bool operator==(const ZoGeGridCellBJ& c) const { return m_nRow == c.m_nRow && m_nCol == c.m_nCol; }
  bool operator!=(const ZoGeGridCellBJ& c) const { return !(*this == c); }
  // Row by row, then column by column.
  bool operator>(const ZoGeGridCellBJ& c) const { return m_nRow != c.m_nRow ? m_nRow > c.m_nRow : m_nCol > c.m_nCol; }

  long m_nRow;
  long m_nCol;
};

// An axis line of the grid at an offset from the origin.
class ZoGeGridLineBJ {
 public:
  explicit ZoGeGridLineBJ(double dOffset = 0) : m_dOffset(dOffset) {}

  // Offsets within g_distZero are the same line.
  bool operator==(const ZoGeGridLineBJ& l) const { return std::fabs(m_dOffset - l.m_dOffset) <= g_distZero; }
  bool operator!=(const ZoGeGridLineBJ& l) const { return !(*this == l); }
  bool operator>(const ZoGeGridLineBJ& l) const { return m_dOffset - l.m_dOffset > g_distZero; }

  double m_dOffset;
};

// A segment of an axis line between two nodes; segments are never equal and never ordered.
class ZoGeGridSegBJ {
 public:
  ZoGeGridSegBJ(const ZoGeGridNodeBJ& start, const ZoGeGridNodeBJ& end) : m_start(start), m_end(end) {}

  bool operator==(const ZoGeGridSegBJ&) const { return false; }
  bool operator!=(const ZoGeGridSegBJ&) const { return false; }
  bool operator<(const ZoGeGridSegBJ&) const { return false; }
  bool operator>(const ZoGeGridSegBJ&) const { return false; }

  ZoGeGridNodeBJ m_start, m_end;
};
