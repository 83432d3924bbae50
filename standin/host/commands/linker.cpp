// Just enough of the host's dynamic linker and application services, behaving as the host's do,
// for modules to be loaded, unlock themselves, be listed and be unloaded.
#include <acarray.h>
#include <accmd.h>
#include <acutads.h>
#include <windows.h>
#include <rxdlinkr.h>
#include <rxregsvc.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "standin/host/commands/applications.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/win32/utf8.h"

namespace {

using standin::SameName;

std::wstring BaseName(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring FullPath(const ACHAR* fileName) {
#if defined(_WIN32)
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(fileName, error);
  return error ? std::wstring(fileName) : real.wstring();
#else
  char real[PATH_MAX];
  const std::string narrow = standin::ToUtf8(fileName);
  return realpath(narrow.c_str(), real) ? standin::FromUtf8(real) : std::wstring(fileName);
#endif
}

struct Application {
  std::wstring path;
  HMODULE module = nullptr;
  AcRxEntryPointFn entry = nullptr;
  bool locked = true;  // applications are locked until they unlock themselves
  bool mdiAware = false;
};

// The host has one dynamic linker; its applications in load order.
std::vector<std::unique_ptr<Application>>& Apps() {
  static auto* apps = new std::vector<std::unique_ptr<Application>>;  // never destroyed, as the host's
  return *apps;
}

Application* FindById(const void* appId) {
  for (const auto& app : Apps())
    if (app.get() == appId) return app.get();
  return nullptr;
}

Application* FindByName(const ACHAR* appName) {
  for (const auto& app : Apps())
    if (appName && SameName(BaseName(app->path), BaseName(appName))) return app.get();
  return nullptr;
}

}  // namespace

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
  for (const auto& app : Apps())
    if (app->path == path) return fail(L"the application is loaded already");

  const HMODULE module = LoadLibraryW(path.c_str());
  if (!module) {
    const DWORD error = GetLastError();
    return fail(error == ERROR_MOD_NOT_FOUND     ? L"no such file"
                : error == ERROR_DLL_INIT_FAILED ? L"its DLL entry refused to start"
                                                 : L"not a loadable module");
  }
  const auto version =
      reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "acrxGetApiVersion")));
  const auto entry =
      reinterpret_cast<AcRxEntryPointFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "acrxEntryPoint")));
  if (!version || !entry || version() != standin::kHostApiVersion) {
    FreeLibrary(module);
    return fail(!version || !entry ? L"not an application module of this host"
                                   : L"built for another release of the host");
  }
  auto app = std::make_unique<Application>();
  app->path = path;
  app->module = module;
  app->entry = entry;
  Application* appId = app.get();
  Apps().push_back(std::move(app));
  if (entry(AcRx::kInitAppMsg, appId) != AcRx::kRetOK) {
    Apps().pop_back();
    FreeLibrary(module);
    return fail(L"the application refused to initialise");
  }
  standin::Session::Get().Record(standin::JournalKind::ModuleLoaded, BaseName(path));
  return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool asCmd) {
  if (!fileName) return false;
  const std::wstring wanted = fileName;
  for (auto it = Apps().begin(); it != Apps().end(); ++it) {
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
    standin::RemoveCommandsOf(app.module);
    const std::wstring name = BaseName(app.path);
    FreeLibrary(app.module);
    Apps().erase(it);
    standin::Session::Get().Record(standin::JournalKind::ModuleUnloaded, name);
    return true;
  }
  if (asCmd) acutPrintf(L"\n%s is not loaded.", fileName);
  return false;
}

Acad::ErrorStatus AcRxDynamicLinker::registerAppMDIAware(void* pkt) const {
  Application* app = FindById(pkt);
  if (!app) return Acad::eInvalidInput;
  app->mdiAware = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcRxDynamicLinker::registerAppNotMDIAware(void* pkt) const {
  Application* app = FindById(pkt);
  if (!app) return Acad::eInvalidInput;
  app->mdiAware = false;
  return Acad::eOk;
}

bool AcRxDynamicLinker::isAppMDIAware(const ACHAR* appName) const {
  const Application* app = FindByName(appName);
  return app && app->mdiAware;
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* appName) const {
  const Application* app = FindByName(appName);
  return app && app->locked;
}

void AcRxDynamicLinker::sendToAll(AcRx::AppMsgCode msg, void* /*data*/) {
  for (const auto& app : Apps()) app->entry(msg, app.get());
}

bool acrxUnlockApplication(void* appId) {
  Application* app = FindById(appId);
  if (app) app->locked = false;
  return app != nullptr;
}

bool acrxLockApplication(void* appId) {
  Application* app = FindById(appId);
  if (app) app->locked = true;
  return app != nullptr;
}

bool acrxApplicationIsLocked(const ACHAR* modulename) {
  const Application* app = FindByName(modulename);
  return app && app->locked;
}

void* acrxLoadedApps() {
  const std::vector<std::wstring> paths = standin::LoadedModules();
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

namespace standin {

std::vector<std::wstring> LoadedModules() {
  std::vector<std::wstring> paths;
  for (const auto& app : Apps()) paths.push_back(app->path);
  return paths;
}

}  // namespace standin
