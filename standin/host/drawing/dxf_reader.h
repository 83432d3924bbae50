// Inside the DXF reader: the groups of a file, the objects they make up and the reader that turns
// them into a drawing. The entity part of the reader is dxf_entities.cpp.
#pragma once

#include <dbents.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "standin/host/drawing/dbaccess.h"

namespace standin::dxf {

constexpr double kDegree = 3.141592653589793 / 180;

// Without the blanks and tabs around it.
std::string TrimBlanks(std::string_view s);
inline std::string_view Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}
// The decimal number at [first, last), read as std::from_chars reads it: where it ends, or null
// when there is none.
const char* ReadReal(const char* first, const char* last, double& out);
// Hexadecimal digits (at most 16) into a handle value.
bool ParseHandle(std::string_view s, Adesk::UInt64& out);
// Text of the file as a message quotes it: at most a readable prefix, marked when cut, with
// control characters written as \U+XXXX.
std::wstring Shown(std::wstring_view text);
std::wstring Shown(std::string_view bytes);

enum class ValueType { String, Real, Int, Skip };

// The value type of a group code, by the ranges of the format.
inline ValueType TypeOf(int code) {
  if (code >= 0 && code <= 9) return ValueType::String;
  if (code >= 10 && code <= 59) return ValueType::Real;
  if ((code >= 60 && code <= 99) || (code >= 170 && code <= 179) || (code >= 270 && code <= 299) ||
      (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 420 && code <= 429) ||
      (code >= 440 && code <= 459) || (code >= 1060 && code <= 1071))
    return ValueType::Int;
  if ((code >= 110 && code <= 149) || (code >= 210 && code <= 239) || (code >= 460 && code <= 469) ||
      (code >= 1010 && code <= 1059))
    return ValueType::Real;
  return ValueType::Skip;  // strings, handles, binary chunks and comments: kept as text
}

// A group of the file; its value text stays in the file's bytes.
struct Pair {
  Pair(int c, int l, std::string_view v) : code(c), line(l), value(v) {}
  int code;
  int line;  // the line of the group code
  std::string_view value;
  union {  // by the value type of the code
    double real = 0;
    long long integer;
  };
};

struct Raw {
  Raw() = default;
  Raw(const Raw&) = delete;
  Raw& operator=(const Raw&) = delete;

  std::string type;
  int line = 0;
  std::vector<Pair> groups;       // filled by Push, emptied by Clear, and by nothing else
  std::deque<std::string> texts;  // the text of a binary file's numbers among the groups

  void Clear() {
    groups.clear();
    texts.clear();
    if (++m_stamp == 0) {  // after 2^32 objects: no old place may pass for a new one
      for (First& f : m_first) f = First();
      m_stamp = 1;
    }
  }
  Pair& Push(const Pair& p) {
    if (p.code >= 0 && p.code < kIndexed && m_first[p.code].stamp != m_stamp)
      m_first[p.code] = {m_stamp, static_cast<std::uint32_t>(groups.size())};
    return groups.emplace_back(p);
  }
  // The first group of the code.
  const Pair* Find(int code) const {
    if (code >= 0 && code < kIndexed) return m_first[code].stamp == m_stamp ? &groups[m_first[code].index] : nullptr;
    for (const Pair& p : groups)
      if (p.code == code) return &p;
    return nullptr;
  }
  double Real(int code, double fallback = 0) const {
    const Pair* p = Find(code);
    return p ? p->real : fallback;
  }
  long long Int(int code, long long fallback = 0) const {
    const Pair* p = Find(code);
    return p ? p->integer : fallback;
  }
  AcGePoint3d Point(int code, const AcGePoint3d& fallback = AcGePoint3d::kOrigin) const {
    const Pair* x = Find(code);
    if (!x) return fallback;
    return {x->real, Real(code + 10), Real(code + 20)};
  }
  AcGeVector3d Normal() const {
    const AcGePoint3d n = Point(210, {0, 0, 1});
    return {n.x, n.y, n.z};
  }

 private:
  // Where the first group of each code below kIndexed is, for the groups pushed since the last
  // Clear (those of an older stamp are not there): the builders ask for a dozen codes per object.
  static constexpr int kIndexed = 256;
  struct First {
    std::uint32_t stamp = 0, index = 0;
  };
  std::uint32_t m_stamp = 1;
  First m_first[kIndexed];
};

// The groups of a file, read one at a time as the reader goes: the whole file's groups are never
// held at once. A light reading checks the group codes and leaves the values unread.
class Groups {
 public:
  Groups(std::string_view bytes, bool light);

