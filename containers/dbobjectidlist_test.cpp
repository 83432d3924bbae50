#include "containers/DbObjectIdList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

AcDbObjectId Id(Adesk::IntPtr old) {
  AcDbObjectId id;
  id.setFromOldId(old);
  return id;
}

std::vector<Adesk::IntPtr> OldIds(const ZoDbObjectIdList& l) {
  std::vector<Adesk::IntPtr> ids;
  for (const AcDbObjectId* p = l.GetFirst(); p; p = l.GetNext(p)) ids.push_back(p->asOldId());
  return ids;
}

TEST(DbObjectIdList, OrdersAndFindsByTheHostsIdComparisons) {
  ZoDbObjectIdList ids;
  for (Adesk::IntPtr old : {40, 10, 30, 20}) ids.Append(Id(old));
  ids.Append(AcDbObjectId::kNull);
  ids.Sort(true);
  EXPECT_EQ(OldIds(ids), (std::vector<Adesk::IntPtr>{0, 10, 20, 30, 40}));
  EXPECT_TRUE(ids.GetFirst()->isNull());
  EXPECT_EQ(ids.BFind(Id(30)), 3);
  EXPECT_EQ(ids.BFind(Id(25)), -1);
  EXPECT_FALSE(ids.SortInto(Id(20), false));
  EXPECT_TRUE(ids.SortInto(Id(25), false));
  EXPECT_EQ(ids.GetCur(), 3);
  EXPECT_EQ(ids.Find(Id(40)), 5);
  EXPECT_EQ(ids.FindDel(AcDbObjectId::kNull), 1);
  ids.Sort(false);
  EXPECT_EQ(OldIds(ids), (std::vector<Adesk::IntPtr>{40, 30, 25, 20, 10}));

  ZoDbObjectIdList copy(ids);
  EXPECT_TRUE(copy == ids);
  copy.MoveTo(2);
  copy.SetCurData(Id(26));
  EXPECT_TRUE(copy != ids);
  copy = ids;
  EXPECT_TRUE(copy == ids);
  EXPECT_TRUE(copy.Verify());
}

}  // namespace
