// Just enough of the host's command stack, behaving as the host's does, for modules to define
// their commands in groups, for the command line to look them up and for unloading to take the
// commands of a module away.
#include <accmd.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "standin/host/commands/applications.h"
#include "standin/host/core/text.h"
#include "standin/win32/utf8.h"

namespace {

struct Group {
  std::wstring name;
  std::vector<std::unique_ptr<AcEdCommand>> commands;
};

// The host has one command stack; its groups in order of creation.
std::vector<Group>& Groups() {
  static auto* groups = new std::vector<Group>;  // never destroyed: modules may unload at exit
  return *groups;
}

Group* FindGroup(const ACHAR* name) {
  if (!name) return nullptr;
  for (Group& g : Groups())
    if (standin::SameName(g.name, name)) return &g;
  return nullptr;
}

}  // namespace

AcEdCommand::AcEdCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName, Adesk::Int32 flags,
                         AcRxFunctionPtr function)
    : m_group(group), m_globalName(globalName), m_localName(localName), m_flags(flags), m_function(function) {}

AcEdCommandStack* AcEdCommandStack::cast(const AcRxObject* inPtr) {
  return dynamic_cast<AcEdCommandStack*>(const_cast<AcRxObject*>(inPtr));
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr FunctionAddr) {
  if (!cmdGroupName || !*cmdGroupName || !cmdGlobalName || !*cmdGlobalName || !FunctionAddr) return Acad::eInvalidInput;
  if (!cmdLocalName || !*cmdLocalName) cmdLocalName = cmdGlobalName;
  Group* group = FindGroup(cmdGroupName);
  if (!group) {
    Groups().push_back(Group{cmdGroupName, {}});
    group = &Groups().back();
  }
  for (const auto& c : group->commands)
    if (standin::SameName(c->globalName(), cmdGlobalName) || standin::SameName(c->localName(), cmdLocalName))
      return Acad::eDuplicateKey;
  group->commands.push_back(
      std::make_unique<AcEdCommand>(group->name.c_str(), cmdGlobalName, cmdLocalName, commandFlags, FunctionAddr));
  return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* cmdName, bool globalFlag, bool, bool) const {
  if (!cmdName) return nullptr;
  for (auto g = Groups().rbegin(); g != Groups().rend(); ++g)
    for (const auto& c : g->commands)
      if (standin::SameName(globalFlag ? c->globalName() : c->localName(), cmdName)) return c.get();
  return nullptr;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) {
  Group* group = FindGroup(cmdGroupName);
  if (!group || !cmdGlobalName) return Acad::eKeyNotFound;
  for (auto it = group->commands.begin(); it != group->commands.end(); ++it) {
    if (standin::SameName((*it)->globalName(), cmdGlobalName)) {
      group->commands.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
  for (auto it = Groups().begin(); it != Groups().end(); ++it) {
    if (groupName && standin::SameName(it->name, groupName)) {
      Groups().erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

namespace standin {

bool HasCommandGroup(const wchar_t* groupName) { return FindGroup(groupName) != nullptr; }

void RemoveCommandsOf(HMODULE module) {
  for (Group& g : Groups()) {
    for (auto it = g.commands.begin(); it != g.commands.end();) {
      HMODULE owner = nullptr;
      if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>((*it)->functionAddr()), &owner) &&
          owner == module) {
        std::fprintf(stderr, "host: %s left the command %s defined at unload; removed\n", ToUtf8(g.name).c_str(),
                     ToUtf8((*it)->globalName()).c_str());
        it = g.commands.erase(it);
      } else {
        ++it;
      }
    }
  }
}

}  // namespace standin
