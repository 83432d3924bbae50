// Just enough of the host's DXF input, behaving as the host's does, for the session to open
// drawings written by other programs. The file is untrusted: every group is checked; a file whose
// structure cannot be followed is refused whole with the line where it went wrong, and an object
// that cannot be kept is left out with a note.
#include "standin/host/drawing/dxf.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/dxf_reader.h"
#include "standin/host/drawing/listed.h"
#include "standin/win32/utf8.h"

namespace standin::dxf {

namespace {

constexpr std::streamoff kMaxFileBytes = 256 << 20;
// Objects the drawing makes of its own (tables, their standard records, dictionaries).
constexpr Adesk::UInt64 kOwnObjects = 16;
// The handles the drawing's own objects have until the file's highest handle is known; a file
// handle among them has it found first.
constexpr Adesk::UInt64 kProvisionalHandles = Adesk::UInt64{1} << 63;

}  // namespace

bool Reader::TakeObject(Raw& raw) {
  raw.type = Peek().value;
  raw.line = Peek().line;
  raw.Clear();
  Next();
  bool opened = false;
  int openedLine = 0;
  std::string_view openedName;
  while (!AtEnd() && Peek().code != 0) {
    const Pair& p = Peek();
    // Reactor and extension-dictionary groups and extended data are not the entity's own.
    if (p.code == 102) {
      opened = !p.value.empty() && p.value[0] == '{';
      openedLine = p.line;
      openedName = p.value;
    } else if (!opened && p.code < 1000) {
      Pair& kept = raw.Push(p);
      // A binary file's number is written out for the group alone; the object keeps its text.
      if (m_groups.HoldsText(p)) kept.value = raw.texts.emplace_back(p.value);
    }
    Next();
  }
  if (opened)
    return Fail(openedLine, L"the group 102 \"" + Shown(TrimBlanks(openedName)) + L"\" of the " + Shown(raw.type) +
                                L" is not closed by a group 102 \"}\"");
  return true;
}

bool Reader::ReadHeader() {
  std::vector<std::pair<std::wstring, DxfGroup>>& header = DbAccess::Header(m_db.get());
  while (!AtEnd() && Peek().code != 0) {
    const Pair name = Peek();
    if (name.code != 9) return Fail(name.line, L"expected a header variable name (group 9) in the HEADER section");
    Next();
    DxfGroup value;
    bool any = false;
    while (!AtEnd() && Peek().code != 0 && Peek().code != 9) {
      const Pair& p = Peek();
      if (p.code == 10 || p.code == 20 || p.code == 30) {
        value.kind = RbValue::Point;
        value.point[p.code / 10 - 1] = p.real;
      } else if (!any) {
        value.code = static_cast<short>(p.code);
        switch (TypeOf(p.code)) {
          case ValueType::Real:
            value.kind = RbValue::Real;
            value.real = p.real;
            break;
          case ValueType::Int:
            value.kind = RbValue::Short;
            value.integer = static_cast<long>(p.integer);
            break;
          default:
            value.kind = RbValue::String;
            value.text = Text(p.value);
            break;
        }
      }
      any = true;
      Next();
    }
    if (!any) return Fail(name.line, L"the header variable " + Shown(name.value) + L" has no value");
    const std::wstring var = Upper(FromUtf8(TrimBlanks(name.value)));
    if (var.size() < 2 || var[0] != L'$')
      return Fail(name.line, L"\"" + Shown(name.value) + L"\" is no header variable name (a $ and a name)");
    if (var == L"$ACADVER") {
      const std::wstring v = Upper(value.text);
      if (v.size() != 6 || v.compare(0, 2, L"AC") != 0)
        return Fail(name.line, L"unknown $ACADVER \"" + Shown(value.text) + L"\"");
      m_utf8 = v >= L"AC1021";
    } else if (var == L"$DWGCODEPAGE") {
      // Files of releases before 2007 hold their text in this code page ("ANSI_936").
      const std::wstring page = Upper(value.text);
      if (page.compare(0, 5, L"ANSI_") == 0) m_codePage = "CP" + ToUtf8(page.substr(5));
    } else if (var == L"$HANDSEED") {
      Adesk::UInt64 h = 0;
      if (!ParseHandle(ToUtf8(value.text), h)) return Fail(name.line, L"$HANDSEED is not a handle");
      m_handseed = h;
    } else if (var == L"$TEXTSIZE" && value.kind == RbValue::Real && value.real > 0) {
      m_textSize = value.real;
    }
    header.emplace_back(var, value);
  }
  return true;
}

namespace {

// A new record of the table, named; null (the record deleted) when the table refuses it.
AcDbObjectId AddRecord(AcDbSymbolTable* table, AcDbSymbolTableRecord* rec, const std::wstring& name) {
  AcDbObjectId id;
  DbAccess::Borrow borrow = DbAccess::BorrowForWrite(table);
  if (rec->setName(name.c_str()) != Acad::eOk || table->add(id, rec) != Acad::eOk) {
    delete rec;
    id.setNull();
  }
  if (borrow == DbAccess::Borrow::Borrowed) DbAccess::Return(table);
  return id;
}

}  // namespace

// The host creates a layer that an entity names but the table lacks. A name it would refuse in
// the table is refused on an entity too, rather than putting the entity on another layer.
bool Reader::LayerId(const std::wstring& name, int line, AcDbObjectId& id) {
  const std::wstring key = Upper(name.empty() ? L"0" : name);
  const auto it = m_layers.find(key);
  if (it != m_layers.end()) return id = it->second, true;
  if (!Settle()) return false;
  auto* rec = new AcDbLayerTableRecord;
  id = AddRecord(AcDbLayerTable::cast(DbAccess::Resolve(m_db->layerTableId())), rec, name);
  if (id.isNull())
    return Reject(L"\"" + Shown(name) + L"\" at line " + std::to_wstring(line) + L" is not a valid layer name");
  rec->setLinetypeObjectId(m_db->continuousLinetype());
  rec->close();
  m_layers[key] = id;
  return true;
}

// A linetype named but not defined is made as an empty one, as a missing layer is made.
bool Reader::LinetypeId(const std::wstring& name, int line, AcDbObjectId& id) {
  const std::wstring key = Upper(name);
  const auto it = m_linetypes.find(key);
  if (it != m_linetypes.end()) return id = it->second, true;
  if (!Settle()) return false;
  auto* rec = new AcDbLinetypeTableRecord;
  id = AddRecord(AcDbLinetypeTable::cast(DbAccess::Resolve(m_db->linetypeTableId())), rec, name);
  if (id.isNull())
    return Reject(L"\"" + Shown(name) + L"\" at line " + std::to_wstring(line) + L" is not a valid linetype name");
  rec->close();
  m_linetypes[key] = id;
  return true;
}

bool Reader::ReadLinetype(const Raw& raw) {
  const std::wstring name = Text(raw, 2);
  if (name.empty()) return Reject(L"it has no name (group 2)");
  const std::wstring key = Upper(name);
  if (key == L"BYLAYER" || key == L"BYBLOCK" || key == L"CONTINUOUS") return true;  // the drawing has them
  if (m_linetypes.count(key)) return Reject(L"the linetype " + Shown(name) + L" is defined twice");
  auto* table = AcDbLinetypeTable::cast(DbAccess::Resolve(m_db->linetypeTableId()));
  auto* rec = new AcDbLinetypeTableRecord;
  if (rec->setName(name.c_str()) != Acad::eOk) {
    delete rec;
    return Reject(L"\"" + Shown(name) + L"\" is not a valid linetype name");
  }
  rec->setComments(Text(raw, 3).c_str());
  rec->setPatternLength(raw.Real(40));
  AcDbObjectId id;
  DbAccess::Borrow borrow = DbAccess::BorrowForWrite(table);
  const auto what = [&name] { return L"the linetype " + Shown(name); };
  Acad::ErrorStatus es = AddObject(rec, table->objectId(), id, FileHandle(raw, what), raw, what);
  if (borrow == DbAccess::Borrow::Borrowed) DbAccess::Return(table);
  if (es != Acad::eOk) {
    delete rec;
    return Fail(raw.line, L"the drawing has no handle left for the linetype " + Shown(name));
  }
  DbAccess::AppendRecord(table, id, name);
  rec->close();
  m_linetypes[key] = id;
  return true;
}

bool Reader::ReadLayer(const Raw& raw) {
  const std::wstring name = Text(raw, 2);
  if (name.empty()) return Reject(L"it has no name (group 2)");
  const std::wstring key = Upper(name);
  if (m_definedLayers.count(key)) return Reject(L"the layer " + Shown(name) + L" is defined twice");
  AcDbObjectId linetype;
  const Pair* lt = raw.Find(6);
  if (!LinetypeId(lt ? Text(lt->value) : L"Continuous", lt ? lt->line : raw.line, linetype)) return false;
  long long color = raw.Int(62, 7);
  if (color < -256 || color > 256) return Reject(L"the layer " + Shown(name) + L" has no valid colour");
  // A layer of colour 0 (BYBLOCK, which a layer cannot be) is given the default colour 7, as other readers do.
  if (color == 0) {
    Note(raw.Find(62)->line, L"the layer " + Shown(name) + L" has colour 0; it is given colour 7");
    color = 7;
  }
  m_definedLayers.insert(key);
  AcDbLayerTableRecord* rec = nullptr;
  AcDbObjectId id;
  if (key == L"0") {
    id = m_db->layerZero();
    rec = AcDbLayerTableRecord::cast(DbAccess::Resolve(id));
    DbAccess::BorrowForWrite(rec);
  } else {
    rec = new AcDbLayerTableRecord;
    if (rec->setName(name.c_str()) != Acad::eOk) {
      delete rec;
      m_definedLayers.erase(key);
      return Reject(L"\"" + Shown(name) + L"\" is not a valid layer name");
    }
    auto* table = AcDbLayerTable::cast(DbAccess::Resolve(m_db->layerTableId()));
    const auto what = [&name] { return L"the layer " + Shown(name); };
    if (AddObject(rec, table->objectId(), id, FileHandle(raw, what), raw, what) != Acad::eOk) {
      delete rec;
      return Fail(raw.line, L"the drawing has no handle left for " + what());
    }
    DbAccess::AppendRecord(table, id, name);
  }
  const long long flags = raw.Int(70);
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(std::llabs(color)));
  rec->setColor(c);
  rec->setIsOff(color < 0);
  rec->setIsFrozen((flags & 1) != 0);
  rec->setIsLocked((flags & 4) != 0);
  rec->setLinetypeObjectId(linetype);
  rec->close();
  m_layers[key] = id;
  return true;
}

