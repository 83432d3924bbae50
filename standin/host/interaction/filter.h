// The host's selection filters, for the selection calls of this layer.
#pragma once

#include <adesk.h>
#include <adsdef.h>

#include <memory>
#include <vector>

class AcDbEntity;

namespace standin {

// A parsed filter list: a conjunction of its tests; a test (code . value) holds when some group
// of the entity's data with that code matches.
class Filter {
 public:
  Filter();
  ~Filter();
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  // False for a malformed list (unbalanced or misplaced -4 groups). The filter keeps pointers
  // into the list, which must outlive it.
  bool Parse(const resbuf* rb);
  bool Matches(const AcDbEntity* ent) const;

  struct Node;

 private:
  std::unique_ptr<Node> m_root;
};

// The ids that name live entities of the session's drawing passing the filter (on unlocked
// layers when asked). Callers hold the drawing lock.
std::vector<Adesk::IntPtr> Filtered(const std::vector<Adesk::IntPtr>& ids, const Filter& filter, bool skipLocked);

}  // namespace standin
