// Just enough of the host's selection sets, behaving as the host's do, for the module to select
// entities, keep them in sets, take over the pickfirst set and transform what it selected.
#include "standin/host/selection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <set>
#include <unordered_map>

#include "standin/host/dbcore.h"
#include "standin/host/drawing.h"
#include "standin/host/entities.h"
#include "standin/host/graphics.h"
#include "standin/host/input.h"
#include "standin/host/rx.h"
#include "standin/host/shape.h"
#include "standin/host/sysvars.h"
#include "standin/host/wcmatch.h"

namespace standin {

namespace {

constexpr size_t kMaxSets = 128;
typedef resbuf* (*KeywordCallback)(const ACHAR*);

struct State {
  std::unordered_map<Adesk::IntPtr, std::vector<Adesk::IntPtr>> sets;
  std::vector<Adesk::IntPtr> pickfirst;
  std::vector<Adesk::IntPtr> previous;
  bool pickfirstSetByCommand = false;
  KeywordCallback callback = nullptr;
  bool toldLimit = false;
  std::set<std::wstring> toldModes;
};

State& St() {
  static State* state = new State;  // guarded by DrawingMutex; never destroyed
  return *state;
}

void ClearPickfirstLocked() {
  for (Adesk::IntPtr id : St().pickfirst) SetHighlight(id, false);
  St().pickfirst.clear();
}

const bool g_registered = [] {
  AddDrawingClosedHandler([] {
    St().sets.clear();
    St().pickfirst.clear();
    St().previous.clear();
  });
  Session::Get().AddResetHandler([] {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    St().callback = nullptr;
    St().pickfirstSetByCommand = false;
  });
  return true;
}();

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return s;
}

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
  return std::wstring(s.substr(b, e - b));
}

std::vector<Adesk::IntPtr>* FindSet(const ads_name name) {
  if (!name || name[1] != 0) return nullptr;
  const auto it = St().sets.find(name[0]);
  return it == St().sets.end() ? nullptr : &it->second;
}

// A new set holding ids; false (nothing made) when the host holds too many.
bool MakeSet(std::vector<Adesk::IntPtr> ids, ads_name out) {
  if (St().sets.size() >= kMaxSets) {
    if (!St().toldLimit)
      std::fprintf(stderr, "stand-in host: %zu selection sets are held; the host refuses more until some are freed\n",
                   kMaxSets);
    St().toldLimit = true;
    return false;
  }
  const Adesk::IntPtr serial = NextSerial();
  St().sets[serial] = std::move(ids);
  out[0] = serial;
  out[1] = 0;
  return true;
}

const AcDbEntity* NamedEntity(const ads_name name) {
  if (!name || name[1] != 0) return nullptr;
  const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(name[0]));
  return ent && ent->database() == WorkingDrawing() ? ent : nullptr;
}

int ReadShort(const wchar_t* name, int fallback) {
  resbuf rb{};
  return acedGetVar(name, &rb) == RTNORM && rb.restype == RTSHORT ? rb.resval.rint : fallback;
}

// The pick box's half size in drawing units: PICKBOX pixels of the current view.
double PickBoxHalf() {
  resbuf size{}, screen{};
  const double pixels = ReadShort(L"PICKBOX", 3);
  double viewSize = 600, screenHeight = 600;
  if (acedGetVar(L"VIEWSIZE", &size) == RTNORM && size.restype == RTREAL) viewSize = size.resval.rreal;
  if (acedGetVar(L"SCREENSIZE", &screen) == RTNORM && screen.restype == RTPOINT && screen.resval.rpoint[1] > 0)
    screenHeight = screen.resval.rpoint[1];
  return pixels * viewSize / screenHeight;
}

// --- Filters ---

class Filter {
 public:
  // False for a malformed list (unbalanced or misplaced -4 groups).
  bool Parse(const resbuf* rb) {
    std::vector<Node*> stack{&m_root};
    std::wstring op;
    for (; rb; rb = rb->rbnext) {
      if (rb->restype == -4) {
        if (!rb->resval.rstring || !op.empty()) return false;
        const std::wstring text = Upper(Trim(rb->resval.rstring));
        if (text.size() > 1 && text[0] == L'<' && IsLogical(text.substr(1))) {
          stack.back()->children.push_back(Node{KindOf(text.substr(1)), {}, {}});
          stack.push_back(&stack.back()->children.back());
        } else if (text.size() > 1 && text.back() == L'>' && IsLogical(text.substr(0, text.size() - 1))) {
          if (stack.size() < 2 || stack.back()->kind != KindOf(text.substr(0, text.size() - 1))) return false;
          const Node& closed = *stack.back();
          const size_t n = closed.children.size();
          if ((closed.kind == Kind::Not && n != 1) || (closed.kind == Kind::Xor && n != 2) || n == 0) return false;
          stack.pop_back();
        } else if (IsRelational(text)) {
          op = text;
        } else {
          return false;
        }
        continue;
      }
      // Entity names, handles and extended data are not filtered on.
      const bool ignored = rb->restype == -1 || rb->restype == 5 || rb->restype >= 1000;
      if (!ignored) {
        Node test{Kind::Test, {}, {}};
        test.code = rb->restype;
        test.value = rb;
        test.op = op.empty() ? L"=" : op;
        stack.back()->children.push_back(std::move(test));
      }
      op.clear();
    }
    return stack.size() == 1 && op.empty();
  }

