// The groups of a binary DXF file: after the sentinel, each group is its code (one byte before
// release 13, where 255 escapes a two-byte code; two bytes from release 13 on) and its value,
// little-endian: text ends with a NUL, numbers take the width their code range gives, binary
// chunks a length byte. Groups are numbered by the byte offset of their code.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "standin/host/drawing/dxf_reader.h"

namespace standin::dxf {

namespace {

enum class Width { Text, Real, Int16, Int32, Int64, Bool, Chunk, Unknown };

Width WidthOf(int c) {
  if ((c >= 0 && c <= 9) || (c >= 100 && c <= 109) || (c >= 300 && c <= 309) || (c >= 320 && c <= 369) ||
      (c >= 390 && c <= 399) || (c >= 410 && c <= 419) || (c >= 430 && c <= 439) || (c >= 470 && c <= 481) ||
      c == 999 || (c >= 1000 && c <= 1009 && c != 1004))
    return Width::Text;
  if ((c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) || (c >= 460 && c <= 469) ||
      (c >= 1010 && c <= 1059))
    return Width::Real;
  if ((c >= 60 && c <= 79) || (c >= 170 && c <= 179) || (c >= 270 && c <= 289) || (c >= 370 && c <= 389) ||
      (c >= 400 && c <= 409) || (c >= 1060 && c <= 1070))
    return Width::Int16;
  if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 459) || c == 1071) return Width::Int32;
  if (c >= 160 && c <= 169) return Width::Int64;
  if (c >= 290 && c <= 299) return Width::Bool;
  if ((c >= 310 && c <= 319) || c == 1004) return Width::Chunk;
  return Width::Unknown;
}

template <class T>
T Little(const char* at) {
  unsigned char b[sizeof(T)];
  std::memcpy(b, at, sizeof(T));
  unsigned long long v = 0;
  for (size_t i = sizeof(T); i-- > 0;) v = (v << 8) | b[i];
  T out;
  if constexpr (sizeof(T) == 8 && std::is_floating_point_v<T>) {
    std::memcpy(&out, &v, sizeof out);
  } else {
    out = static_cast<T>(v);
  }
  return out;
}

}  // namespace

bool Groups::FetchBinary() {
  const size_t size = m_bytes.size();
  auto need = [&](size_t n) { return size - m_at >= n; };
  while (m_at < size) {
    const int line = static_cast<int>(std::min<size_t>(m_at, 0x7fffffff));
    int code;
    if (m_wideCodes || static_cast<unsigned char>(m_bytes[m_at]) == 255) {
      const size_t skip = m_wideCodes ? 0 : 1;
      if (!need(skip + 2)) return Fail(line, L"the file ends inside a group code");
      code = Little<int16_t>(m_bytes.data() + m_at + skip);
      m_at += skip + 2;
    } else {
      code = static_cast<unsigned char>(m_bytes[m_at++]);
    }
    m_group = Pair(code, line, std::string_view());
    m_number.clear();
    const char* value = m_bytes.data() + m_at;
    char number[32];
    switch (WidthOf(code)) {
      case Width::Text: {
        const void* end = std::memchr(value, 0, size - m_at);
        if (!end) return Fail(line, L"the text of group " + std::to_wstring(code) + L" is not ended by a NUL");
        m_group.value = std::string_view(value, static_cast<size_t>(static_cast<const char*>(end) - value));
        m_at += m_group.value.size() + 1;
        break;
      }
      case Width::Real:
        if (!need(8)) return Fail(line, L"the file ends inside the value of group " + std::to_wstring(code));
        m_group.real = Little<double>(value);
        m_at += 8;
        if (!std::isfinite(m_group.real))
          return Fail(line, L"group code " + std::to_wstring(code) + L" needs a finite number");
        if (!m_light) {
          std::snprintf(number, sizeof number, "%.17g", m_group.real);
          m_number = number;
        }
        break;
      case Width::Int16:
      case Width::Int32:
      case Width::Int64:
      case Width::Bool: {
        const Width w = WidthOf(code);
        const size_t n = w == Width::Int16 ? 2 : w == Width::Int32 ? 4 : w == Width::Int64 ? 8 : 1;
        if (!need(n)) return Fail(line, L"the file ends inside the value of group " + std::to_wstring(code));
        m_group.integer = n == 2   ? Little<int16_t>(value)
                          : n == 4 ? Little<int32_t>(value)
                          : n == 8 ? Little<int64_t>(value)
                                   : static_cast<unsigned char>(*value);
        m_at += n;
        if (!m_light) m_number = std::to_string(m_group.integer);
        break;
      }
      case Width::Chunk: {
        if (!need(1) || !need(1 + static_cast<unsigned char>(*value)))
          return Fail(line, L"the file ends inside the value of group " + std::to_wstring(code));
        static const char kHex[] = "0123456789ABCDEF";
        for (size_t i = 0; !m_light && i < static_cast<unsigned char>(*value); ++i) {
          const unsigned char b = static_cast<unsigned char>(value[1 + i]);
          m_number += kHex[b >> 4];
          m_number += kHex[b & 15];
        }
        m_at += 1 + static_cast<unsigned char>(*value);
        break;
      }
      case Width::Unknown:
        return Fail(line, L"group code " + std::to_wstring(code) + L" has no value type in a binary file");
    }
    if (code == 999) continue;
    if (!m_number.empty()) m_group.value = m_number;
    return true;
  }
  return false;
}

}  // namespace standin::dxf
