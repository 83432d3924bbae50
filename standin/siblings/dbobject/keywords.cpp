// The keyword state shared by the family's input functions, and the capture of keywords typed
// during a pick: a filter of the host's window messages, registered when the module loads.
#include <ZoKeywords.h>
#include <aced.h>

#include <string>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/interaction/input.h"

CString g_strInitKewords;
int g_nInitContral = -1;
CString g_strSelKewWord;
int g_IsInputSelectKeyWord = 0;
bool g_bEnableSelectKey = false;
bool g_bEnableHotKey = false;

namespace {

// While g_bEnableSelectKey is on, a typed line that is an armed keyword ends the pick waiting for
// it: the keyword lands in g_strSelKewWord and the pick is cancelled with Esc, as the family does.
bool CaptureSelectKeyword(MSG* msg) {
  static std::wstring typed;  // the line so far; the host's input runs on one thread
  if (!g_bEnableSelectKey || !msg || msg->message != WM_CHAR) {
    typed.clear();
    return false;
  }
  if (msg->wParam != L'\r') {
    typed += static_cast<wchar_t>(msg->wParam);
    return false;
  }
  standin::InputOptions armed;
  armed.keywords = standin::ParseKeywordList(g_strInitKewords.GetString());
  std::wstring keyword;  // matched as the host matches keywords; the global one is kept
  const std::wstring line = standin::Trim(typed);
  typed.clear();
  if (standin::MatchKeyword(armed, line, keyword) != standin::KeywordMatch::Found) return false;
  g_strSelKewWord = keyword.c_str();
  g_IsInputSelectKeyWord = 1;
  standin::Session::Get().QueueFront(standin::InputEvent::Key(standin::InputKind::Esc));
  return true;
}

// The filter is this library's: it is taken back when the library unloads with the last module
// that needs it, so that the host never calls into unmapped code.
struct CaptureRegistration {
  CaptureRegistration() { acedRegisterFilterWinMsg(&CaptureSelectKeyword); }
  ~CaptureRegistration() { acedRemoveFilterWinMsg(&CaptureSelectKeyword); }
} g_captureRegistration;

}  // namespace