  bool AtEnd() {
    if (!m_have && !m_done) m_done = !(m_have = Fetch());
    return !m_have;
  }
  const Pair& Peek() {
    AtEnd();
    return m_group;
  }
  void Next() {
    if (!AtEnd()) m_have = false;
  }
  // Every group read, none refused.
  bool Finished() const { return m_done && !failed; }
  // Whether the value text of the group is held here until the next group (a binary file's number).
  bool HoldsText(const Pair& p) const { return !m_number.empty() && p.value.data() == m_number.data(); }

  // A group the file cannot hold: where it is and what is wrong.
  bool failed = false;
  int failLine = 0;
  std::wstring failure;
  int lastLine = 0;  // the line of the last group read
  size_t count = 0;  // the groups read
  // The highest handle of the groups read (a $HANDSEED value aside), and where it is.
  Adesk::UInt64 maxHandle = 0;
  int maxHandleLine = 0;
  std::string_view maxHandleText;

 private:
  bool Fetch();
  bool FetchText();
  // The value line of a number group that is not plainly one number: read whole, or refused.
  bool NumberLine(ValueType type);
  // The groups of a binary file; their "lines" are byte offsets.
  bool FetchBinary();
  bool Fail(int line, std::wstring what) {
    failed = true;
    failLine = line;
    failure = std::move(what);
    return false;
  }

  std::string_view m_bytes;
  bool m_light;
  size_t m_at = 0;
  int m_line = 0;  // lines read
  char m_lineEnd = '\n';
  bool m_binary = false, m_wideCodes = false;  // a binary file; its codes take two bytes
  bool m_nul = false;                          // the file holds a NUL byte, which only a binary file's values may hold
  bool m_have = false, m_done = false;
  bool m_seed = false;  // the last group named $HANDSEED
  Pair m_group{0, 0, {}};
  std::string m_number;  // the text of a binary file's number in m_group
};

class Reader {
 public:
  Reader(std::string_view bytes, const std::wstring& name, std::wstring& error, std::vector<std::wstring>* skipped,
         std::vector<std::wstring>* notes)
      : m_bytes(bytes), m_name(name), m_error(error), m_skipped(skipped), m_notes(notes), m_groups(bytes, false) {}

  std::unique_ptr<AcDbDatabase> Read();

 private:
  bool Fail(int line, const std::wstring& what) {
    if (m_error.empty()) m_error = m_name + L":" + std::to_wstring(line) + L": " + what;
    return false;
  }
  // What was set aside or corrected, in the form of a refusal; the drawing still loads.
  void Note(int line, const std::wstring& what) {
    if (m_notes) m_notes->push_back(m_name + L":" + std::to_wstring(line) + L": " + what);
  }
  // Why the object being built cannot be kept; its caller notes it and leaves the object out.
  bool Reject(const std::wstring& why) {
    m_why = why;
    return false;
  }
  // The handle the file gives the object, or 0 (a fresh one) with a note when it gives an empty
  // or unreadable one.
  // what names the object in a note; it is only asked for when there is one.
  Adesk::UInt64 FileHandle(const Raw& raw, const std::function<std::wstring()>& what);
  // Where an entity goes: whether its owner is a layout's record, and its layer and linetype.
  struct EntityPlace {
    bool layout;
    AcDbObjectId layer, linetype;
  };
  // Adds obj to the drawing under the file's handle, as an entity when it has a place; a handle
  // already taken is replaced by a fresh one, with a note.
  Acad::ErrorStatus AddObject(AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id, Adesk::UInt64 handle,
                              const Raw& raw, const std::function<std::wstring()>& what,
                              const EntityPlace* place = nullptr);
  // The file's groups refuse one: that error counts, whatever was found wrong before it.
  bool GroupFail(const Groups& groups) {
    m_error = m_name + L":" + std::to_wstring(groups.failLine) + L": " + groups.failure;
    m_groupFailed = true;
    return false;
  }
  bool AtEnd() {
    if (!m_groups.AtEnd()) return false;
    if (m_groups.failed && !m_groupFailed) GroupFail(m_groups);
    return true;
  }
  const Pair& Peek() { return m_groups.Peek(); }
  void Next() { m_groups.Next(); }
  bool IsZero(const char* value) { return !AtEnd() && Peek().code == 0 && Peek().value == value; }
  std::unique_ptr<AcDbDatabase> ReadSections();
  // The drawing's own objects take handles above every handle of the file, and so do the objects
  // the file leaves without one (at most one per group). They are numbered when the file's highest
  // handle is known: at the end, or before an object takes a fresh handle, when a light reading
  // of the whole file finds it. False (the error said) when the file leaves no room for them.
  bool Settle();
  bool Roomless(const Groups& groups) const;
  bool FailRoomless(const Groups& groups);
  // Reads the groups up to the next group 0 into raw (its type is the current group 0); false
  // when a 102 group opened in it is not closed.
  bool TakeObject(Raw& raw);
  std::wstring Text(std::string_view bytes) const;
  std::wstring Text(const Raw& raw, int code, const wchar_t* fallback = L"") const {
    const Pair* p = raw.Find(code);
    return p ? Text(p->value) : fallback;
  }

