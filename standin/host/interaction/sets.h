// Inside the host's selection sets, for the selection calls of this layer: the sets held, the
// previous selection, the pickfirst set and the keyword callback. Callers hold the drawing lock.
#pragma once

#include <adsdef.h>

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace standin {

// Entity names in the order they came, each once, with a membership test in constant time.
class Members {
 public:
  Members() = default;
  explicit Members(const std::vector<Adesk::IntPtr>& ids);
  // False when the name is a member already.
  bool Add(Adesk::IntPtr id);
  bool Contains(Adesk::IntPtr id) const { return m_index.count(id) != 0; }
  // Takes out those of ids that are members, the others keeping their order; how many went.
  std::size_t Remove(const std::vector<Adesk::IntPtr>& ids);
  void Clear();
  // Room for n members in all.
  void Reserve(std::size_t n);
  const std::vector<Adesk::IntPtr>& Ids() const { return m_ids; }
  std::size_t size() const { return m_ids.size(); }
  bool empty() const { return m_ids.empty(); }
  std::vector<Adesk::IntPtr>::const_iterator begin() const { return m_ids.begin(); }
  std::vector<Adesk::IntPtr>::const_iterator end() const { return m_ids.end(); }

 private:
  std::vector<Adesk::IntPtr> m_ids;
  std::unordered_set<Adesk::IntPtr> m_index;
};

// The members of the set of that name, or NULL for a name that names no set.
Members* FindSet(const ads_name name);
// A new set holding ids (each once); false (nothing made, said once on standard error) when the host holds
// too many.
bool MakeSet(const std::vector<Adesk::IntPtr>& ids, ads_name out);
// What the last successful selection selected ("P").
std::vector<Adesk::IntPtr>& PreviousSelection();
Members& Pickfirst();

typedef resbuf* (*KeywordCallback)(const ACHAR*);
KeywordCallback SelectionKeywordCallback();

}  // namespace standin
