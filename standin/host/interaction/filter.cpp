// The host's selection filters: conjunctions of tests on the groups of an entity's data, combined
// by the -4 groups "<AND" "AND>" "<OR" "OR>" "<XOR" "XOR>" "<NOT" "NOT>", with relational tests.
#include "standin/host/interaction/filter.h"

#include <acutads.h>
#include <adscodes.h>
#include <dbents.h>

#include <algorithm>
#include <cmath>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/view/hittest.h"

namespace standin {

struct Filter::Node {
  enum class Kind { And, Or, Xor, Not, Test };
  Kind kind;
  std::vector<Node> children;
  std::wstring op;
  short code = 0;
  const resbuf* value = nullptr;
};

namespace {

using Node = Filter::Node;
using Kind = Node::Kind;

bool IsLogical(const std::wstring& s) { return s == L"AND" || s == L"OR" || s == L"XOR" || s == L"NOT"; }
Kind KindOf(const std::wstring& s) {
  return s == L"AND" ? Kind::And : s == L"OR" ? Kind::Or : s == L"XOR" ? Kind::Xor : Kind::Not;
}
bool IsSingleOp(const std::wstring& s) {
  static const wchar_t* const ops[] = {L"*", L"=", L"!=", L"/=", L"<>", L"<", L"<=", L">", L">=", L"&", L"&="};
  for (const wchar_t* o : ops)
    if (s == o) return true;
  return false;
}
bool IsRelational(const std::wstring& s) {
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

bool CompareNumber(const std::wstring& op, double a, double b) {
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

bool Test(const Node& t, const DxfGroup& g) {
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

bool Eval(const Node& n, const std::vector<DxfGroup>& data) {
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

}  // namespace

Filter::Filter() : m_root(std::make_unique<Node>(Node{Kind::And, {}, {}})) {}
Filter::~Filter() = default;

bool Filter::Parse(const resbuf* rb) {
  std::vector<Node*> stack{m_root.get()};
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

bool Filter::Matches(const AcDbEntity* ent) const {
  // No test at all takes every entity without listing its data.
  return m_root->children.empty() || Eval(*m_root, FilterData(ent));
}

std::vector<Adesk::IntPtr> Filtered(const std::vector<Adesk::IntPtr>& ids, const Filter& filter, bool skipLocked) {
  std::vector<Adesk::IntPtr> out;
  for (Adesk::IntPtr id : ids) {
    const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(id));
    if (!ent || ent->isErased() || ent->database() != WorkingDrawing()) continue;
    if (skipLocked && OnLockedLayer(ent)) continue;
    if (filter.Matches(ent)) out.push_back(id);
  }
  return out;
}

}  // namespace standin
