// The host program's script lines.
#include "tools/script.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "standin/host/core/text.h"
#include "standin/win32/utf8.h"

using standin::InputEvent;
using standin::InputKind;
using standin::Upper;
using standin::Words;

namespace {

// A point of a directive: absolute coordinates, z 0 when left out.
bool ParsePoint(std::wstring_view text, double* p) {
  static const double kOrigin[3] = {0, 0, 0};
  return !text.empty() && text[0] != L'@' && standin::ParsePointInput(text, kOrigin, 0, p);
}

// A finite number written out whole, as wcstod reads it.
bool ParseNumber(const std::wstring& text, double& value) {
  wchar_t* end = nullptr;
  value = std::wcstod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

}  // namespace

bool ParseScriptLine(std::wstring_view line, std::optional<InputEvent>& event, std::wstring& error) {
  event.reset();
  error.clear();
  if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  if (line.empty()) {
    event = InputEvent::Key(InputKind::Enter);
    return true;
  }
  if (line.front() == L';') return true;
  if (line.substr(0, 2) == L"<<") {
    event = InputEvent::Typed(std::wstring(line.substr(1)));
    return true;
  }
  if (line.front() != L'<') {
    event = InputEvent::Typed(std::wstring(line));
    return true;
  }
  if (line.back() != L'>') {
    error = L"an input directive must end with '>' (type \"<<\" for text that starts with '<')";
    return false;
  }
  const std::vector<std::wstring> words = Words(line.substr(1, line.size() - 2));
  const std::wstring verb = words.empty() ? L"" : Upper(words[0]);
  const size_t args = words.size() - (words.empty() ? 0 : 1);
  InputEvent e;
  auto need = [&](const wchar_t* usage) {
    error = std::wstring(L"expected ") + usage;
    return false;
  };
  if (verb == L"ENTER" || verb == L"ESC") {
    if (args != 0) return need(verb == L"ENTER" ? L"<enter>" : L"<esc>");
    e.kind = verb == L"ENTER" ? InputKind::Enter : InputKind::Esc;
  } else if (verb == L"POINT") {
    e.kind = InputKind::Point;
    if (args != 1 || !ParsePoint(words[1], e.point)) return need(L"<point x,y[,z]>");
  } else if (verb == L"PICK") {
    e.kind = InputKind::Pick;
    if (args < 1 || args > 2 || (args == 2 && !ParsePoint(words[2], e.point))) return need(L"<pick HANDLE [x,y[,z]]>");
    e.text = Upper(words[1]);
    for (wchar_t c : e.text)
      if (!std::iswxdigit(static_cast<wint_t>(c))) return need(L"a hexadecimal entity handle in <pick HANDLE>");
  } else if (verb == L"WINDOW" || verb == L"CROSSING") {
    e.kind = verb == L"WINDOW" ? InputKind::Window : InputKind::Crossing;
    if (args != 2 || !ParsePoint(words[1], e.point) || !ParsePoint(words[2], e.corner))
      return need(verb == L"WINDOW" ? L"<window x,y x,y>" : L"<crossing x,y x,y>");
  } else if (verb == L"CURSOR") {
    e.kind = InputKind::Cursor;
    double px[3];
    if (args < 1 || args > 2 || !ParsePoint(words[1], e.point) || (args == 2 && !ParsePoint(words[2], px)))
      return need(L"<cursor x,y[,z] [px,py]>");
    if (args == 2) {
      if (px[0] != std::floor(px[0]) || px[1] != std::floor(px[1]) || std::fabs(px[0]) > 1e9 || std::fabs(px[1]) > 1e9)
        return need(L"whole pixel coordinates in <cursor x,y px,py>");
      e.hasPixel = true;
      e.pixel[0] = static_cast<long>(px[0]), e.pixel[1] = static_cast<long>(px[1]);
    }
  } else if (verb == L"ZOOM") {
    e.kind = InputKind::Zoom;
    if (args != 2 || !ParsePoint(words[1], e.point) || !ParseNumber(words[2], e.size) || !(e.size > 0))
      return need(L"<zoom x,y[,z] height> with a positive height");
  } else {
    error = L"unknown input directive <" + (words.empty() ? std::wstring() : words[0]) +
            L">; known: <enter> <esc> <point> <pick> <window> <crossing> <cursor> <zoom> <snapshot>";
    return false;
  }
  event = std::move(e);
  return true;
}

bool ParseScriptBytes(std::string_view bytes, std::optional<InputEvent>& event, std::wstring& error) {
  event.reset();
  if (!standin::IsValidUtf8(bytes)) {
    error = L"the line is not UTF-8 text";
    return false;
  }
  if (bytes.find('\0') != std::string_view::npos) {
    error = L"the line holds a NUL character";
    return false;
  }
  return ParseScriptLine(standin::FromUtf8(bytes), event, error);
}

bool IsSnapshotLine(std::wstring_view line, std::wstring& path) {
  path.clear();
  if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  if (line.size() < 2 || line.front() != L'<' || line.back() != L'>') return false;
  std::wstring_view inner = line.substr(1, line.size() - 2);
  inner.remove_prefix(std::min(inner.size(), inner.find_first_not_of(L" \t")));
  if (inner.size() < 8 || Upper(inner.substr(0, 8)) != L"SNAPSHOT") return false;
  inner.remove_prefix(8);
  if (!inner.empty() && inner.front() != L' ' && inner.front() != L'\t') return false;
  // The name is the rest of the directive, spaces inside it kept.
  inner.remove_prefix(std::min(inner.size(), inner.find_first_not_of(L" \t")));
  while (!inner.empty() && (inner.back() == L' ' || inner.back() == L'\t')) inner.remove_suffix(1);
  path = std::wstring(inner);
  return true;
}
