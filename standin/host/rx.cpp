// Just enough of the host's runtime-extension layer, behaving as the host does, for modules
// to be loaded, define commands and be unloaded: the system registry, the dynamic linker with
// its application records and the command stack.
#include "standin/host/rx.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cwctype>

#include "standin/host/acarray.h"
#include "standin/host/acutads.h"
#include "standin/host/adsdef.h"
#include "standin/host/session.h"
#include "standin/win32/module.h"
#include "standin/win32/utf8.h"

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
  return true;
}

std::wstring BaseName(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring FullPath(const ACHAR* fileName) {
  char real[PATH_MAX];
  const std::string narrow = standin::ToUtf8(fileName);
  return realpath(narrow.c_str(), real) ? standin::FromUtf8(real) : std::wstring(fileName);
}

}  // namespace

struct AcRxDynamicLinker::Application {
  std::wstring path;
  HMODULE module = nullptr;
  AcRxEntryPointFn entry = nullptr;
  bool locked = true;  // applications are locked until they unlock themselves
  bool mdiAware = false;
};

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass* cls = new AcRxClass(L"AcRxObject", nullptr, nullptr);  // lives as long as the process
  return cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

bool AcRxObject::isKindOf(const AcRxClass* aClass) const { return aClass && isA()->isDerivedFrom(aClass); }

AcRxClass* AcRxClass::isA() const {
  static AcRxClass* cls = new AcRxClass(L"AcRxClass", nullptr, AcRxObject::desc());
  return cls;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c; c = c->m_parent)
    if (c == other) return true;
  return false;
}

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

AcRxDynamicLinker* AcRxDynamicLinker::cast(const AcRxObject* inPtr) {
  return dynamic_cast<AcRxDynamicLinker*>(const_cast<AcRxObject*>(inPtr));
}

bool AcRxDynamicLinker::loadModule(const ACHAR* fileName, bool printit, bool /*asCmd*/) {
  if (!fileName || !*fileName) return false;
  const std::wstring path = FullPath(fileName);
  auto fail = [&](const wchar_t* why) {
    if (printit) acutPrintf(L"\nAcRxDynamicLinker failed to load '%s': %s", path.c_str(), why);
    return false;
  };
  for (const auto& app : m_apps)
    if (app->path == path) return fail(L"the application is loaded already");

  const HMODULE module = LoadLibraryW(path.c_str());
  if (!module) {
    const DWORD error = GetLastError();
    return fail(error == ERROR_MOD_NOT_FOUND      ? L"no such file"
                : error == ERROR_DLL_INIT_FAILED ? L"its DLL entry refused to start"
                                                 : L"not a loadable module");
  }
  const auto version = reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "acrxGetApiVersion")));
  const auto entry = reinterpret_cast<AcRxEntryPointFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "acrxEntryPoint")));
  if (!version || !entry || version() != TOVU_HOST_API_VERSION) {
    FreeLibrary(module);
    return fail(!version || !entry ? L"not an application module of this host"
                                   : L"built for another release of the host");
  }
  auto app = std::make_unique<Application>();
  app->path = path;
  app->module = module;
  app->entry = entry;
  Application* appId = app.get();
  m_apps.push_back(std::move(app));
  if (entry(AcRx::kInitAppMsg, appId) != AcRx::kRetOK) {
    m_apps.pop_back();
    FreeLibrary(module);
    return fail(L"the application refused to initialise");
  }
  standin::Session::Get().Record(standin::JournalKind::ModuleLoaded, BaseName(path));
  return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool asCmd) {
  if (!fileName) return false;
  const std::wstring wanted = fileName;
  for (auto it = m_apps.begin(); it != m_apps.end(); ++it) {
    Application& app = **it;
    if (app.path != wanted && !SameName(BaseName(app.path), BaseName(wanted))) continue;
    if (app.locked) {
      if (asCmd) acutPrintf(L"\n%s is locked and cannot be unloaded.", BaseName(app.path).c_str());
      return false;
    }
    if (app.entry(AcRx::kUnloadAppMsg, &app) != AcRx::kRetOK) {
      if (asCmd) acutPrintf(L"\n%s refused to unload.", BaseName(app.path).c_str());
      return false;
    }
    // Commands left behind would point into unmapped code: take them away and say so.
    if (AcEdCommandStack* stack = acedRegCmds) stack->removeCommandsOf(app.module);
    const std::wstring name = BaseName(app.path);
    FreeLibrary(app.module);
    m_apps.erase(it);
    standin::Session::Get().Record(standin::JournalKind::ModuleUnloaded, name);
    return true;
  }
  if (asCmd) acutPrintf(L"\n%s is not loaded.", fileName);
  return false;
}

Acad::ErrorStatus AcRxDynamicLinker::registerAppMDIAware(void* pkt) const {
  for (const auto& app : m_apps)
    if (app.get() == pkt) return app->mdiAware = true, Acad::eOk;
  return Acad::eInvalidInput;
}

Acad::ErrorStatus AcRxDynamicLinker::registerAppNotMDIAware(void* pkt) const {
  for (const auto& app : m_apps)
    if (app.get() == pkt) return app->mdiAware = false, Acad::eOk;
  return Acad::eInvalidInput;
}