bool Reader::ReadTables() {
  Raw raw;
  while (!AtEnd() && !IsZero("ENDSEC")) {
    if (!IsZero("TABLE"))
      return Fail(Peek().line, L"expected TABLE in the TABLES section, found " + Shown(Peek().value));
    if (!TakeObject(raw)) return false;
    const std::wstring table = Shown(Upper(Text(raw, 2)));
    const int tableLine = raw.line;
    while (!AtEnd() && !IsZero("ENDTAB")) {
      if (Peek().code != 0) return Fail(Peek().line, L"expected a table entry");
      if (Peek().value == "ENDSEC" || Peek().value == "TABLE")
        return Fail(Peek().line, L"the " + table + L" table is not ended by ENDTAB");
      if (!TakeObject(raw)) return false;
      bool kept = Finite(raw);
      if (kept && table == L"LAYER" && raw.type == "LAYER") kept = ReadLayer(raw);
      if (kept && table == L"LTYPE" && raw.type == "LTYPE") kept = ReadLinetype(raw);
      if (!m_error.empty()) return false;
      if (!kept) {
        Note(raw.line, L"the " + Shown(raw.type) + L" entry is left out: " + m_why);
        m_why.clear();
      }
    }
    if (AtEnd()) return Fail(tableLine, L"the " + table + L" table is not ended by ENDTAB");
    if (!TakeObject(raw)) return false;
  }
  return true;
}