  bool ReadHeader();
  bool ReadTables();
  bool ReadLayer(const Raw& raw);
  bool ReadLinetype(const Raw& raw);
  bool ReadBlocks();
  // Reads entities up to a group 0 named end (ENDSEC or ENDBLK) into the record.
  bool ReadEntities(AcDbObjectId record, bool spaces, const char* end);
  bool ReadEntity(AcDbObjectId record, bool spaces);
  bool SkipSection();
  // Skips the groups up to the next group 0 named end.
  void SkipTo(const char* end);
  bool ResolveBlocks();

  // Common properties, then the object joins the drawing under owner with the file's handle; an
  // entity the file puts on no layer goes on layer (null: layer 0).
  bool Add(AcDbEntity* ent, const Raw& raw, AcDbObjectId owner, AcDbObjectId& id, AcDbObjectId layer);
  // Whether the values are of a size a drawing holds; else why not (Reject).
  bool Finite(const Raw& raw);
  void DefaultNormal(Raw& raw);
  // The entity built, or NULL: rejected (noted) or of a type this host does not read.
  AcDbEntity* Kept(Raw& raw, bool& rejected);
  // Add, noting an entity left out; false also on a refusal (m_error set).
  bool Added(AcDbEntity* ent, const Raw& raw, AcDbObjectId owner, AcDbObjectId& id,
             AcDbObjectId layer = AcDbObjectId::kNull);
  struct OwnerRecord {
    AcDbObjectId id;
    AcDbBlockTableRecord* record = nullptr;  // null for an entity's sub-entities
    bool layout = false;
  };
  // The record of an owner, kept for the next entity, which mostly has the same one.
  const OwnerRecord& OwnerOf(AcDbObjectId owner);
  // The entity's own DXF groups, after the AcDbEntity part.
  std::vector<DxfGroup> OwnGroups(const Raw& raw) const;
  AcDbEntity* BuildHatch(const Raw& raw);
  // The record of a name, made when the tables lack it; false (the reason said) for a name the
  // host refuses.
  bool LayerId(const std::wstring& name, int line, AcDbObjectId& id);
  bool LinetypeId(const std::wstring& name, int line, AcDbObjectId& id);
  AcDbEntity* Build(const Raw& raw);
  void Skipped(std::string_view type) { ++m_skippedTypes[std::string(type)]; }

  std::string_view m_bytes;
  const std::wstring& m_name;
  std::wstring& m_error;
  std::vector<std::wstring>* m_skipped;
  std::vector<std::wstring>* m_notes;
  std::wstring m_why;
  Groups m_groups;
  bool m_groupFailed = false;
  bool m_settled = false, m_settleFailed = false, m_roomless = false;
  Adesk::UInt64 m_fileMaxHandle = 0;
  bool m_utf8 = false;
  std::string m_codePage;  // an iconv name ("CP936"), empty when the file names none
  std::unique_ptr<AcDbDatabase> m_db;
  std::unordered_map<std::wstring, AcDbObjectId> m_layers, m_linetypes, m_blocks;  // by upper-case name
  // Layers and linetypes by the bytes the file names them with, for the entities that follow.
  std::unordered_map<std::string_view, AcDbObjectId> m_layerBytes, m_linetypeBytes;
  std::unordered_set<std::wstring> m_definedLayers;
  struct PendingInsert {
    AcDbObjectId insert;
    std::wstring block;
    int line;
    AcDbObjectId holder;  // the block definition or space holding the reference
    bool dimension = false;
  };
  std::vector<PendingInsert> m_inserts;
  std::map<AcDbObjectId, int> m_blockLines;
  std::map<std::string, int> m_skippedTypes;
  Adesk::UInt64 m_handseed = 0;
  double m_textSize = 2.5;  // $TEXTSIZE, else the host's default
  bool m_spatial = false;   // the vertices read belong to a 3D polyline
  AcDbObjectId m_byLayer;
  OwnerRecord m_owner;
  Raw m_raw, m_sub;  // the entity being read and its sub-entity, kept to reuse their storage
};

}  // namespace standin::dxf
