// The module's side of text translation: its key with the family's language switch, its
// resources made current while a text is looked up, and Translate itself.
#pragma once

#include "platform/Siblings.h"
#include "platform/Win32.h"

// The key the language switch knows this module by: its file name without folder and
// extension, upper-cased, one trailing digit dropped ("TovuPlatform.arx" -> "TOVUPLATFORM",
// "NAME18.arx" -> "NAME1"). Either "\" or "/" separates folders. Stores the module's
// dictionary as a side effect. Empty when there is no language switch or the name has no
// usable form.
CString GetModuleKey();

// The module's dictionary once found (null until then).
ZoDtDictionary* GetModuleDictionary();

// The text to display for a source-language text: the very pointer passed in when there is no
// language switch. Use the result at once; its lifetime is the language switch's.
const wchar_t* Translate(const wchar_t* pszText);

// Makes the module's resources and dictionary current for one scope.
class ZoUtPushResource {
 public:
  explicit ZoUtPushResource(HINSTANCE hInstance);
  virtual ~ZoUtPushResource();
  ZoUtPushResource(const ZoUtPushResource&) = delete;
  ZoUtPushResource& operator=(const ZoUtPushResource&) = delete;

 private:
  HINSTANCE m_hOldResource;
  ZoDtDictionary* m_pOldModuleLang;
};