bool Reader::ReadBlocks() {
  Raw raw;
  auto* table = AcDbBlockTable::cast(DbAccess::Resolve(m_db->blockTableId()));
  while (!AtEnd() && !IsZero("ENDSEC")) {
    if (!IsZero("BLOCK"))
      return Fail(Peek().line, L"expected BLOCK in the BLOCKS section, found " + Shown(Peek().value));
    if (!TakeObject(raw)) return false;
    const std::wstring name = Text(raw, 2);
    const std::wstring key = Upper(name);
    const int blockLine = raw.line;
    if (name.empty()) Reject(L"it has no name (group 2)");
    if (m_blocks.count(key)) Reject(L"the block " + Shown(name) + L" is defined twice");
    if (!Finite(raw) || !m_why.empty()) {
      Note(raw.line, L"the BLOCK is left out with its entities: " + m_why);
      m_why.clear();
      SkipTo("ENDBLK");
      if (AtEnd()) return Fail(blockLine, L"the block " + Shown(name) + L" is not ended by ENDBLK");
      if (!TakeObject(raw)) return false;
      continue;
    }
    AcDbObjectId id;
    bool layout = false;
    if (key == L"*MODEL_SPACE" || key == L"$MODEL_SPACE") {
      id = DbAccess::ModelSpace(m_db.get());
      layout = true;
    } else if (key == L"*PAPER_SPACE" || key == L"$PAPER_SPACE") {
      id = DbAccess::PaperSpace(m_db.get());
      layout = true;
    } else {
      auto* rec = new AcDbBlockTableRecord;
      if (rec->setName(name.c_str()) != Acad::eOk) {
        delete rec;
        Note(raw.line, L"the BLOCK is left out with its entities: \"" + Shown(name) + L"\" is not a valid block name");
        SkipTo("ENDBLK");
        if (AtEnd()) return Fail(blockLine, L"the block " + Shown(name) + L" is not ended by ENDBLK");
        if (!TakeObject(raw)) return false;
        continue;
      }
      rec->setOrigin(raw.Point(10));
      const auto what = [&name] { return L"the block " + Shown(name); };
      if (AddObject(rec, table->objectId(), id, FileHandle(raw, what), raw, what) != Acad::eOk) {
        delete rec;
        return Fail(raw.line, L"the drawing has no handle left for " + what());
      }
      DbAccess::AppendRecord(table, id, name);
      rec->close();
      m_blocks[key] = id;
      m_blockLines[id] = raw.line;
    }
    if (!ReadEntities(id, layout, "ENDBLK")) return false;
    if (AtEnd()) return Fail(blockLine, L"the block " + Shown(name) + L" is not ended by ENDBLK");
    if (!TakeObject(raw)) return false;
  }
  return true;
}