  bool Matches(const std::vector<DxfGroup>& data) const { return Eval(m_root, data); }

 private:
  enum class Kind { And, Or, Xor, Not, Test };
  struct Node {
    Kind kind;
    std::vector<Node> children;
    std::wstring op;
    short code = 0;
    const resbuf* value = nullptr;
  };

  static bool IsLogical(const std::wstring& s) { return s == L"AND" || s == L"OR" || s == L"XOR" || s == L"NOT"; }
  static Kind KindOf(const std::wstring& s) {
    return s == L"AND" ? Kind::And : s == L"OR" ? Kind::Or : s == L"XOR" ? Kind::Xor : Kind::Not;
  }
  static bool IsSingleOp(const std::wstring& s) {
    static const wchar_t* const ops[] = {L"*", L"=", L"!=", L"/=", L"<>", L"<", L"<=", L">", L">=", L"&", L"&="};
    for (const wchar_t* o : ops)
      if (s == o) return true;
    return false;
  }
  static bool IsRelational(const std::wstring& s) {
    size_t start = 0, parts = 0;
    for (;;) {
      const size_t comma = s.find(L',', start);
      if (!IsSingleOp(Trim(s.substr(start, comma - start)))) return false;
      ++parts;
      if (comma == std::wstring::npos) break;
      start = comma + 1;
    }
    return parts <= 3;
  }

  static bool CompareNumber(const std::wstring& op, double a, double b) {
    // Equal within a relative 1e-10, so values that went through arithmetic still compare equal.
    const bool eq = std::fabs(a - b) <= 1e-10 * std::max({1.0, std::fabs(a), std::fabs(b)});
    if (op == L"*") return true;
    if (op == L"=") return eq;
    if (op == L"!=" || op == L"/=" || op == L"<>") return !eq;
    if (op == L"<") return a < b && !eq;
    if (op == L"<=") return a < b || eq;
    if (op == L">") return a > b && !eq;
    if (op == L">=") return a > b || eq;
    const long long x = std::llround(a), y = std::llround(b);
    if (op == L"&") return (x & y) != 0;
    if (op == L"&=") return (x & y) == y;
    return false;
  }

  static bool Test(const Node& t, const DxfGroup& g) {
    const resbuf& v = *t.value;
    switch (ResbufValueKind(t.code)) {
      case RbValue::String: {
        if (g.kind != RbValue::String || !v.resval.rstring) return false;
        if (t.op == L"*") return true;
        const bool match = acutWcMatchEx(g.text.c_str(), v.resval.rstring, true) == RTNORM;
        if (t.op == L"=") return match;
        if (t.op == L"!=" || t.op == L"/=" || t.op == L"<>") return !match;
        const int cmp = Upper(g.text).compare(Upper(v.resval.rstring));
        return CompareNumber(t.op, cmp, 0);
      }
      case RbValue::Real:
        return g.kind == RbValue::Real && CompareNumber(t.op, g.real, v.resval.rreal);
      case RbValue::Short:
        return (g.kind == RbValue::Short || g.kind == RbValue::Long) && CompareNumber(t.op, g.integer, v.resval.rint);
      case RbValue::Long:
        return (g.kind == RbValue::Short || g.kind == RbValue::Long) && CompareNumber(t.op, g.integer, v.resval.rlong);
      case RbValue::Point: {
        if (g.kind != RbValue::Point) return false;
        std::vector<std::wstring> ops;
        size_t start = 0;
        for (;;) {
          const size_t comma = t.op.find(L',', start);
          ops.push_back(Trim(t.op.substr(start, comma - start)));
          if (comma == std::wstring::npos) break;
          start = comma + 1;
        }
        for (int i = 0; i < 3; ++i) {
          const std::wstring& op = ops.size() == 1 ? ops[0] : (static_cast<size_t>(i) < ops.size() ? ops[i] : L"*");
          if (!CompareNumber(op, g.point[i], v.resval.rpoint[i])) return false;
        }
        return true;
      }
      case RbValue::Name:
        return g.kind == RbValue::Name && (t.op == L"*" || (t.op == L"=") == (g.name == v.resval.rlname[0]));
      default:
        return false;  // -3 (extended data) and codes without a value: the drawing has none to match
    }
  }

