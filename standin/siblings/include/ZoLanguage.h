// Just enough of the database module's language switch, behaving as the family's does: each
// module's texts are looked up in a dictionary of its own, read from
// <language dir>/<MODULEKEY>.tsv, one "source<TAB>translation" pair a line.
#pragma once

#include <afxstr.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

class ZoDtDictionary {
 public:
  explicit ZoDtDictionary(const wchar_t* pszKey);
  virtual ~ZoDtDictionary();

  const CString& GetKey() const { return m_strKey; }
  int GetCount() const { return static_cast<int>(m_entries.size()); }
  // The translation of a source text, or null. The text lives as long as the dictionary.
  const wchar_t* Lookup(const wchar_t* pszSource) const;
  // False (and nothing changed) when the source text is there already.
  bool Add(const wchar_t* pszSource, const wchar_t* pszTranslation);

  // Reads a dictionary file. Lines: "source<TAB>translation" with \n, \t, \r and \\ escapes;
  // blank lines and lines starting with # are skipped. A malformed line (no tab, a bad
  // escape, not UTF-8, a source given twice) is reported on standard error with its line
  // number and skipped. Null when the file cannot be read or is not a dictionary at all.
  static std::unique_ptr<ZoDtDictionary> Load(const std::string& path, const wchar_t* pszKey);

 private:
  CString m_strKey;
  std::unordered_map<std::wstring, std::wstring> m_entries;
};

class TovuLanguageSwitch {
 public:
  // pszLanguageDir: the folder of one language's dictionaries.
  explicit TovuLanguageSwitch(const wchar_t* pszLanguageDir);
  virtual ~TovuLanguageSwitch();

  const CString& GetLanguageDir() const { return m_strDir; }
  // The dictionary of the module with that key, loaded on first use; null when the module
  // has none. A key is letters, digits, '_' and '-' only.
  virtual ZoDtDictionary* GetModuleDictionary(const wchar_t* pszModuleKey);
  // The display text for a source text: its translation in the current module's dictionary
  // (g_pCurModuleLang), else the source pointer itself.
  virtual const wchar_t* Translate(const wchar_t* pszSource);

 private:
  CString m_strDir;
  std::map<std::wstring, std::unique_ptr<ZoDtDictionary>> m_dictionaries;  // null: none
};

// The language switch of the session, or null when texts stay in the source language. Made
// at load time for the language named by TOVU_LANG, from the dictionaries under TOVU_LANG_DIR
// (default: share/TovuPlatform/lang beside the library folder).
extern TovuLanguageSwitch* g_pTovuLangSwitch;
// The dictionary of the module whose resources are current.
extern ZoDtDictionary* g_pCurModuleLang;
