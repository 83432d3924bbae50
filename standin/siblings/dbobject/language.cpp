// Just enough of the database module's language switch, behaving as the family's does, for
// modules to show their texts in the session's language.
#include <ZoLanguage.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "standin/win32/utf8.h"

ZoDtDictionary* g_pCurModuleLang = nullptr;

namespace {

constexpr std::streamoff kMaxDictionaryBytes = 16 << 20;

bool IsNameChar(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-';
}

bool IsName(const wchar_t* s, size_t maxLength) {
  if (!s || !*s) return false;
  size_t n = 0;
  for (; s[n]; ++n)
    if (n >= maxLength || !IsNameChar(s[n])) return false;
  return true;
}

bool Unescape(std::wstring_view in, std::wstring& out) {
  out.clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != L'\\') {
      out += in[i];
      continue;
    }
    if (++i == in.size()) return false;
    switch (in[i]) {
      case L'n':
        out += L'\n';
        break;
      case L't':
        out += L'\t';
        break;
      case L'r':
        out += L'\r';
        break;
      case L'\\':
        out += L'\\';
        break;
      default:
        return false;
    }
  }
  return true;
}

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// share/TovuPlatform/lang beside the folder that holds this library.
std::string DefaultLanguageRoot() {
  HMODULE self = nullptr;
  wchar_t file[4096];
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&DefaultLanguageRoot), &self))
    return std::string();
  const DWORD n = GetModuleFileNameW(self, file, 4096);
  if (n == 0 || n >= 4096) return std::string();
  std::string lib = standin::ToUtf8(std::wstring_view(file, n));
  const size_t cut = lib.find_last_of("\\/");
  lib = cut == std::string::npos ? std::string(".") : lib.substr(0, cut);
  return lib + "/../share/TovuPlatform/lang";
}

TovuLanguageSwitch* CreateSwitchFromEnvironment() {
  const char* code = std::getenv("TOVU_LANG");
  if (!code || !*code) return nullptr;
  const std::wstring wide = standin::FromUtf8(code);
  if (!IsName(wide.c_str(), 32)) {
    std::fprintf(stderr, "language switch: TOVU_LANG=\"%s\" is no language code; texts stay untranslated\n", code);
    return nullptr;
  }
  const char* root = std::getenv("TOVU_LANG_DIR");
  const std::string dir = ((root && *root) ? std::string(root) : DefaultLanguageRoot()) + "/" + code;
  if (!IsDirectory(dir)) {
    std::fprintf(stderr, "language switch: no dictionaries for \"%s\" (%s); texts stay untranslated\n", code,
                 dir.c_str());
    return nullptr;
  }
  return new TovuLanguageSwitch(standin::FromUtf8(dir).c_str());
}

// Owned here, so the switch goes when the library is unloaded with the last module using it.
std::unique_ptr<TovuLanguageSwitch> g_sessionSwitch(CreateSwitchFromEnvironment());

}  // namespace

TovuLanguageSwitch* g_pTovuLangSwitch = g_sessionSwitch.get();

ZoDtDictionary::ZoDtDictionary(const wchar_t* pszKey) : m_strKey(pszKey) {}
ZoDtDictionary::~ZoDtDictionary() = default;

const wchar_t* ZoDtDictionary::Lookup(const wchar_t* pszSource) const {
  if (!pszSource) return nullptr;
  const auto it = m_entries.find(pszSource);
  return it == m_entries.end() ? nullptr : it->second.c_str();
}

bool ZoDtDictionary::Add(const wchar_t* pszSource, const wchar_t* pszTranslation) {
  if (!pszSource || !pszTranslation) return false;
  return m_entries.emplace(pszSource, pszTranslation).second;
}

std::unique_ptr<ZoDtDictionary> ZoDtDictionary::Load(const std::string& path, const wchar_t* pszKey) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxDictionaryBytes) {
    std::fprintf(stderr, "%s: not read, larger than %lld bytes\n", path.c_str(),
                 static_cast<long long>(kMaxDictionaryBytes));
    return nullptr;
  }
  file.seekg(0);
  std::string bytes(static_cast<size_t>(size), '\0');
  file.read(bytes.data(), size);
  if (!file) return nullptr;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);

  auto dict = std::make_unique<ZoDtDictionary>(pszKey);
  std::istringstream lines(bytes);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const char* problem = nullptr;
    std::wstring source, translation;
    const size_t tab = line.find('\t');
    if (!standin::IsValidUtf8(line)) {
      problem = "not UTF-8";
    } else if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) {
      problem = "expected one tab between source and translation";
    } else if (!Unescape(standin::FromUtf8(line.substr(0, tab)), source) ||
               !Unescape(standin::FromUtf8(line.substr(tab + 1)), translation)) {
      problem = "bad escape (known: \\n \\t \\r \\\\)";
    } else if (source.empty()) {
      problem = "empty source text";
    } else if (!dict->Add(source.c_str(), translation.c_str())) {
      problem = "source text given twice; the first stands";
    }
    if (problem) std::fprintf(stderr, "%s:%d: %s; line skipped\n", path.c_str(), number, problem);
  }
  return dict;
}

TovuLanguageSwitch::TovuLanguageSwitch(const wchar_t* pszLanguageDir) : m_strDir(pszLanguageDir) {}
TovuLanguageSwitch::~TovuLanguageSwitch() = default;

ZoDtDictionary* TovuLanguageSwitch::GetModuleDictionary(const wchar_t* pszModuleKey) {
  if (!IsName(pszModuleKey, 64)) return nullptr;
  const auto found = m_dictionaries.find(pszModuleKey);
  if (found != m_dictionaries.end()) return found->second.get();
  const std::string path = standin::ToUtf8(m_strDir.GetString()) + "/" + standin::ToUtf8(pszModuleKey) + ".tsv";
  auto& slot = m_dictionaries[pszModuleKey];
  slot = ZoDtDictionary::Load(path, pszModuleKey);
  return slot.get();
}

const wchar_t* TovuLanguageSwitch::Translate(const wchar_t* pszSource) {
  const wchar_t* translation = g_pCurModuleLang ? g_pCurModuleLang->Lookup(pszSource) : nullptr;
  return translation ? translation : pszSource;
}
