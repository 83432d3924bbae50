// The host's "Command: " prompt, for tests and the host program: it runs the module's commands as
// a user types them.
#pragma once

#include <string>

namespace standin {

// Runs the named command as if typed; false (with the host's message) when unknown.
bool RunCommand(const std::wstring& name);
// Shows "Command: ", takes one input and acts on it: a command name runs the command, Enter
// repeats the last one, Esc cancels, a click or window selects (the pickfirst set). False when
// the input has ended.
bool RunCommandPrompt();
// Runs command prompts until the input ends.
void RunCommandLoop();

}  // namespace standin
