// Layer 5 of the stand-in host, on top of the others: the host's applications (loading,
// unloading, locking), its command stack and the "Command: " prompt that runs the commands.
//
// Control of the applications, for tests and the host program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct resbuf;

namespace standin {

// The API version this host gives its modules; loading refuses a module built for another.
constexpr int kHostApiVersion = 18;

// The full paths of the loaded modules, in load order.
std::vector<std::wstring> LoadedModules();

// Whether the command stack holds a group of that name (an emptied group stays until removed).
bool HasCommandGroup(const wchar_t* groupName);
// Removes, with a note on standard error, every command whose function lies in module.
void RemoveCommandsOf(HMODULE module);

// A function another application registered for acedInvoke: it gets the arguments after the
// name and returns RTNORM with its result (a chain from the host's allocator, or null) or an
// error code. Names are matched ignoring case; a session reset forgets every function.
using ExternalFunction = std::function<int(const resbuf* args, resbuf** result)>;
void RegisterExternalFunction(const std::wstring& name, ExternalFunction function);

}  // namespace standin