bool Reader::SkipSection() {
  SkipTo("ENDSEC");
  return true;
}

void Reader::SkipTo(const char* end) {
  while (!AtEnd() && !IsZero(end)) Next();
}

namespace {

std::wstring HandleText(const AcDbHandle& handle) {
  ACHAR text[17];
  handle.getIntoAsciiBuffer(text);
  return text;
}

}  // namespace

Adesk::UInt64 Reader::FileHandle(const Raw& raw, const std::function<std::wstring()>& what) {
  Adesk::UInt64 handle = 0;
  const Pair* h = raw.Find(5);
  // An empty or unreadable handle is replaced by a fresh one, as other readers replace it.
  if (h && !ParseHandle(h->value, handle))
    Note(h->line, what() + L" has the handle \"" + Shown(TrimBlanks(h->value)) +
                      L"\", which is no handle; it is given a new one");
  return handle;
}

Acad::ErrorStatus Reader::AddObject(AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id, Adesk::UInt64 handle,
                                    const Raw& raw, const std::function<std::wstring()>& what,
                                    const EntityPlace* place) {
  const auto add = [&](Adesk::UInt64 h) {
    return place ? DbAccess::AddEntity(m_db.get(), static_cast<AcDbEntity*>(obj), owner, place->layout, place->layer,
                                       place->linetype, id, AcDbHandle(h))
                 : DbAccess::Add(m_db.get(), obj, owner, id, AcDbHandle(h));
  };
  if ((handle == 0 || handle >= kProvisionalHandles) && !Settle()) return Acad::eOutOfMemory;
  Acad::ErrorStatus es = add(handle);
  // A handle used twice is given to the first object that has it; later ones get fresh handles.
  if (es != Acad::eOk && handle != 0 && Settle()) {
    es = add(0);
    if (es == Acad::eOk)
      Note(raw.Find(5)->line, what() + L" has the handle " + Shown(TrimBlanks(raw.Find(5)->value)) +
                                  L", which is used twice; it is given the handle " + HandleText(id.handle()));
  }
  return es;
}

