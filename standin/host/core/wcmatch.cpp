// Just enough of the host's wild-card matching, behaving as the host's does, for filters and
// for the module's pattern matches of result buffers.
#include <acutads.h>
#include <adscodes.h>

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <utility>
#include <vector>

namespace {

enum class TokenKind { Literal, Any, Digit, Letter, Other, Star, Set };

struct Token {
  explicit Token(TokenKind k = TokenKind::Literal, wchar_t c = 0) : kind(k), ch(c) {}
  TokenKind kind;
  wchar_t ch;                                       // Literal
  bool negated = false;                             // Set
  std::vector<std::pair<wchar_t, wchar_t>> ranges;  // Set: inclusive ranges
};

struct Alternative {
  bool negated = false;
  std::vector<Token> tokens;
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
// Characters beyond ASCII (Chinese names included) count as letters; the host's own rule for
// them is unknown.
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c > 0x7F; }

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

// Reads one set member at i (a reverse quote takes the next character literally).
wchar_t SetChar(std::wstring_view p, size_t& i) {
  if (p[i] == L'`' && i + 1 < p.size()) {
    i += 2;
    return p[i - 1];
  }
  return p[i++];
}

// Parses the set that opens at p[i] == '['. False when no ']' closes it; the '[' then stands
// for itself. The first ']' closes the set, so "[]" matches nothing and "[~]" any character;
// a comma inside brackets is a member, not a separator.
bool ParseSet(std::wstring_view p, size_t& i, Token& set) {
  size_t j = i + 1;
  set = Token(TokenKind::Set);
  if (j < p.size() && p[j] == L'~') {
    set.negated = true;
    ++j;
  }
  while (j < p.size() && p[j] != L']') {
    const wchar_t lo = SetChar(p, j);
    if (j + 1 < p.size() && p[j] == L'-' && p[j + 1] != L']') {
      ++j;
      const wchar_t hi = SetChar(p, j);
      set.ranges.emplace_back(lo, hi);
    } else {
      set.ranges.emplace_back(lo, lo);
    }
  }
  if (j >= p.size()) return false;
  i = j + 1;
  return true;
}

std::vector<Alternative> Parse(std::wstring_view p) {
  std::vector<Alternative> alternatives(1);
  size_t i = 0;
  auto startAlternative = [&] {
    if (i < p.size() && p[i] == L'~') {
      alternatives.back().negated = true;
      ++i;
    }
  };
  startAlternative();
  while (i < p.size()) {
    std::vector<Token>& tokens = alternatives.back().tokens;
    const wchar_t c = p[i];
    switch (c) {
      case L',':
        ++i;
        alternatives.emplace_back();
        startAlternative();
        break;
      case L'`':
        // A reverse quote at the very end has nothing to escape and stands for itself.
        tokens.emplace_back(TokenKind::Literal, i + 1 < p.size() ? p[i + 1] : c);
        i += i + 1 < p.size() ? 2 : 1;
        break;
      case L'#':
        tokens.emplace_back(TokenKind::Digit), ++i;
        break;
      case L'@':
        tokens.emplace_back(TokenKind::Letter), ++i;
        break;
      case L'.':
        tokens.emplace_back(TokenKind::Other), ++i;
        break;
      case L'?':
        tokens.emplace_back(TokenKind::Any), ++i;
        break;
      case L'*':
        if (tokens.empty() || tokens.back().kind != TokenKind::Star) tokens.emplace_back(TokenKind::Star);
        ++i;
        break;
      case L'[': {
        Token set;
        if (ParseSet(p, i, set)) {
          tokens.push_back(std::move(set));
        } else {
          tokens.emplace_back(TokenKind::Literal, c);
          ++i;
        }
        break;
      }
      default:
        tokens.emplace_back(TokenKind::Literal, c), ++i;
        break;
    }
  }
  return alternatives;
}

bool InRange(wchar_t c, const std::pair<wchar_t, wchar_t>& r, bool ignoreCase) {
  if (c >= r.first && c <= r.second) return true;
  if (!ignoreCase) return false;
  const auto upper = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  const auto lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return (upper >= r.first && upper <= r.second) || (lower >= r.first && lower <= r.second);
}

bool MatchesOne(const Token& t, wchar_t c, bool ignoreCase) {
  switch (t.kind) {
    case TokenKind::Literal:
      return ignoreCase ? Fold(t.ch) == Fold(c) : t.ch == c;
    case TokenKind::Any:
      return true;
    case TokenKind::Digit:
      return IsDigit(c);
    case TokenKind::Letter:
      return IsLetter(c);
    case TokenKind::Other:
      return !IsDigit(c) && !IsLetter(c);
    case TokenKind::Set: {
      bool found = false;
      for (const auto& r : t.ranges) found = found || InRange(c, r, ignoreCase);
      return found != t.negated;
    }
    case TokenKind::Star:
      break;
  }
  return false;
}

// Dynamic programming over (tokens matched, characters consumed): linear in the pattern times
// the text, however many stars the pattern holds.
bool MatchTokens(const std::vector<Token>& tokens, std::wstring_view s, bool ignoreCase) {
  std::vector<char> row(s.size() + 1, 0), next(s.size() + 1, 0);
  row[0] = 1;
  for (const Token& t : tokens) {
    std::fill(next.begin(), next.end(), 0);
    if (t.kind == TokenKind::Star) {
      char reached = 0;
      for (size_t j = 0; j <= s.size(); ++j) next[j] = reached = static_cast<char>(reached | row[j]);
    } else {
      for (size_t j = 0; j < s.size(); ++j)
        if (row[j] && MatchesOne(t, s[j], ignoreCase)) next[j + 1] = 1;
    }
    row.swap(next);
  }
  return row[s.size()] != 0;
}

}  // namespace

int acutWcMatchEx(const ACHAR* string, const ACHAR* pattern, bool ignoreCase) {
  if (!string || !pattern) return RTERROR;
  const std::wstring_view s(string);
  for (const Alternative& a : Parse(pattern))
    if (MatchTokens(a.tokens, s, ignoreCase) != a.negated) return RTNORM;
  return RTERROR;
}

int acutWcMatch(const ACHAR* string, const ACHAR* pattern) { return acutWcMatchEx(string, pattern, false); }