  static bool Eval(const Node& n, const std::vector<DxfGroup>& data) {
    switch (n.kind) {
      case Kind::Test:
        for (const DxfGroup& g : data)
          if (g.code == n.code && Test(n, g)) return true;
        return false;
      case Kind::And:
        for (const Node& c : n.children)
          if (!Eval(c, data)) return false;
        return true;
      case Kind::Or:
        for (const Node& c : n.children)
          if (Eval(c, data)) return true;
        return false;
      case Kind::Xor:
        return Eval(n.children[0], data) != Eval(n.children[1], data);
      case Kind::Not:
        return !Eval(n.children[0], data);
    }
    return false;
  }

  Node m_root{Kind::And, {}, {}};
};

// The entity's data as filters see it: its groups and the host's defaults for those it omits.
std::vector<DxfGroup> FilterData(const AcDbEntity* ent) {
  DxfOut out;
  const ACHAR* type = ent->isA()->dxfName();
  out.Text(0, type ? type : L"");
  DbAccess::DxfOutFields(ent, out);
  std::vector<DxfGroup> data = out.Groups();
  auto has = [&](short code) {
    return std::any_of(data.begin(), data.end(), [code](const DxfGroup& g) { return g.code == code; });
  };
  DxfOut defaults;
  if (!has(62)) defaults.Int(62, 256);
  if (!has(6)) defaults.Text(6, L"BYLAYER");
  if (!has(67)) defaults.Int(67, 0);
  if (!has(39)) defaults.Real(39, 0.0);
  if (!has(210)) defaults.Point(210, {0, 0, 1});
  data.insert(data.end(), defaults.Groups().begin(), defaults.Groups().end());
  return data;
}

// --- Finding entities ---

const AcDbLayerTableRecord* LayerOf(const AcDbEntity* ent) { return Peek<AcDbLayerTableRecord>(ent->layerId()); }

bool InCurrentSpace(const AcDbEntity* ent) {
  AcDbDatabase* db = WorkingDrawing();
  const bool paper = ReadShort(L"TILEMODE", 1) == 0 && ReadShort(L"CVPORT", 2) == 1;
  return ent->ownerId() == (paper ? DbAccess::PaperSpace(db) : DbAccess::ModelSpace(db));
}

// Main entities of the drawing, newest first. Graphical searches see only what the screen
// shows of the current space.
std::vector<const AcDbEntity*> Candidates(bool graphical, bool skipLocked) {
  std::vector<const AcDbEntity*> out;
  const std::vector<Adesk::IntPtr>& order = DbAccess::Order(WorkingDrawing());
  for (size_t i = order.size(); i-- > 0;) {
    const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(order[i]));
    if (!ent || ent->isErased()) continue;
    const AcDbLayerTableRecord* layer = LayerOf(ent);
    if (skipLocked && layer && layer->isLocked()) continue;
    if (graphical) {
      if (!InCurrentSpace(ent) || (layer && (layer->isOff() || layer->isFrozen()))) continue;
      ads_name name = {order[i], 0};
      if (!DisplayOf(name).visible) continue;
    }
    out.push_back(ent);
  }
  return out;
}

Shape ShapeOf(const AcDbEntity* ent) {
  Shape s;
  ent->standinShape(s);
  return s;
}

struct Box {
  double minX, minY, maxX, maxY;
};

Box BoxOf(const double* a, const double* b) {
  return {std::min(a[0], b[0]), std::min(a[1], b[1]), std::max(a[0], b[0]), std::max(a[1], b[1])};
}

std::vector<Adesk::IntPtr> InBox(const Box& box, bool crossing, bool skipLocked) {
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    const Shape s = ShapeOf(ent);
    const bool hit = crossing ? s.TouchesRect(box.minX, box.minY, box.maxX, box.maxY)
                              : s.InsideRect(box.minX, box.minY, box.maxX, box.maxY);
    if (hit) out.push_back(DbAccess::Id(ent));
  }
  return out;
}

// Entities under the pick box at p: the topmost, or all of them for ":E".
std::vector<Adesk::IntPtr> AtPoint(const double* p, bool everything, bool skipLocked) {
  const double h = PickBoxHalf();
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    if (!ShapeOf(ent).TouchesRect(p[0] - h, p[1] - h, p[0] + h, p[1] + h)) continue;
    out.push_back(DbAccess::Id(ent));
    if (!everything) break;
  }
  return out;
}

// The polygon of an RTPOINT/RT3DPOINT chain; false for fewer than three points, a repeated
// point or edges that cross.
bool PolygonOf(const resbuf* rb, std::vector<XY>& poly) {
  for (; rb; rb = rb->rbnext) {
    if (rb->restype != RTPOINT && rb->restype != RT3DPOINT) return false;
    poly.push_back({rb->resval.rpoint[0], rb->resval.rpoint[1]});
  }
  if (poly.size() >= 2 && poly.front().x == poly.back().x && poly.front().y == poly.back().y) poly.pop_back();
  const size_t n = poly.size();
  if (n < 3) return false;
  for (size_t i = 0; i < n; ++i)
    if (poly[i].x == poly[(i + 1) % n].x && poly[i].y == poly[(i + 1) % n].y) return false;
  auto cross = [](XY a, XY b, XY c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      const XY a = poly[i], b = poly[(i + 1) % n], c = poly[j], d = poly[(j + 1) % n];
      const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
      if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return false;
    }
  return true;
}