bool AcRxDynamicLinker::isAppMDIAware(const ACHAR* appName) const {
  for (const auto& app : m_apps)
    if (appName && SameName(BaseName(app->path), BaseName(appName))) return app->mdiAware;
  return false;
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* appName) const {
  for (const auto& app : m_apps)
    if (appName && SameName(BaseName(app->path), BaseName(appName))) return app->locked;
  return false;
}

bool AcRxDynamicLinker::setLocked(void* appId, bool locked) {
  for (const auto& app : m_apps)
    if (app.get() == appId) return app->locked = locked, true;
  return false;
}

void AcRxDynamicLinker::sendToAll(AcRx::AppMsgCode msg, void* data) {
  (void)data;
  for (const auto& app : m_apps) app->entry(msg, app.get());
}

std::vector<std::wstring> AcRxDynamicLinker::loadedModules() const {
  std::vector<std::wstring> names;
  for (const auto& app : m_apps) names.push_back(app->path);
  return names;
}

bool acrxUnlockApplication(void* appId) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  return linker && linker->setLocked(appId, false);
}

bool acrxLockApplication(void* appId) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  return linker && linker->setLocked(appId, true);
}

bool acrxApplicationIsLocked(const ACHAR* modulename) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  return linker && linker->isApplicationLocked(modulename);
}

void* acrxLoadedApps() {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  const std::vector<std::wstring> paths = linker ? linker->loadedModules() : std::vector<std::wstring>();
  if (paths.empty()) return nullptr;
  auto* apps = new AcDbVoidPtrArray(static_cast<int>(paths.size()));
  for (const std::wstring& path : paths) {
    ACHAR* text = nullptr;
    acutNewString(path.c_str(), text);
    apps->append(text);
  }
  return apps;
}

// The registry path of the host product: a Chinese-language release of the host.
const ACHAR* acrxProductKey() { return L"Software\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804"; }

AcEdCommand::AcEdCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName,
                         Adesk::Int32 flags, AcRxFunctionPtr function)
    : m_group(group), m_globalName(globalName), m_localName(localName), m_flags(flags), m_function(function) {}

AcEdCommandStack* AcEdCommandStack::cast(const AcRxObject* inPtr) {
  return dynamic_cast<AcEdCommandStack*>(const_cast<AcRxObject*>(inPtr));
}

AcEdCommandStack::Group* AcEdCommandStack::findGroup(const ACHAR* name) {
  for (auto& g : m_groups)
    if (SameName(g.name, name)) return &g;
  return nullptr;
}

bool AcEdCommandStack::hasGroup(const ACHAR* groupName) const {
  return groupName && const_cast<AcEdCommandStack*>(this)->findGroup(groupName) != nullptr;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr FunctionAddr) {
  if (!cmdGroupName || !*cmdGroupName || !cmdGlobalName || !*cmdGlobalName || !FunctionAddr)
    return Acad::eInvalidInput;
  if (!cmdLocalName || !*cmdLocalName) cmdLocalName = cmdGlobalName;
  Group* group = findGroup(cmdGroupName);
  if (!group) {
    m_groups.push_back(Group{cmdGroupName, {}});
    group = &m_groups.back();
  }
  for (const auto& c : group->commands)
    if (SameName(c->globalName(), cmdGlobalName) || SameName(c->localName(), cmdLocalName))
      return Acad::eDuplicateKey;
  group->commands.push_back(
      std::make_unique<AcEdCommand>(group->name.c_str(), cmdGlobalName, cmdLocalName, commandFlags, FunctionAddr));
  return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* cmdName, bool globalFlag, bool, bool) const {
  if (!cmdName) return nullptr;
  for (auto g = m_groups.rbegin(); g != m_groups.rend(); ++g)
    for (const auto& c : g->commands)
      if (SameName(globalFlag ? c->globalName() : c->localName(), cmdName)) return c.get();
  return nullptr;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) {
  Group* group = cmdGroupName ? findGroup(cmdGroupName) : nullptr;
  if (!group || !cmdGlobalName) return Acad::eKeyNotFound;
  for (auto it = group->commands.begin(); it != group->commands.end(); ++it) {
    if (SameName((*it)->globalName(), cmdGlobalName)) {
      group->commands.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
  for (auto it = m_groups.begin(); it != m_groups.end(); ++it) {
    if (groupName && SameName(it->name, groupName)) {
      m_groups.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

void AcEdCommandStack::removeCommandsOf(HMODULE module) {
  for (auto& g : m_groups) {
    for (auto it = g.commands.begin(); it != g.commands.end();) {
      Dl_info info;
      if (dladdr(reinterpret_cast<void*>((*it)->functionAddr()), &info) && info.dli_fbase == module) {
        std::fprintf(stderr, "host: %s left the command %s defined at unload; removed\n",
                     standin::ToUtf8(g.name).c_str(), standin::ToUtf8((*it)->globalName()).c_str());
        it = g.commands.erase(it);
      } else {
        ++it;
      }
    }
  }
}