bool Reader::ResolveBlocks() {
  std::map<AcDbObjectId, std::set<AcDbObjectId>> uses;
  for (const PendingInsert& p : m_inserts) {
    const auto it = m_blocks.find(Upper(p.block));
    if (it == m_blocks.end()) {
      if (p.dimension) {
        if (!p.block.empty())
          Note(p.line, L"the DIMENSION refers to the block \"" + Shown(p.block) +
                           L"\", which is not defined; it is drawn as nothing");
        continue;
      }
      Note(p.line, L"the INSERT is left out: it refers to the block \"" + Shown(p.block) + L"\", which is not defined");
      if (AcDbObject* ref = DbAccess::Resolve(p.insert)) DbAccess::SetErased(ref, true);
      continue;
    }
    if (p.dimension) {
      if (GroupList* data = ListedData(AcDbEntity::cast(DbAccess::Resolve(p.insert)))) data->block = it->second;
    } else if (auto* ref = AcDbBlockReference::cast(DbAccess::Resolve(p.insert))) {
      DbAccess::Borrow borrow = DbAccess::BorrowForWrite(ref);
      ref->setBlockTableRecord(it->second);
      if (borrow == DbAccess::Borrow::Borrowed) DbAccess::Return(ref);
    }
    uses[p.holder].insert(it->second);
  }
  // A block that holds a reference to itself, directly or not, cannot be drawn. The walk keeps
  // its own stack: a file may chain any number of blocks.
  std::map<AcDbObjectId, int> state;  // 0 unseen, 1 on the current path, 2 done
  for (const auto& [root, rootLine] : m_blockLines) {
    if (state[root] != 0) continue;
    std::vector<std::pair<AcDbObjectId, std::set<AcDbObjectId>::const_iterator>> path;
    state[root] = 1;
    path.emplace_back(root, uses[root].cbegin());
    while (!path.empty()) {
      auto& [block, next] = path.back();
      if (next == uses[block].cend()) {
        state[block] = 2;
        path.pop_back();
        continue;
      }
      const AcDbObjectId used = *next++;
      if (state[used] == 1) {
        const auto* rec = standin::Peek<AcDbBlockTableRecord>(used);
        return Fail(m_blockLines[used], L"the block " + (rec ? Shown(DbAccess::RecordName(rec)) : std::wstring()) +
                                            L" refers to itself through its block references");
      }
      if (state[used] == 0) {
        state[used] = 1;
        path.emplace_back(used, uses[used].cbegin());
      }
    }
  }
  return true;
}

std::unique_ptr<AcDbDatabase> Reader::Read() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const size_t notes = m_notes ? m_notes->size() : 0;
  std::unique_ptr<AcDbDatabase> db = ReadSections();
  if (db) return db;
  // What the whole file's groups say goes before what was wrong where the reading stopped: a
  // group the file cannot hold, then a handle that leaves no room. Nothing read before counts.
  if (!m_settleFailed) {
    while (!AtEnd()) Next();
    m_roomless = !m_groupFailed && !m_settled && Roomless(m_groups);
    if (m_roomless) {
      m_error.clear();
      FailRoomless(m_groups);
    }
  }
  if ((m_groupFailed || m_settleFailed || m_roomless) && m_notes) m_notes->resize(notes);
  return nullptr;
}

bool Reader::Roomless(const Groups& groups) const {
  return groups.maxHandle >= ~Adesk::UInt64{0} - kOwnObjects - groups.count;
}

bool Reader::FailRoomless(const Groups& groups) {
  return Fail(groups.maxHandleLine, L"the handle " + Shown(TrimBlanks(groups.maxHandleText)) +
                                        L" leaves no handles for the drawing's other objects");
}

bool Reader::Settle() {
  if (m_settled) return !m_settleFailed;
  m_settled = true;
  std::optional<Groups> light;
  if (!m_groups.Finished()) {
    light.emplace(m_bytes, true);
    while (!light->AtEnd()) light->Next();
  }
  const Groups& all = light ? *light : m_groups;
  if (all.failed || Roomless(all)) {
    m_settleFailed = true;
    // A group the file cannot hold goes first, wherever it is: the values are read for one.
    Groups full(m_bytes, false);
    while (!full.AtEnd()) full.Next();
    if (full.failed) return GroupFail(full);
    m_error.clear();
    return FailRoomless(all);
  }
  DbAccess::SettleHandles(m_db.get(), kProvisionalHandles, all.maxHandle + 1);
  m_fileMaxHandle = all.maxHandle;
  return true;
}