std::vector<Adesk::IntPtr> InPolygon(const std::vector<XY>& poly, bool crossing, bool skipLocked) {
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    const Shape s = ShapeOf(ent);
    if (crossing ? s.TouchesPolygon(poly) : s.InsidePolygon(poly)) out.push_back(DbAccess::Id(ent));
  }
  return out;
}

std::vector<Adesk::IntPtr> Filtered(const std::vector<Adesk::IntPtr>& ids, const Filter& filter, bool skipLocked) {
  std::vector<Adesk::IntPtr> out;
  for (Adesk::IntPtr id : ids) {
    const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(id));
    if (!ent || ent->isErased() || ent->database() != WorkingDrawing()) continue;
    const AcDbLayerTableRecord* layer = LayerOf(ent);
    if (skipLocked && layer && layer->isLocked()) continue;
    if (filter.Matches(FilterData(ent))) out.push_back(id);
  }
  return out;
}

std::vector<Adesk::IntPtr> LastEntity(bool skipLocked) {
  const std::vector<const AcDbEntity*> all = Candidates(true, skipLocked);
  if (all.empty()) return {};
  return {DbAccess::Id(all.front())};
}

// --- Modes ---

struct Mode {
  std::wstring method;  // "", X, I, L, P, W, C, WP, CP
  bool single = false, everything = false, prompts = false, keywords = false, skipLocked = false;
};

// False for an unknown or repeated method; unknown tells which.
bool ParseMode(const ACHAR* str, Mode& mode, std::wstring& unknown) {
  if (!str) return true;
  const std::wstring s = Upper(str);
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == L'_') {
      ++i;
      continue;
    }
    std::wstring token;
    if (s[i] == L':') {
      if (i + 1 >= s.size()) return unknown = L":", false;
      token = s.substr(i, 2);
      i += 2;
    } else if (s.compare(i, 2, L"WP") == 0 || s.compare(i, 2, L"CP") == 0 || s.compare(i, 2, L"CL") == 0) {
      token = s.substr(i, 2);
      i += 2;
    } else {
      token = s.substr(i, 1);
      i += 1;
    }
    if (token == L":S")
      mode.single = true;
    else if (token == L":E")
      mode.everything = true;
    else if (token == L":$")
      mode.prompts = true;
    else if (token == L":K")
      mode.keywords = true;
    else if (token == L":L")
      mode.skipLocked = true;
    else if (token == L"X" || token == L"I" || token == L"L" || token == L"P" || token == L"W" || token == L"C" ||
             token == L"WP" || token == L"CP") {
      if (!mode.method.empty()) return unknown = token, false;
      mode.method = token;
    } else {
      return unknown = token, false;
    }
  }
  return true;
}

std::vector<Keyword> ParseKeywords(const ACHAR* list) {
  std::vector<std::wstring> words;
  std::wstring word;
  for (const ACHAR* p = list ? list : L"";; ++p) {
    if (!*p || std::iswspace(static_cast<wint_t>(*p))) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (!*p) break;
    } else {
      word.push_back(*p);
    }
  }
  std::vector<std::wstring> locals, globals;
  bool global = false;
  for (const std::wstring& w : words) {
    if (w == L"_")
      global = true;
    else
      (global ? globals : locals).push_back(w);
  }
  std::vector<Keyword> out;
  for (size_t i = 0; i < locals.size(); ++i) {
    Keyword k;
    const size_t comma = locals[i].find(L',');
    k.local = locals[i].substr(0, comma);
    if (comma != std::wstring::npos) {
      k.abbrev = locals[i].substr(comma + 1);
    } else {
      for (wchar_t c : k.local)
        if (std::iswupper(static_cast<wint_t>(c))) k.abbrev.push_back(c);
    }
    k.global = i < globals.size() ? globals[i] : k.local;
    out.push_back(k);
  }
  return out;
}

bool ParseTypedPoint(const std::wstring& text, double* p) {
  const size_t c1 = text.find(L',');
  if (c1 == std::wstring::npos) return false;
  const size_t c2 = text.find(L',', c1 + 1);
  std::wstring parts[3] = {text.substr(0, c1),
                           c2 == std::wstring::npos ? text.substr(c1 + 1) : text.substr(c1 + 1, c2 - c1 - 1),
                           c2 == std::wstring::npos ? L"0" : text.substr(c2 + 1)};
  for (int i = 0; i < 3; ++i) {
    const std::wstring t = Trim(parts[i]);
    wchar_t* end = nullptr;
    p[i] = std::wcstod(t.c_str(), &end);
    if (t.empty() || *end || !std::isfinite(p[i])) return false;
  }
  return true;
}

