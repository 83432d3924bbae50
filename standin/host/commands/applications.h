// Layer 5 of the stand-in host, on top of the others: the host's applications (loading,
// unloading, locking), its command stack and the "Command: " prompt that runs the commands.
//
// Control of the applications, for tests and the host program.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace standin {

// The API version this host gives its modules; loading refuses a module built for another.
constexpr int kHostApiVersion = 18;

// The full paths of the loaded modules, in load order.
std::vector<std::wstring> LoadedModules();

// Whether the command stack holds a group of that name (an emptied group stays until removed).
bool HasCommandGroup(const wchar_t* groupName);
// Removes, with a note on standard error, every command whose function lies in module.
void RemoveCommandsOf(HMODULE module);

}  // namespace standin