std::unique_ptr<AcDbDatabase> Reader::ReadSections() {
  m_db = DbAccess::NewDatabase(kProvisionalHandles);
  m_layers[L"0"] = m_db->layerZero();
  m_linetypes[L"BYLAYER"] = m_byLayer = m_db->byLayerLinetype();
  m_linetypes[L"BYBLOCK"] = m_db->byBlockLinetype();
  m_linetypes[L"CONTINUOUS"] = m_db->continuousLinetype();
  std::set<std::string> seen;
  bool ended = false;
  while (!AtEnd()) {
    const Pair& p = Peek();
    if (p.code == 0 && p.value == "EOF") {
      ended = true;
      Next();
      break;
    }
    if (p.code != 0 || p.value != "SECTION")
      return Fail(p.line,
                  L"expected SECTION or EOF, found group " + std::to_wstring(p.code) + L" \"" + Shown(p.value) + L"\""),
             nullptr;
    const int sectionLine = p.line;
    Next();
    if (AtEnd() || Peek().code != 2) return Fail(sectionLine, L"the SECTION has no name (group 2)"), nullptr;
    const std::string name = TrimBlanks(Peek().value);
    Next();
    if (!seen.insert(name).second) return Fail(sectionLine, L"the " + Shown(name) + L" section appears twice"), nullptr;
    bool ok = true;
    if (name == "HEADER")
      ok = ReadHeader();
    else if (name == "TABLES")
      ok = ReadTables();
    else if (name == "BLOCKS")
      ok = ReadBlocks();
    else if (name == "ENTITIES")
      ok = ReadEntities(DbAccess::ModelSpace(m_db.get()), true, "ENDSEC");
    else
      ok = SkipSection();
    if (!ok) return nullptr;
    if (AtEnd()) return Fail(sectionLine, L"the " + Shown(name) + L" section is not ended by ENDSEC"), nullptr;
    Next();
  }
  if (!ended) return Fail(m_groups.lastLine, L"the file ends without EOF"), nullptr;
  if (!AtEnd()) return Fail(Peek().line, L"groups follow EOF"), nullptr;
  if (m_groupFailed || !Settle() || !ResolveBlocks()) return nullptr;
  DbAccess::RaiseHandseed(m_db.get(), std::max(m_handseed, m_fileMaxHandle + 1));
  DbAccess::Name(m_db.get()) =
      m_name.substr(m_name.find_last_of(L"/\\") == std::wstring::npos ? 0 : m_name.find_last_of(L"/\\") + 1);
  if (m_skipped)
    for (const auto& [type, count] : m_skippedTypes) m_skipped->push_back(std::to_wstring(count) + L" " + Shown(type));
  return std::move(m_db);
}

}  // namespace standin::dxf

namespace standin {

std::unique_ptr<AcDbDatabase> ReadDxf(std::string_view bytes, const std::wstring& name, std::wstring& error,
                                      std::vector<std::wstring>* skipped, std::vector<std::wstring>* notes) {
  error.clear();
  dxf::Reader reader(bytes, name, error, skipped, notes);
  std::unique_ptr<AcDbDatabase> db = reader.Read();
  if (!db && error.empty()) error = name + L":1: the file could not be read";
  return db;
}

std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::wstring& path, std::wstring& error) {
  error.clear();
  std::ifstream file(ToUtf8(path), std::ios::binary);
  if (!file) {
    error = path + L": cannot open the file: " + FromUtf8(std::strerror(errno));
    return nullptr;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || size > dxf::kMaxFileBytes) {
    error = path + L": not a readable file of at most 256 MiB";
    return nullptr;
  }
  file.seekg(0);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!file.read(bytes.data(), size)) {
    error = path + L": cannot read the file";
    return nullptr;
  }
  std::vector<std::wstring> skipped, notes;
  std::unique_ptr<AcDbDatabase> db = ReadDxf(bytes, path, error, &skipped, &notes);
  if (db)
    for (const std::wstring& note : notes) std::fprintf(stderr, "%s\n", ToUtf8(note).c_str());
  if (db && !skipped.empty()) {
    std::wstring list;
    for (const std::wstring& s : skipped) list += (list.empty() ? L"" : L", ") + s;
    std::fprintf(stderr, "%s: entities of types this host does not read were left out: %s\n", ToUtf8(path).c_str(),
                 ToUtf8(list).c_str());
  }
  return db;
}

}  // namespace standin