const wchar_t kInvalidSelection[] =
    L"\n*Invalid selection*\nExpects a point or\n"
    L"Window/Last/Crossing/BOX/ALL/Fence/WPolygon/CPolygon/Group/Add/Remove/Multiple/Previous/Undo/AUto/SIngle/"
    L"SUbobject/Object";

// The next input that is not a cursor move.
InputEvent NextMeaningful() {
  for (;;) {
    InputEvent e = Session::Get().NextInput();
    if (e.kind != InputKind::Cursor) return e;
  }
}

enum class PointRead { Point, Cancel, Other };

// A point for a prompt of the selection (a window's corner).
PointRead ReadPoint(const wchar_t* prompt, double* p) {
  Session::Get().Print(prompt);
  const InputEvent e = NextMeaningful();
  switch (e.kind) {
    case InputKind::Point:
    case InputKind::Pick:
      std::copy(e.point, e.point + 3, p);
      return PointRead::Point;
    case InputKind::Text:
      return ParseTypedPoint(Trim(e.text), p) ? PointRead::Point : PointRead::Other;
    case InputKind::Esc:
      Session::Get().Print(L"*Cancel*");
      return PointRead::Cancel;
    default:
      return PointRead::Other;
  }
}

class Interaction {
 public:
  Interaction(const Mode& mode, const Filter& filter, const ACHAR* selectPrompt, const ACHAR* removePrompt,
              std::vector<Keyword> keywords)
      : m_mode(mode),
        m_filter(filter),
        m_select(selectPrompt),
        m_remove(removePrompt),
        m_keywords(std::move(keywords)) {}

  // RTNORM with the chosen entities, RTCAN, or RTERROR when nothing was chosen.
  int Run(std::vector<Adesk::IntPtr>& chosen);

 private:
  void Prompt() const {
    const ACHAR* text = m_removing ? (m_mode.prompts ? m_remove : L"\nRemove objects: ")
                                   : (m_mode.prompts ? m_select : L"\nSelect objects: ");
    if (text) Session::Get().Print(text);
  }
  // Adds (or removes) what one selection found and says so as the host does.
  void Take(const std::vector<Adesk::IntPtr>& found);
  // A click: the entity under the pick box, else a window opened at p.
  int Click(const double* p, std::vector<Adesk::IntPtr>& found);
  int TypedWindow(bool crossing, std::vector<Adesk::IntPtr>& found);
  bool TypedKeyword(const std::wstring& typed);

  const Mode& m_mode;
  const Filter& m_filter;
  const ACHAR* m_select;
  const ACHAR* m_remove;
  std::vector<standin::Keyword> m_keywords;
  std::vector<Adesk::IntPtr> m_chosen;
  std::vector<std::vector<Adesk::IntPtr>> m_added;  // what each selection added, for Undo
  bool m_removing = false;
};

void Interaction::Take(const std::vector<Adesk::IntPtr>& raw) {
  std::vector<Adesk::IntPtr> found;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = Filtered(raw, m_filter, m_mode.skipLocked);
  }
  const bool hadSome = !m_chosen.empty();
  std::wstring msg = std::to_wstring(found.size()) + L" found";
  if (m_removing) {
    size_t removed = 0;
    for (Adesk::IntPtr id : found) {
      const auto it = std::find(m_chosen.begin(), m_chosen.end(), id);
      if (it == m_chosen.end()) continue;
      m_chosen.erase(it);
      ++removed;
    }
    msg += L", " + std::to_wstring(removed) + L" removed, " + std::to_wstring(m_chosen.size()) + L" total";
  } else {
    std::vector<Adesk::IntPtr> added;
    for (Adesk::IntPtr id : found)
      if (std::find(m_chosen.begin(), m_chosen.end(), id) == m_chosen.end()) {
        m_chosen.push_back(id);
        added.push_back(id);
      }
    const size_t duplicates = found.size() - added.size();
    if (duplicates) msg += L" (" + std::to_wstring(duplicates) + (duplicates == 1 ? L" duplicate)" : L" duplicates)");
    if (hadSome) msg += L", " + std::to_wstring(m_chosen.size()) + L" total";
    m_added.push_back(added);
  }
  Session::Get().Print(msg);
}

int Interaction::Click(const double* p, std::vector<Adesk::IntPtr>& found) {
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = AtPoint(p, m_mode.everything, m_mode.skipLocked);
  }
  if (!found.empty()) return RTNORM;
  // A click on nothing opens a window; opened to the left it is a crossing.
  double corner[3];
  switch (ReadPoint(L"Specify opposite corner: ", corner)) {
    case PointRead::Cancel:
      return RTCAN;
    case PointRead::Other:
      return RTNONE;
    case PointRead::Point:
      break;
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  found = InBox(BoxOf(p, corner), corner[0] < p[0], m_mode.skipLocked);
  return RTNORM;
}

