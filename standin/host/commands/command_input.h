// The values a module hands the host's commands with acedCommand, each answering the prompt that
// is showing as a user typing it would; the pause "\\" lets the user answer that prompt. With
// CMDECHO 0 the prompts answered by values and the values are not shown; a paused prompt is
// (the user must see what is asked).
#pragma once

#include <adsdef.h>

#include <string>
#include <vector>

namespace standin {

struct CommandValue {
  int type = 0;  // the result type code it was given with
  std::wstring text;
  double point[3] = {0, 0, 0};
  double real = 0;
  long integer = 0;
  ads_name name = {0, 0};

  bool IsPause() const;
  bool IsEnter() const;  // "" answers with Enter
  // As the command line shows it: numbers and points as typed, Enter as "".
  std::wstring Text() const;
};

class CommandInput {
 public:
  explicit CommandInput(std::vector<CommandValue> values);

  bool Done() const { return m_next >= m_values.size(); }
  const CommandValue& Next() { return m_values[m_next++]; }
  // Shows text when the prompts are echoed.
  void Echo(const std::wstring& text) const;
  // The prompt an input call at a pause shows: none when Echo showed it already.
  const wchar_t* PausePrompt(const wchar_t* prompt) const { return m_echo ? L"" : prompt; }
  // The host's "*Cancel*" when the values run out before the command ends; RTCAN.
  int RunOut() const;

  // Shows prompt and matches the next value against the keywords ("" takes the default); an
  // invalid answer gets the host's message and the prompt again. False (cancelled) when the
  // values run out or the user, at a pause, cancels. With numbers, a whole number answers too.
  bool Choose(const wchar_t* prompt, const wchar_t* keywords, const wchar_t* byDefault, std::wstring& chosen,
              bool numbers = false);

 private:
  std::vector<CommandValue> m_values;
  size_t m_next = 0;
  bool m_echo;
};

// A command of the host: the values answer its prompts. RTNORM when it ran, RTCAN when it was
// cancelled, RTERROR when it failed.
using HostCommand = int (*)(CommandInput& input);
// Null for a name the host has no command of (the name in capitals, without "_" and ".").
HostCommand FindHostCommand(const std::wstring& name);

// The commands, each defined in the file of its area.
int UndoCommand(CommandInput& input);
int MoveCommand(CommandInput& input);
int RotateCommand(CommandInput& input);
int MirrorCommand(CommandInput& input);

}  // namespace standin
