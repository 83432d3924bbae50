// The groups of a DXF text file, read one at a time: lines, group codes and the numbers of the
// values, each checked as it is read. The binary form is dxf_binary.cpp.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "standin/host/drawing/dxf_reader.h"

namespace standin::dxf {

namespace {

// A leading + is allowed, as the C library's readers allow it.
std::string_view Unsigned(std::string_view t) { return t.size() > 1 && t[0] == '+' && t[1] != '-' ? t.substr(1) : t; }

inline const char* Real(const char* first, const char* last, double& out) {
  // The powers of ten a double holds exactly.
  static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = first;
  const bool negative = p < last && *p == '-';
  p += negative;
  std::uint64_t digits = 0;  // wraps round past 19 digits, which go to the general reader
  const char* const whole = p;
  for (; p < last && static_cast<unsigned>(*p - '0') < 10; ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  ptrdiff_t count = p - whole, decimals = 0;
  if (p < last && *p == '.') {
    const char* const fraction = ++p;
    for (; p < last && static_cast<unsigned>(*p - '0') < 10; ++p)
      digits = digits * 10 + static_cast<unsigned>(*p - '0');
    decimals = p - fraction;
    count += decimals;
  }
  // Digits that fit a double exactly, divided once by an exact power of ten, round once: the
  // correctly rounded value. An exponent, more digits or none at all go to the general reader.
  const bool exponent = p < last && (*p == 'e' || *p == 'E');
  if (count == 0 || count > 19 || digits > (std::uint64_t{1} << 53) || decimals > 22 || exponent) {
    const auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() ? end : nullptr;
  }
  const double value = static_cast<double>(digits) / kTens[decimals];
  out = negative ? -value : value;
  return p;
}

template <class T>
bool Number(std::string_view t, T& out) {
  t = Unsigned(t);
  const char* end = nullptr;
  if constexpr (std::is_floating_point_v<T>) {
    end = Real(t.data(), t.data() + t.size(), out);
  } else {
    const auto result = std::from_chars(t.data(), t.data() + t.size(), out);
    if (result.ec == std::errc()) end = result.ptr;
  }
  return !t.empty() && end == t.data() + t.size();
}

}  // namespace

const char* ReadReal(const char* first, const char* last, double& out) { return Real(first, last, out); }

bool ParseHandle(std::string_view s, Adesk::UInt64& out) {
  const std::string_view t = Trimmed(s);
  if (t.empty() || t.size() > 16) return false;
  out = 0;
  for (char c : t) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else
      return false;
    out = out * 16 + static_cast<Adesk::UInt64>(v);
  }
  return true;
}

namespace {

// A group code that is not plainly a few digits (PlainCode reads those): a whole number of 16 bits.
bool GroupCode(std::string_view t, int& code) {
  long long value = 0;
  if (!Number(t, value) || value < -32768 || value > 32767) return false;
  code = static_cast<int>(value);
  return true;
}

// The offset of the first byte c in [at, end), or end. Most lines of a DXF file are a few bytes
// long: eight are tested at a time, without a call.
inline size_t Find(const char* bytes, size_t at, size_t end, char c) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  for (; at + 8 <= end; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + at, 8);
    word ^= pattern;
    // The high bit of the bytes that were c, and maybe of bytes above the first of them.
    const std::uint64_t found = (word - kOnes) & ~word & kHighs;
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (found) return at + static_cast<size_t>(__builtin_ctzll(found)) / 8;
#else
    if (found) break;
#endif
  }
  while (at < end && bytes[at] != c) ++at;
  return at;
}

// The line at bytes[at], without its end (and a CR before it); at moves past it.
inline bool TakeLine(std::string_view bytes, size_t& at, char lineEnd, std::string_view& out) {
  if (at >= bytes.size()) return false;
  const size_t end = Find(bytes.data(), at, bytes.size(), lineEnd);
  out = bytes.substr(at, end - at);
  at = end + 1;
  if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
  return true;
}

}  // namespace

Groups::Groups(std::string_view bytes, bool light) : m_bytes(bytes), m_light(light) {
  static const char kBinary[] = "AutoCAD Binary DXF\r\n\x1a";  // and a NUL
  m_binary = m_bytes.substr(0, sizeof kBinary - 1) == kBinary;
  if (m_binary) {
    if (m_bytes.size() < sizeof kBinary || m_bytes[sizeof kBinary - 1] != 0) {
      m_done = true;
      Fail(1, L"the binary DXF sentinel is not ended by a NUL");
      return;
    }
    m_at = sizeof kBinary;
    // The first group is a 0 with a name: a second zero byte can only be the high byte of a
    // two-byte code, since a one-byte code is followed by the name's first letter.
    m_wideCodes = m_at + 1 < m_bytes.size() && m_bytes[m_at] == 0 && m_bytes[m_at + 1] == 0;
    return;
  }
  m_at = m_bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  // Lines end as the first one does: CR alone is read as a line end too, as the host reads it.
  const size_t firstEnd = m_bytes.find_first_of("\r\n", m_at);
  const bool crOnly = firstEnd != std::string_view::npos && m_bytes[firstEnd] == '\r' &&
                      (firstEnd + 1 == m_bytes.size() || m_bytes[firstEnd + 1] != '\n');
  m_lineEnd = crOnly ? '\r' : '\n';
  m_nul = std::memchr(m_bytes.data(), 0, m_bytes.size()) != nullptr;
}

