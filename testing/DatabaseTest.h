// What tests of database utilities share: an empty drawing per test, and the checks that a call
// leaves no object open and none alive outside the drawing that it did not hand back.
#pragma once

#include "standin/host/drawing/drawing.h"
#include "testing/DrawingTest.h"

namespace tovutest {

class DatabaseTest : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    standin::OpenEmptyDrawing();
    m_free = standin::FreeObjectCount();
  }
  void TearDown() override {
    EXPECT_EQ(standin::FreeObjectCount(), m_free) << "objects outside the drawing were left behind";
    DrawingTest::TearDown();
  }
  // What the module call just done left open; 0 for a well-behaved call.
  int LeftOpen(const wchar_t* operation) { return standin::ReportObjectsLeftOpen(operation); }
  AcDbObjectId Line(double x0, double y0, double x1, double y1) {
    return standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
  }

 private:
  long m_free = 0;
};

}  // namespace tovutest
