// Attributed block references: one attribute per live definition, placed by the reference's
// transform, and the reference kept when no attribute can be made.
#include "db/BlockUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "standin/host/drawing/drawing.h"
#include "testing/DatabaseTest.h"
#include "testing/EntityData.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class BlockUtil : public tovutest::DatabaseTest {
 protected:
  // How many block references and attributes the drawing holds.
  static std::pair<int, int> References() {
    int refs = 0, atts = 0;
    for (const std::wstring& handle : tovutest::Walk()) {
      const std::wstring type = tovutest::TypeOf(ZoAdsEnt(tovutest::ByHandle(handle.c_str())));
      refs += type == L"INSERT";
      atts += type == L"ATTRIB";
    }
    return {refs, atts};
  }
};

TEST_F(BlockUtil, AttributesComeFromTheLiveDefinitionsAtTheTransformedPlaces) {
  auto* number = new AcDbAttributeDefinition(AcGePoint3d(2, 1, 0), L"D1", L"NO", L"Door number");
  number->setHeight(0.5);
  auto* width = new AcDbAttributeDefinition(AcGePoint3d(0, 3, 0), L"900", L"WIDTH", L"Width");
  width->setHeight(0.25);
  width->setRotation(0.1);
  auto* erased = new AcDbAttributeDefinition(AcGePoint3d(5, 5, 0), L"X", L"GONE", L"");
  const AcDbObjectId block = standin::AddBlock(
      Db(), L"DOOR", {new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(3, 1, 0)), number, width, erased},
      AcGePoint3d(1, 1, 0));
  // The last definition is erased: it must give no attribute.
  AcDbBlockTableRecord* rec = nullptr;
  ASSERT_EQ(acdbOpenObject(rec, block, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  rec->newIterator(it);
  AcDbObjectId erasedId;
  for (; !it->done(); it->step()) it->getEntityId(erasedId);
  delete it;
  rec->close();
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, erasedId, AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();

  CreateAttributeBlock(block, AcGePoint3d(100, 50, 0), AcGeScale3d(2, 2, 1), kPi / 2);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);

  ads_name last;
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, ZoAdsEnt(last).GetObjectId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(ref->blockId(), Db()->currentSpaceId());
  // Block point p lands at the insertion point + R(90 degrees) * 2 * (p - origin).
  struct Want {
    const wchar_t* tag;
    const wchar_t* value;
    double x, y, height, rotation;
  };
  const Want want[] = {{L"NO", L"D1", 100, 52, 1.0, kPi / 2}, {L"WIDTH", L"900", 96, 48, 0.5, kPi / 2 + 0.1}};
  AcDbObjectIterator* atts = ref->attributeIterator();
  size_t n = 0;
  for (; !atts->done(); atts->step(), ++n) {
    AcDbAttribute* att = nullptr;
    ASSERT_EQ(acdbOpenObject(att, atts->objectId(), AcDb::kForRead), Acad::eOk);
    ASSERT_LT(n, 2u) << "one attribute per live definition";
    EXPECT_STREQ(att->tagConst(), want[n].tag);
    EXPECT_STREQ(att->textStringConst(), want[n].value);
    EXPECT_NEAR(att->position().x, want[n].x, 1e-9);
    EXPECT_NEAR(att->position().y, want[n].y, 1e-9);
    EXPECT_NEAR(att->height(), want[n].height, 1e-12);
    EXPECT_NEAR(att->rotation(), want[n].rotation, 1e-12);
    EXPECT_EQ(att->ownerId(), ref->objectId());
    att->close();
  }
  EXPECT_EQ(n, 2u);
  delete atts;
  ref->close();
}

TEST_F(BlockUtil, AReferenceStaysWithoutAttributesWhenTheBlockHasNoneOrCannotBeRead) {
  const AcDbObjectId plain =
      standin::AddBlock(Db(), L"PLAIN", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0))});
  CreateAttributeBlock(plain, AcGePoint3d(5, 5, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);
  EXPECT_EQ(References(), std::make_pair(1, 0));

  // A block definition open for write elsewhere cannot be read: the reference stays alone.
  const AcDbObjectId tagged =
      standin::AddBlock(Db(), L"TAGGED", {new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), L"1", L"N", L"")});
  AcDbBlockTableRecord* busy = nullptr;
  ASSERT_EQ(acdbOpenObject(busy, tagged, AcDb::kForWrite), Acad::eOk);
  CreateAttributeBlock(tagged, AcGePoint3d(7, 7, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 1) << "only the definition held by the test";
  busy->close();
  EXPECT_EQ(References(), std::make_pair(2, 0));

  CreateAttributeBlock(tagged, AcGePoint3d(9, 9, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);
  EXPECT_EQ(References(), std::make_pair(3, 1));
}

}  // namespace