bool Groups::Fetch() {
  if (!(m_binary ? FetchBinary() : FetchText())) {
    if (failed || count > 0) return false;
    if (m_binary) return Fail(1, L"the binary file holds no groups");
    return Fail(std::max(m_line, 1), L"the file is empty, not a DXF file");
  }
  const Pair& p = m_group;
  Adesk::UInt64 h = 0;
  if ((p.code == 5 || p.code == 105) && !m_seed && ParseHandle(p.value, h) && h >= maxHandle) {
    maxHandle = h;
    maxHandleLine = p.line;
    maxHandleText = p.value;
  }
  m_seed = p.code == 9 && Trimmed(p.value) == "$HANDSEED";
  lastLine = p.line;
  ++count;
  return true;
}

namespace {

// Whether a line ends at p (a CR before its end aside); if so, p moves past it.
bool LineEnds(const char*& p, const char* end, char lineEnd) {
  const char* q = p < end && *p == '\r' && lineEnd == '\n' ? p + 1 : p;
  if (q >= end || *q != lineEnd) return false;
  p = q + 1;
  return true;
}

// A line of blanks and at most four digits, read whole: its value, with p past the line; -1, with
// p unmoved, for any other line.
int PlainCode(const char*& p, const char* end, char lineEnd) {
  const char* q = p;
  while (q < end && *q == ' ') ++q;
  const char* const digits = q;
  const char* const stop = end - q > 4 ? q + 4 : end;
  int v = 0;
  for (; q < stop && static_cast<unsigned>(*q - '0') < 10; ++q) v = v * 10 + (*q - '0');
  if (q == digits || !LineEnds(q, end, lineEnd)) return -1;
  p = q;
  return v;
}

// A line of blanks around a finite number, read whole: where its text ends, with p past the line;
// null, with p unmoved, for any other line (a + sign, which the general reader takes, among them).
template <class T>
const char* PlainNumber(const char*& p, const char* end, char lineEnd, T& out) {
  const char* q = p;
  while (q < end && (*q == ' ' || *q == '\t')) ++q;
  if (q >= end || *q == '+') return nullptr;
  if constexpr (std::is_floating_point_v<T>) {
    q = Real(q, end, out);
    if (!q || !std::isfinite(out)) return nullptr;
  } else {
    const auto result = std::from_chars(q, end, out);
    if (result.ec != std::errc()) return nullptr;
    q = result.ptr;
  }
  while (q < end && (*q == ' ' || *q == '\t')) ++q;
  const char* const text = q;
  if (!LineEnds(q, end, lineEnd)) return nullptr;
  p = q;
  return text;
}

}  // namespace

bool Groups::FetchText() {
  const char* const begin = m_bytes.data();
  const char* const end = begin + m_bytes.size();
  for (;;) {
    // Most lines are a short code, or a number: they are read in one go, and the others as lines.
    const char* p = begin + m_at;
    int code = PlainCode(p, end, m_lineEnd);
    ++m_line;
    if (code < 0) {
      std::string_view codeLine;
      if (!TakeLine(m_bytes, m_at, m_lineEnd, codeLine)) return --m_line, false;
      if (m_nul && codeLine.find('\0') != std::string_view::npos)
        return Fail(m_line, L"the group code holds a NUL character");
      const std::string_view t = Trimmed(codeLine);
      if (t.empty() && m_at >= m_bytes.size()) return false;  // a final empty line
      if (!GroupCode(t, code))
        return Fail(m_line, L"expected a group code (a whole number), found \"" + Shown(t) + L"\"");
      p = begin + m_at;
    }
    m_group = Pair(code, m_line, {});
    const ValueType type = m_light ? ValueType::Skip : TypeOf(code);
    if (type == ValueType::Real || type == ValueType::Int) {
      const char* const start = p;
      const char* const text = type == ValueType::Real ? PlainNumber(p, end, m_lineEnd, m_group.real)
                                                       : PlainNumber(p, end, m_lineEnd, m_group.integer);
      if (!text) {
        m_at = static_cast<size_t>(start - begin);
        return NumberLine(type);
      }
      m_group.value = std::string_view(start, static_cast<size_t>(text - start));
      m_at = static_cast<size_t>(p - begin);
      ++m_line;
      return true;
    }
    m_at = static_cast<size_t>(p - begin);
    std::string_view valueLine;
    if (!TakeLine(m_bytes, m_at, m_lineEnd, valueLine))
      return Fail(m_line, L"group code " + std::to_wstring(code) + L" has no value line");
    ++m_line;
    if (!m_light && m_nul && valueLine.find('\0') != std::string_view::npos)
      return Fail(m_line, L"the value holds a NUL character");
    m_group.value = valueLine;
    if (code != 999) return true;  // else a comment
  }
}

bool Groups::NumberLine(ValueType type) {
  const int code = m_group.code;
  std::string_view valueLine;
  if (!TakeLine(m_bytes, m_at, m_lineEnd, valueLine))
    return Fail(m_line, L"group code " + std::to_wstring(code) + L" has no value line");
  ++m_line;
  m_group.value = valueLine;
  if (m_nul && valueLine.find('\0') != std::string_view::npos) return Fail(m_line, L"the value holds a NUL character");
  const std::string_view t = Trimmed(valueLine);
  if (type == ValueType::Real && (!Number(t, m_group.real) || !std::isfinite(m_group.real)))
    return Fail(m_line,
                L"group code " + std::to_wstring(code) + L" needs a finite number, found \"" + Shown(t) + L"\"");
  if (type == ValueType::Int && !Number(t, m_group.integer))
    return Fail(m_line, L"group code " + std::to_wstring(code) + L" needs a whole number, found \"" + Shown(t) + L"\"");
  return true;
}

}  // namespace standin::dxf
