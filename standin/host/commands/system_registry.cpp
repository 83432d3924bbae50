// Just enough of the host's system registry, behaving as the host's does: a dictionary of named
// services, holding the dynamic linker and the command stack from the start.
#include <accmd.h>
#include <rxdict.h>
#include <rxdlinkr.h>

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
  if (!key) return nullptr;
  const auto it = m_entries.find(key);
  return it == m_entries.end() ? nullptr : it->second.get();
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* pObject) {
  if (!key) return nullptr;
  auto& slot = m_entries[key];
  AcRxObject* previous = slot.release();
  slot.reset(pObject);
  return previous;
}

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary* registry = [] {
    auto* dict = new AcRxDictionary;  // lives as long as the process, as the host's does
    dict->atPut(ACRX_DYNAMIC_LINKER, new AcRxDynamicLinker);
    dict->atPut(ACRX_COMMAND_DOCK, new AcEdCommandStack);
    return dict;
  }();
  return registry;
}