int Interaction::TypedWindow(bool crossing, std::vector<Adesk::IntPtr>& found) {
  double a[3], b[3];
  PointRead r = ReadPoint(L"\nSpecify first corner: ", a);
  if (r == PointRead::Point) r = ReadPoint(L"Specify opposite corner: ", b);
  if (r == PointRead::Cancel) return RTCAN;
  if (r == PointRead::Other) return RTNONE;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  found = InBox(BoxOf(a, b), crossing, m_mode.skipLocked);
  return RTNORM;
}

bool Interaction::TypedKeyword(const std::wstring& typed) {
  KeywordCallback callback;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    callback = St().callback;
  }
  if (!m_mode.keywords || !callback) return false;
  InputOptions options;
  options.keywords = m_keywords;
  std::wstring global;
  if (MatchKeyword(options, typed, global) != KeywordMatch::Found) return false;
  resbuf* result = callback(global.c_str());
  for (resbuf* rb = result; rb; rb = rb->rbnext) {
    if (rb->restype == RTSTR && rb->resval.rstring) {
      Session::Get().Print(rb->resval.rstring);
    } else if (rb->restype == RTENAME) {
      Take({rb->resval.rlname[0]});
    } else if (rb->restype == RTPICKS) {
      std::vector<Adesk::IntPtr> members;
      {
        std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
        if (const auto* set = FindSet(rb->resval.rlname)) members = *set;
      }
      Take(members);
    }
  }
  if (result) acutRelRb(result);
  return true;
}

int Interaction::Run(std::vector<Adesk::IntPtr>& chosen) {
  for (;;) {
    Prompt();
    const InputEvent e = NextMeaningful();
    std::vector<Adesk::IntPtr> found;
    int rc = RTNORM;
    switch (e.kind) {
      case InputKind::Esc:
        Session::Get().Print(L"*Cancel*");
        return RTCAN;
      case InputKind::Enter:
        goto done;
      case InputKind::Cursor:
        continue;
      case InputKind::Window:
      case InputKind::Crossing: {
        std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
        found = InBox(BoxOf(e.point, e.corner), e.kind == InputKind::Crossing, m_mode.skipLocked);
        break;
      }
      case InputKind::Pick: {
        ads_name name;
        bool named = false;
        {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          if (EntityByHandle(e.text.c_str(), name)) {
            const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(name[0]));
            if (const AcDbEntity* owner = AcDbEntity::cast(DbAccess::Resolve(ent->ownerId()))) ent = owner;
            for (const AcDbEntity* c : Candidates(true, m_mode.skipLocked))
              if (c == ent) named = true;
            if (named) found = {DbAccess::Id(ent)};
          }
        }
        // A pick on something that cannot be selected is a click where it was made.
        if (!named) rc = Click(e.point, found);
        break;
      }
      case InputKind::Point:
        rc = Click(e.point, found);
        break;
      case InputKind::Text: {
        const std::wstring typed = Trim(e.text);
        const std::wstring word = Upper(typed);
        double p[3];
        if (typed.empty()) goto done;  // a blank ends the selection as Enter does
        if (TypedKeyword(typed)) continue;
        if (word == L"W" || word == L"WINDOW" || word == L"C" || word == L"CROSSING") {
          rc = TypedWindow(word[0] == L'C', found);
        } else if (word == L"ALL") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          for (const AcDbEntity* ent : Candidates(true, m_mode.skipLocked)) found.push_back(DbAccess::Id(ent));
        } else if (word == L"L" || word == L"LAST") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          found = LastEntity(m_mode.skipLocked);
        } else if (word == L"P" || word == L"PREVIOUS") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          found = St().previous;
        } else if (word == L"R" || word == L"REMOVE") {
          m_removing = true;
          continue;
        } else if (word == L"A" || word == L"ADD") {
          m_removing = false;
          continue;
        } else if (word == L"U" || word == L"UNDO") {
          if (m_added.empty()) {
            Session::Get().Print(L"All selection has been undone");
          } else {
            for (Adesk::IntPtr id : m_added.back())
              m_chosen.erase(std::remove(m_chosen.begin(), m_chosen.end(), id), m_chosen.end());
            m_added.pop_back();
          }
          continue;
        } else if (ParseTypedPoint(typed, p)) {
          rc = Click(p, found);
        } else {
          Session::Get().Print(kInvalidSelection);
          continue;
        }
        break;
      }
    }
    if (rc == RTCAN) return RTCAN;
    if (rc != RTNORM) continue;
    const size_t before = m_chosen.size();
    Take(found);
    if (m_mode.single && m_chosen.size() > before) break;
  }
done:
  if (m_chosen.empty()) return RTERROR;
  chosen = m_chosen;
  return RTNORM;
}

}  // namespace

int SelectionSetCount() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return static_cast<int>(St().sets.size());
}

std::vector<Adesk::IntPtr> PickfirstSet() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return St().pickfirst;
}

void ClearPickfirst() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  ClearPickfirstLocked();
}

