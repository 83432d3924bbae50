// The host program's script lines: each line of a script (or of standard input) is one event of
// the scripted user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "standin/host/core/session.h"

// Parses one line of a host script into an input event. Returns false with a message in
// error for a malformed line; a comment line gives true and no event.
//   text            typed text (a line starting "<<" types it with one "<" removed)
//   (empty line)    Enter
//   ; comment
//   <enter> <esc> <point x,y[,z]> <pick HANDLE [x,y[,z]]> <window x,y x,y> <crossing x,y x,y>
//   <cursor x,y[,z] [px,py]>
// Points are absolute coordinates as the command line reads them ("x,y[,z]" or "dist<angle").
bool ParseScriptLine(std::wstring_view line, std::optional<standin::InputEvent>& event, std::wstring& error);

// One line as a script file or standard input gives it (bytes, without the line feed): refused
// when it is not UTF-8 text or holds a NUL character, else parsed by ParseScriptLine.
bool ParseScriptBytes(std::string_view bytes, std::optional<standin::InputEvent>& event, std::wstring& error);

// Whether the line is a "<snapshot FILE.png>" directive, which the host program carries out
// itself; path is what it names (empty when it names nothing, which is an error).
bool IsSnapshotLine(std::wstring_view line, std::wstring& path);
