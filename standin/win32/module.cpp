// Just enough of the Win32 module loader, behaving as Windows does, for loading modules by
// path and for a module to learn its own file name.
#include "standin/win32/module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <string>

#include "standin/win32/utf8.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

struct LoadedModule {
  void* handle;
  int count;
};

std::mutex g_loaderMutex;
std::map<HMODULE, LoadedModule> g_loaded;
// Verdicts of DLL entries reported while a LoadLibraryW is in progress.
std::map<HMODULE, BOOL> g_attachVerdicts;

struct ModuleInfo {
  HMODULE base = nullptr;
  std::string path;
  ElfW(Addr) bias = 0;
  std::string rawName;
};

// The handle of an object is the start of its lowest loadable segment, as dladdr reports.
HMODULE BaseOf(const dl_phdr_info& info) {
  ElfW(Addr) lowest = ~ElfW(Addr){0};
  for (int i = 0; i < info.dlpi_phnum; ++i)
    if (info.dlpi_phdr[i].p_type == PT_LOAD && info.dlpi_phdr[i].p_vaddr < lowest)
      lowest = info.dlpi_phdr[i].p_vaddr;
  if (lowest == ~ElfW(Addr){0}) return nullptr;
  const ElfW(Addr) page = static_cast<ElfW(Addr)>(sysconf(_SC_PAGESIZE));
  return reinterpret_cast<HMODULE>((info.dlpi_addr + lowest) & ~(page - 1));
}

std::string ProgramPath() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

template <class Match>
bool FindModule(Match match, ModuleInfo& out) {
  struct Search {
    Match* match;
    ModuleInfo* out;
    bool first = true;
    bool found = false;
  } search{&match, &out};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        ModuleInfo candidate;
        candidate.base = BaseOf(*info);
        candidate.bias = info->dlpi_addr;
        candidate.rawName = info->dlpi_name ? info->dlpi_name : "";
        candidate.path = (s->first || !info->dlpi_name || !*info->dlpi_name) ? ProgramPath()
                                                                              : info->dlpi_name;
        s->first = false;
        if (!candidate.base || !(*s->match)(candidate)) return 0;
        *s->out = candidate;
        s->found = true;
        return 1;
      },
      &search);
  if (search.found) {
    char real[PATH_MAX];
    if (realpath(out.path.c_str(), real)) out.path = real;
  }
  return search.found;
}

}  // namespace

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

namespace standin {
void ReportDllAttach(HMODULE hModule, BOOL bAccepted) {
  // Called from inside dlopen, while LoadLibraryW holds the loader lock on this thread.
  g_attachVerdicts[hModule] = bAccepted;
}
}  // namespace standin

HMODULE LoadLibraryW(LPCWSTR lpLibFileName) {
  if (!lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!*lpLibFileName) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const std::string path = standin::ToUtf8(lpLibFileName);
  if (access(path.c_str(), F_OK) != 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(g_loaderMutex);
  g_attachVerdicts.clear();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  link_map* map = nullptr;
  ModuleInfo info;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map->l_name ||
      !FindModule([map](const ModuleInfo& m) { return m.bias == map->l_addr && m.rawName == map->l_name; },
                  info)) {
    dlclose(handle);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const auto verdict = g_attachVerdicts.find(info.base);
  if (verdict != g_attachVerdicts.end() && !verdict->second) {
    g_attachVerdicts.clear();
    dlclose(handle);
    SetLastError(ERROR_DLL_INIT_FAILED);
    return nullptr;
  }
  g_attachVerdicts.clear();
  auto& entry = g_loaded[info.base];
  if (entry.count > 0) dlclose(handle);  // dlopen's own count already holds it once
  else entry.handle = handle;
  ++entry.count;
  SetLastError(ERROR_SUCCESS);
  return info.base;
}

BOOL FreeLibrary(HMODULE hLibModule) {
  std::lock_guard<std::mutex> lock(g_loaderMutex);
  const auto it = g_loaded.find(hLibModule);
  if (it == g_loaded.end()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if (--it->second.count == 0) {
    void* handle = it->second.handle;
    g_loaded.erase(it);
    dlclose(handle);
  }
  return TRUE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  void* handle = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_loaderMutex);
    const auto it = g_loaded.find(hModule);
    if (it != g_loaded.end()) handle = it->second.handle;
  }
  bool opened = false;
  if (!handle) {
    ModuleInfo info;
    if (!hModule || !FindModule([hModule](const ModuleInfo& m) { return m.base == hModule; }, info)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    handle = dlopen(info.path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    opened = handle != nullptr;
  }
  void* symbol = handle && lpProcName ? dlsym(handle, lpProcName) : nullptr;
  if (opened) dlclose(handle);
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  ModuleInfo info;
  const bool found = hModule ? FindModule([hModule](const ModuleInfo& m) { return m.base == hModule; }, info)
                             : FindModule([first = true](const ModuleInfo&) mutable {
                                 const bool isFirst = first;
                                 first = false;
                                 return isFirst;
                               },
                                          info);
  if (!found) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::wstring name = standin::FromUtf8(info.path);
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (name.size() >= nSize) {
    name.copy(lpFilename, nSize - 1);
    lpFilename[nSize - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  name.copy(lpFilename, name.size());
  lpFilename[name.size()] = L'\0';
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(name.size());
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
  ModuleInfo info;
  if (!lpModuleName) {
    FindModule([first = true](const ModuleInfo&) mutable {
      const bool isFirst = first;
      first = false;
      return isFirst;
    },
               info);
    return info.base;
  }
  // Windows compares the base name, case-insensitively, ".dll" added when there is no extension.
  std::wstring wanted = lpModuleName;
  const size_t slash = wanted.find_last_of(L"\\/");
  if (slash != std::wstring::npos) wanted.erase(0, slash + 1);
  if (wanted.find(L'.') == std::wstring::npos) wanted += L".dll";
  auto lower = [](std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
  };
  wanted = lower(wanted);
  if (FindModule(
          [&](const ModuleInfo& m) {
            std::wstring name = standin::FromUtf8(m.path);
            const size_t cut = name.find_last_of(L'/');
            if (cut != std::wstring::npos) name.erase(0, cut + 1);
            return lower(name) == wanted;
          },
          info))
    return info.base;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

BOOL GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule) {
  if (!phModule) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *phModule = nullptr;
  // The stand-in takes no reference here, as if GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT were given.
  if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)) {
    *phModule = GetModuleHandleW(lpModuleName);
    return *phModule != nullptr;
  }
  Dl_info found;
  if (!dladdr(reinterpret_cast<const void*>(lpModuleName), &found) || !found.dli_fbase) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  *phModule = static_cast<HMODULE>(found.dli_fbase);
  return TRUE;
}
