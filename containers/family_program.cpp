// A program of the family: it uses the module's container instantiations and compiles none of
// its own (family_program_test.sh checks both). It prints what differs from the expected results.
#include <cstdio>

#include "TovuPlatform.h"

static int g_nFailures = 0;

static void Check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAIL: %s\n", what);
    ++g_nFailures;
  }
}

int main() {
  ZoDynArray<double> values;
  values << 3.0 << -1.0 << 2.0;
  values.Sort(true);
  Check(values[0] == -1.0 && values[2] == 3.0, "an array of numbers sorts by value");

  ZoPDList<ZoPtImageLine> lines;
  const ZoPtImageLine line(ZoGePoint(0, 0), ZoGePoint(1, 1), 7);
  lines.FindDataOrAppend(line);
  lines.FindDataOrAppend(line);
  Check(lines.GetLength() == 2, "equal slide lines are both appended");

  ZoPXList<ZoGraphNode> nodes;
  for (long i = 0; i < 60; ++i) nodes.Append(new ZoGraphNode(59 - i));
  nodes.Sort(true);
  Check(nodes.GetPData(0).m_nId == 0 && nodes.FindData(ZoGraphNode(30)) == 30,
        "graph nodes sort and are found by number");

  ZoDynPArray<ZoDbGrip> grips;
  grips.Append(new ZoDbGrip(ZoGePoint(1, 2)));
  Check(grips.FindData(grips.GetPData(0)) == -1, "a grip is never found");

  std::printf("%s\n", g_nFailures == 0 ? "the family's containers work" : "the family's containers fail");
  return g_nFailures == 0 ? 0 : 1;
}