void SelectAtCommandPrompt(const InputEvent& event) {
  std::vector<Adesk::IntPtr> found;
  double p[3];
  std::copy(event.point, event.point + 3, p);
  bool named = false;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (event.kind == InputKind::Window || event.kind == InputKind::Crossing) {
      found = InBox(BoxOf(event.point, event.corner), event.kind == InputKind::Crossing, false);
      named = true;
    } else if (event.kind == InputKind::Pick) {
      ads_name name;
      if (EntityByHandle(event.text.c_str(), name)) {
        const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(name[0]));
        if (const AcDbEntity* owner = AcDbEntity::cast(DbAccess::Resolve(ent->ownerId()))) ent = owner;
        for (const AcDbEntity* c : Candidates(true, false))
          if (c == ent) named = true;
        if (named) found = {DbAccess::Id(ent)};
      }
    }
    if (!named) found = AtPoint(p, false, false);
  }
  if (!named && found.empty()) {
    double corner[3];
    if (ReadPoint(L"Specify opposite corner: ", corner) != PointRead::Point) {
      ClearPickfirst();
      return;
    }
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = InBox(BoxOf(p, corner), corner[0] < p[0], false);
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (Adesk::IntPtr id : found)
    if (std::find(St().pickfirst.begin(), St().pickfirst.end(), id) == St().pickfirst.end()) {
      St().pickfirst.push_back(id);
      SetHighlight(id, true);
    }
}

void CommandStarting(int flags) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  St().pickfirstSetByCommand = false;
  if (!(flags & ACRX_CMD_USEPICKSET)) ClearPickfirstLocked();
}

void CommandEnded(int flags) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!((flags & ACRX_CMD_REDRAW) && St().pickfirstSetByCommand)) ClearPickfirstLocked();
  St().pickfirstSetByCommand = false;
}

}  // namespace standin

using standin::DrawingMutex;
using standin::St;

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss) {
  using namespace standin;
  if (!ss) return RTERROR;
  Mode mode;
  std::wstring unknown;
  if (!ParseMode(str, mode, unknown)) {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (St().toldModes.insert(str).second)
      std::fprintf(stderr, "stand-in host: acedSSGet mode \"%ls\" is not supported (at \"%ls\"); the call fails\n", str,
                   unknown.c_str());
    return RTERROR;
  }
  Filter f;
  if (!f.Parse(filter)) return RTERROR;
  const auto* point1 = static_cast<const double*>(pt1);
  const auto* point2 = static_cast<const double*>(pt2);
  std::vector<Adesk::IntPtr> found;
  const std::wstring& m = mode.method;
  bool done = false;
  if (m.empty() && !mode.prompts && !mode.keywords && (point1 || (!str && !filter && !pt2))) {
    // The entities at a point, or the pickfirst set taken as it is.
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (point1) {
      found = Filtered(AtPoint(point1, mode.everything, mode.skipLocked), f, mode.skipLocked);
      done = true;
    } else if (!St().pickfirst.empty() && ReadShort(L"PICKFIRST", 1) != 0) {
      found = St().pickfirst;
      done = true;
    }
  }
  if (!done && !m.empty()) {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (m == L"X") {
      for (const AcDbEntity* ent : Candidates(false, mode.skipLocked)) found.push_back(DbAccess::Id(ent));
    } else if (m == L"I") {
      if (ReadShort(L"PICKFIRST", 1) != 0) found = St().pickfirst;
    } else if (m == L"L") {
      found = LastEntity(mode.skipLocked);
    } else if (m == L"P") {
      found = St().previous;
    } else if (m == L"W" || m == L"C") {
      if (!point1 || !point2) return RTERROR;
      found = InBox(BoxOf(point1, point2), m == L"C", mode.skipLocked);
    } else {
      std::vector<XY> poly;
      if (!PolygonOf(static_cast<const resbuf*>(pt1), poly)) return RTERROR;
      found = InPolygon(poly, m == L"CP", mode.skipLocked);
    }
    found = Filtered(found, f, mode.skipLocked);
  } else if (!done) {
    const ACHAR* selectPrompt = nullptr;
    const ACHAR* removePrompt = nullptr;
    if (mode.prompts) {
      const auto* prompts = static_cast<const ACHAR* const*>(pt1);
      if (!prompts) return RTERROR;
      selectPrompt = prompts[0];
      removePrompt = prompts[1];
    }
    std::vector<Keyword> keywords;
    if (mode.keywords) keywords = ParseKeywords(static_cast<const ACHAR*>(pt2));
    Interaction interaction(mode, f, selectPrompt, removePrompt, keywords);
    const int rc = interaction.Run(found);
    if (rc != RTNORM) return rc;
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (found.empty()) return RTERROR;
  ads_name name;
  if (!MakeSet(found, name)) return RTERROR;
  St().previous = found;
  ss[0] = name[0];
  ss[1] = name[1];
  return RTNORM;
}

int acedSSFree(const ads_name sname) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!standin::FindSet(sname)) return RTERROR;
  St().sets.erase(sname[0]);
  return RTNORM;
}

