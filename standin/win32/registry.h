// Control of the registry stand-in, for tests and the host program. The tree is kept in a file in
// the registry editor's export format ("Windows Registry Editor Version 5.00"), so a person can
// read it, edit it and import it into a real registry. The file is TOVU_REGISTRY, else
// $XDG_CONFIG_HOME/tovu/registry.reg, else ~/.config/tovu/registry.reg. It is read at the first
// registry call and written whole and atomically (temporary file, flush, rename) when a handle
// that wrote is closed, when a key is flushed and at process exit: in UTF-8, or in UTF-16LE when a
// name holds a lone surrogate, through a symbolic link to its target, keeping the file's mode.
#pragma once

#include <winreg.h>

#include <string>

namespace standin {

// The file in use: the one named by the environment, or the one beside it that takes the
// changes when that one could not be read.
std::wstring RegistryFilePath();
// Writes the file now when anything changed (what process exit does). False when it could
// not be written; the reason is on standard error.
bool SaveRegistry();
// Forgets the tree without saving and invalidates every open handle, as if the process had
// ended without saving; the next call reads the file named by the environment afresh.
void ResetRegistry();

}  // namespace standin
