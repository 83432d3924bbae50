// Just enough of the host's run-time dictionaries and its system registry, behaving as the host's
// do, for a module to reach the host's services by name.
#pragma once

#include <rxobject.h>

#include <map>
#include <memory>
#include <string>

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

class AcRxDictionary : public AcRxObject {
 public:
  // The entry of that key, or NULL.
  AcRxObject* at(const ACHAR* key) const;
  // Takes ownership; returns the entry it replaced (now the caller's), or NULL.
  AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject);

 private:
  std::map<std::wstring, std::unique_ptr<AcRxObject>> m_entries;
};

AcRxDictionary* acrxSysRegistry();