int acedSSLength(const ads_name sname, long* len) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(sname);
  if (!set || !len) return RTERROR;
  *len = static_cast<long>(set->size());
  return RTNORM;
}

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result) {
  using namespace standin;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!result) return RTERROR;
  const AcDbEntity* ent = nullptr;
  if (ename) {
    ent = NamedEntity(ename);
    if (!ent || ent->isErased()) return RTERROR;
  }
  if (!sname) {
    std::vector<Adesk::IntPtr> members;
    if (ent) members.push_back(DbAccess::Id(ent));
    return MakeSet(std::move(members), result) ? RTNORM : RTERROR;
  }
  std::vector<Adesk::IntPtr>* set = FindSet(sname);
  if (!set) return RTERROR;
  if (ent && std::find(set->begin(), set->end(), DbAccess::Id(ent)) == set->end()) set->push_back(DbAccess::Id(ent));
  const Adesk::IntPtr n0 = sname[0], n1 = sname[1];
  result[0] = n0;
  result[1] = n1;
  return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<Adesk::IntPtr>* set = standin::FindSet(ss);
  if (!set || !ename || ename[1] != 0) return RTERROR;
  const auto it = std::find(set->begin(), set->end(), ename[0]);
  if (it == set->end()) return RTERROR;
  set->erase(it);
  return RTNORM;
}

int acedSSName(const ads_name ss, long i, ads_name entres) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(ss);
  if (!set || !entres || i < 0 || static_cast<size_t>(i) >= set->size()) return RTERROR;
  entres[0] = (*set)[static_cast<size_t>(i)];
  entres[1] = 0;
  return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(ss);
  if (!set || !ename || ename[1] != 0) return RTERROR;
  return std::find(set->begin(), set->end(), ename[0]) != set->end() ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name pset, const ads_name) {
  using namespace standin;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<Adesk::IntPtr> members;
  if (pset) {
    const auto* set = FindSet(pset);
    if (!set) return RTERROR;
    for (Adesk::IntPtr id : *set) {
      const ads_name name = {id, 0};
      const AcDbEntity* ent = NamedEntity(name);
      if (ent && !ent->isErased() && DbAccess::OrderIndex(ent->database(), id) >= 0) members.push_back(id);
    }
  }
  ClearPickfirstLocked();
  St().pickfirst = members;
  for (Adesk::IntPtr id : members) SetHighlight(id, true);
  St().pickfirstSetByCommand = true;
  return RTNORM;
}

int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset) {
  using namespace standin;
  if (!gset || !pset) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  *gset = acutNewRb(RTNONE);
  ads_name name;
  if (!St().pickfirst.empty() && MakeSet(St().pickfirst, name)) {
    *pset = acutNewRb(RTPICKS);
    if (*pset) {
      (*pset)->resval.rlname[0] = name[0];
      (*pset)->resval.rlname[1] = name[1];
    }
  } else {
    *pset = acutNewRb(RTNONE);
  }
  return *gset && *pset ? RTNORM : RTERROR;
}

int acedSSSetKwordCallbackPtr(struct resbuf* (*pFunc)(const ACHAR*)) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  St().callback = pFunc;
  return RTNORM;
}

int acedSSGetKwordCallbackPtr(struct resbuf* (**pFunc)(const ACHAR*)) {
  if (!pFunc) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  *pFunc = St().callback;
  return RTNORM;
}

int acedXformSS(const ads_name ssname, const ads_matrix genmat) {
  using namespace standin;
  if (!genmat) return RTERROR;
  AcGeMatrix3d m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m(r, c) = genmat[r][c];
  if (!IsUniformScaling(m)) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = FindSet(ssname);
  if (!set) return RTERROR;
  std::vector<AcDbEntity*> opened;
  auto closeAll = [&] {
    for (AcDbEntity* e : opened) e->close();
  };
  for (Adesk::IntPtr id : *set) {
    const AcDbEntity* peek = AcDbEntity::cast(DbAccess::Resolve(id));
    if (!peek || peek->isErased()) continue;
    AcDbEntity* ent = nullptr;
    if (acdbOpenAcDbEntity(ent, peek->objectId(), AcDb::kForWrite) != Acad::eOk) {
      closeAll();
      return RTERROR;
    }
    opened.push_back(ent);
    const Acad::ErrorStatus check = CheckTransform(*ent, m);
    if (check != Acad::eOk) {
      if (check == Acad::eNotApplicable)
        std::fprintf(stderr, "stand-in host: acedXformSS cannot take a %ls out of its plane; the call fails\n",
                     ent->isA()->dxfName());
      closeAll();
      return RTERROR;
    }
  }
  for (AcDbEntity* e : opened) e->transformBy(m);
  closeAll();
  return RTNORM;
}
