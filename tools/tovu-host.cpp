// tovu-host: the command-line host program. It loads the platform module as the host does,
// lets a script (or standard input) type at the command line, prints the command-line
// transcript in UTF-8 and unloads the module at the end.
#include <accmd.h>
#include <acedads.h>
#include <acutads.h>
#include <windows.h>
#include <rxdlinkr.h>
#include <rxregsvc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "standin/host/commands/applications.h"
#include "standin/host/commands/command_line.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/render.h"
#include "standin/win32/utf8.h"
#include "tools/frames.h"
#include "tools/script.h"

namespace {

// A script, from a file or from standard input, holds at most this much, and a line at most 1 MiB.
constexpr std::streamoff kMaxScriptBytes = 64 << 20;
constexpr size_t kMaxLineBytes = 1 << 20;

const char kUsage[] =
    "Usage: tovu-host [--module FILE] [--drawing FILE.dxf] [--journal] [--profile NAME]...\n"
    "                 [--frames DIR] [--gif FILE.gif] [SCRIPT | -]\n"
    "       tovu-host [--module FILE] preview FILE [-o OUT.png|OUT.bmp] [--size WxH] [--highlight]\n"
    "\n"
    "Loads the platform module into the stand-in host, types the script's lines at the\n"
    "host's command line and prints the command-line transcript (UTF-8). Without SCRIPT,\n"
    "or with -, the lines come from standard input.\n"
    "\n"
    "Script lines:\n"
    "  TEXT                  typed at the prompt, then Enter (a command name runs it)\n"
    "  (empty line)          Enter; at the Command prompt it repeats the last command\n"
    "  ; comment             ignored\n"
    "  <<TEXT                types \"<TEXT\"\n"
    "  <enter> <esc>         the keys\n"
    "  <point x,y[,z]>       a click at a point\n"
    "  <pick HANDLE [x,y]>   a click on the entity with that handle\n"
    "  <window x,y x,y>      a window; <crossing x,y x,y> a crossing window\n"
    "  <cursor x,y [px,py]>  the cursor moves (world point, pixel)\n"
    "  <zoom x,y height>     the mouse wheel: the view shows height units around x,y\n"
    "  <snapshot FILE.png>   writes what the drawing view shows now as a PNG picture\n"
    "\n"
    "Host commands besides the module's: unload (unloads the module), load (loads it again),\n"
    "list (type, layer, space and handle of the selected entities), delay (waits the number of\n"
    "milliseconds typed, 0 to 32767, while timers tick).\n"
    "\n"
    "preview paints a slide, BMP or picture file with the module's image painter into a raster\n"
    "of WxH pixels (default 400x300, at most 8192 each way) and writes it as PNG or BMP (default:\n"
    "FILE's name with .png, in the current folder, or .preview.png when that is FILE itself; a\n"
    "preview is never written over its input).\n"
    "\n"
    "Options:\n"
    "  --module FILE   the module to load (default: ../lib/TovuPlatform.arx beside this program)\n"
    "  --drawing FILE  the DXF drawing, ASCII or binary, the session holds (default: the built-in\n"
    "                  sample, a small floor plan)\n"
    "  --journal       also print what the user would see happen (redraws, timers, view\n"
    "                  changes ...), each line with its time since the last timer started\n"
    "  --profile NAME  the host has a profile of that name (a key under its product key's\n"
    "                  Profiles in the user's registry); may be given more than once\n"
    "  --frames DIR    writes the drawing view into DIR as frame-0000.png, frame-0001.png ...\n"
    "                  at the start and after each change the user would see (redraws, view\n"
    "                  changes, drag samples, flicker ticks)\n"
    "  --gif FILE      writes those pictures as an animated GIF, each shown as long as it lasted\n"
    "  --help          this text\n"
    "\n"
    "Exit status: 0 when the script ran (or the preview was written), 1 when the module could\n"
    "not be loaded or the file could not be shown or written, 2 for a bad command line, a\n"
    "script that cannot be read or has a malformed line (or a pick of an entity the drawing does\n"
    "not hold), or a drawing or picture that cannot be read.\n";

std::wstring g_modulePath;

std::string DefaultModulePath() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "TovuPlatform.arx";
  std::string dir(buf, static_cast<size_t>(n));
  dir.erase(dir.find_last_of('/'));
  return dir + "/../lib/TovuPlatform.arx";
}

void UnloadCommand() {
  if (AcRxDynamicLinker* linker = acrxDynamicLinker) linker->unloadModule(g_modulePath.c_str(), true);
}

void LoadCommand() {
  if (AcRxDynamicLinker* linker = acrxDynamicLinker) linker->loadModule(g_modulePath.c_str(), true);
}

// The host's DELAY: waits the milliseconds typed (the host's limit, 32767 at most) while the
// timers tick; anything else is refused and asked again, Esc ends it.
void DelayCommand() {
  standin::Session& session = standin::Session::Get();
  for (;;) {
    session.Print(L"\nEnter delay time (in milliseconds): ");
    const standin::InputEvent e = session.NextInput();
    if (e.kind == standin::InputKind::Esc) {
      session.Print(L"*Cancel*");
      return;
    }
    if (e.kind == standin::InputKind::Text) {
      session.Print(e.text);
      wchar_t* end = nullptr;
      const long ms = std::wcstol(e.text.c_str(), &end, 10);
      if (!e.text.empty() && *end == L'\0' && ms >= 0 && ms <= 32767) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
      }
    }
    session.Print(L"\nRequires an integer between 0 and 32767.");
  }
}

const wchar_t* JournalKindName(standin::JournalKind kind) {
  switch (kind) {
    case standin::JournalKind::Redraw: return L"redraw";
    case standin::JournalKind::GrDraw: return L"vector";
    case standin::JournalKind::Command: return L"command";
    case standin::JournalKind::ViewChange: return L"view";
    case standin::JournalKind::MessageBox: return L"message box";
    case standin::JournalKind::TimerStart: return L"timer start";
    case standin::JournalKind::TimerStop: return L"timer stop";
    case standin::JournalKind::ModuleLoaded: return L"loaded";
    case standin::JournalKind::ModuleUnloaded: return L"unloaded";
    case standin::JournalKind::CommandRun: return L"command run";
    case standin::JournalKind::Invalidate: return L"invalidate";
    case standin::JournalKind::LeftOpen: return L"left open";
    case standin::JournalKind::Jig: return L"jig";
    case standin::JournalKind::KeyInput: return L"key";
    case standin::JournalKind::Drag: return L"drag";
  }
  return L"?";
}

// A journal line: its time since the last timer started (tenths of a second), what happened,
// and for a redraw what the entity looks like now.
void PrintJournalEntry(const standin::JournalEntry& e) {
  static std::mutex mutex;
  static std::optional<std::chrono::steady_clock::time_point> timerStart;
  std::lock_guard<std::mutex> lock(mutex);
  const auto now = std::chrono::steady_clock::now();
  if (e.kind == standin::JournalKind::TimerStart) timerStart = now;
  std::string line = "\n[journal";
  if (timerStart) {
    const double s = std::chrono::duration<double>(now - *timerStart).count();
    char when[32];
    std::snprintf(when, sizeof when, " +%.1f s", s);
    line += when;
  }
  line += "] " + standin::ToUtf8(JournalKindName(e.kind));
  if (!e.text.empty()) line += " " + standin::ToUtf8(e.text);
  if (e.kind == standin::JournalKind::Redraw && e.values.size() >= 3) {
    static const char* const kModes[] = {"", "draw", "undraw", "highlight", "unhighlight"};
    const int mode = static_cast<int>(e.values[0]);
    line += std::string(" ") + (mode >= 1 && mode <= 4 ? kModes[mode] : "mode " + std::to_string(mode));
    line += e.values[2] != 0 ? " (shown)" : " (hidden)";
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

// The host's LIST: the type, layer, space and handle of each selected entity.
void ListCommand() {
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return;
  long n = 0;
  acedSSLength(set, &n);
  for (long i = 0; i < n; ++i) {
    ads_name ent;
    acedSSName(set, i, ent);
    resbuf* data = acdbEntGet(ent);
    std::wstring type, layer, handle, space = L"Model space";
    for (const resbuf* rb = data; rb; rb = rb->rbnext) {
      if (rb->restype == 0) type = rb->resval.rstring;
      if (rb->restype == 8) layer = rb->resval.rstring;
      if (rb->restype == 5) handle = rb->resval.rstring;
      if (rb->restype == 67 && rb->resval.rint == 1) space = L"Paper space";
    }
    acutRelRb(data);
    acutPrintf(L"\n%-12s Layer: \"%s\"  Space: %s  Handle = %s", type.c_str(), layer.c_str(), space.c_str(),
               handle.c_str());
  }
  acedSSFree(set);
}

// One line of in (without its line feed), read no further than a byte past the longest line a
// script may have, so that a line without end cannot fill the memory; total counts every byte.
// False at the end of the input.
bool ReadBoundedLine(std::istream& in, std::string& line, std::streamoff& total) {
  line.clear();
  int c;
  bool any = false;
  while ((c = in.get()) != std::char_traits<char>::eof()) {
    any = true;
    ++total;
    if (c == '\n') return true;
    if (line.size() <= kMaxLineBytes) line.push_back(static_cast<char>(c));
  }
  return any;
}

// Whether path names a file that can be read, saying why not (what: "the script" ...).
bool IsReadableFile(const std::string& path, const char* what) {
  struct stat st;
  if (path.empty()) {
    std::fprintf(stderr, "tovu-host: %s has an empty name\n", what);
    return false;
  }
  if (stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "tovu-host: cannot read %s %s: %s\n", what, path.c_str(), std::strerror(errno));
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    std::fprintf(stderr, "tovu-host: %s %s is a folder, not a file\n", what, path.c_str());
    return false;
  }
  return true;
}

// One step of a script: an event of the scripted user, or a snapshot the host program takes
// when the input reaches it.
struct ScriptStep {
  standin::InputEvent event;
  std::wstring snapshot;
};

// The line, or why it is refused: too long for a script, not UTF-8, a NUL, a malformed directive.
// A comment line gives no step.
bool ParseLine(std::string_view bytes, std::optional<ScriptStep>& step, std::wstring& error) {
  step.reset();
  if (bytes.size() > kMaxLineBytes) {
    error = L"the line is longer than 1 MiB";
    return false;
  }
  std::optional<standin::InputEvent> event;
  if (!ParseScriptBytes(bytes, event, error)) {
    std::wstring path;
    if (!IsSnapshotLine(standin::FromUtf8(bytes), path)) return false;
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot == 0 || standin::Upper(path.substr(dot)) != L".PNG") {
      error = L"expected <snapshot FILE.png>";
      return false;
    }
    error.clear();
    step = ScriptStep{standin::InputEvent(), path};
    return true;
  }
  if (event) step = ScriptStep{std::move(*event), L""};
  return true;
}

// Writes the drawing view as the user sees it now; a file that cannot be written is said with
// the script's line, and the run goes on.
void TakeSnapshot(const std::wstring& path, const std::string& source, int line) {
  std::wstring error;
  if (!standin::WriteViewPng(path, error))
    std::fprintf(stderr, "%s:%d: cannot write the snapshot %s: %s\n", source.c_str(), line,
                 standin::ToUtf8(path).c_str(), standin::ToUtf8(error).c_str());
}

// Reads and checks the whole script before anything runs, so a bad script changes nothing.
bool ReadScript(const std::string& path, std::vector<ScriptStep>& steps) {
  if (!IsReadableFile(path, "the script")) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "tovu-host: cannot read the script %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxScriptBytes) {
    std::fprintf(stderr, "tovu-host: the script %s is not a readable file of at most 64 MiB\n", path.c_str());
    return false;
  }
  file.seekg(0);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!file.read(bytes.data(), size)) {
    std::fprintf(stderr, "tovu-host: cannot read the script %s\n", path.c_str());
    return false;
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  bool ok = true;
  size_t start = 0;
  for (int number = 1; start < bytes.size(); ++number) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 1;
    std::optional<ScriptStep> step;
    std::wstring error;
    if (ParseLine(line, step, error)) {
      if (step) {
        step->event.line = number;
        steps.push_back(std::move(*step));
      }
      continue;
    }
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, standin::ToUtf8(error).c_str());
    ok = false;
  }
  return ok;
}

struct PreviewRequest {
  std::string input;
  std::string output;
  int width = 400;
  int height = 300;
  bool highlight = false;
};

// Whether the two paths name one existing file.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The arguments after "preview"; false (having said why) when they are malformed.
bool ParsePreview(int argc, char** argv, int first, PreviewRequest& request) {
  for (int i = first; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" || arg == "--size") {
      if (++i == argc) {
        std::fprintf(stderr, "tovu-host: %s needs a value\n", arg.c_str());
        return false;
      }
      if (arg == "-o") {
        request.output = argv[i];
        continue;
      }
      char tail = 0;
      if (std::sscanf(argv[i], "%dx%d%c", &request.width, &request.height, &tail) != 2 || request.width < 1 ||
          request.height < 1 || request.width > 8192 || request.height > 8192) {
        std::fprintf(stderr, "tovu-host: --size takes WxH, 1 to 8192 pixels each way, not %s\n", argv[i]);
        return false;
      }
    } else if (arg == "--highlight") {
      request.highlight = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "tovu-host: unknown preview option %s (try --help)\n", arg.c_str());
      return false;
    } else if (!request.input.empty()) {
      std::fprintf(stderr, "tovu-host: preview takes one file (try --help)\n");
      return false;
    } else {
      request.input = arg;
    }
  }
  if (request.input.empty()) {
    std::fprintf(stderr, "tovu-host: preview needs a file (try --help)\n");
    return false;
  }
  if (!IsReadableFile(request.input, "the file")) return false;
  if (request.output.empty()) {
    std::string name = request.input.substr(request.input.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    request.output = (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".png";
    // A picture's own name would be written over: its preview gets a name of its own.
    if (SameFile(request.output, request.input)) request.output.insert(request.output.size() - 4, ".preview");
  }
  if (SameFile(request.output, request.input)) {
    std::fprintf(stderr, "tovu-host: the preview would be written over its own input %s\n", request.input.c_str());
    return false;
  }
  return true;
}

// Loads the module as the host does, then the preview library beside it (which uses the
// module's painter), paints and writes the file, and unloads both.
int RunPreview(const std::string& modulePath, const PreviewRequest& request) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  const std::wstring module = standin::FromUtf8(modulePath);
  if (!linker->loadModule(module.c_str(), false)) {
    std::fprintf(stderr, "tovu-host: the module %s could not be loaded\n", modulePath.c_str());
    return 1;
  }
  const std::string library = modulePath.substr(0, modulePath.find_last_of('/') + 1) + "tovu-preview.so";
  HMODULE preview = LoadLibraryW(standin::FromUtf8(library).c_str());
  using Render = int (*)(const wchar_t*, const wchar_t*, int, int, int, wchar_t*, int);
  auto render =
      preview ? reinterpret_cast<Render>(reinterpret_cast<void (*)()>(GetProcAddress(preview, "TovuPreviewRender")))
              : nullptr;
  int status = 1;
  if (!render) {
    std::fprintf(stderr, "tovu-host: the preview library %s could not be loaded\n", library.c_str());
  } else {
    wchar_t message[512] = {};
    status = render(standin::FromUtf8(request.input).c_str(), standin::FromUtf8(request.output).c_str(), request.width,
                    request.height, request.highlight ? 1 : 0, message, 512);
    if (status == 0)
      std::printf("%s: %dx%d\n", request.output.c_str(), request.width, request.height);
    else
      std::fprintf(stderr, "tovu-host: %s\n", standin::ToUtf8(message).c_str());
  }
  if (preview) FreeLibrary(preview);
  linker->unloadModule(module.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scriptPath = "-";
  std::string modulePath = DefaultModulePath();
  std::string drawingPath, framesPath, gifPath;
  std::vector<std::string> profiles;
  bool haveDrawing = false, haveScript = false, journal = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--module") {
      if (++i == argc) {
        std::fprintf(stderr, "tovu-host: --module needs a file name\n");
        return 2;
      }
      modulePath = argv[i];
    } else if (arg == "--drawing") {
      if (++i == argc) {
        std::fprintf(stderr, "tovu-host: --drawing needs a file name\n");
        return 2;
      }
      drawingPath = argv[i];
      haveDrawing = true;
    } else if (arg == "--journal") {
      journal = true;
    } else if (arg == "--frames" || arg == "--gif") {
      if (++i == argc || !*argv[i]) {
        std::fprintf(stderr, "tovu-host: %s needs a %s name\n", arg.c_str(), arg == "--gif" ? "file" : "folder");
        return 2;
      }
      (arg == "--gif" ? gifPath : framesPath) = argv[i];
    } else if (arg == "--profile") {
      if (++i == argc || !*argv[i] || std::strpbrk(argv[i], "\\")) {
        std::fprintf(stderr, "tovu-host: --profile needs a name without a backslash\n");
        return 2;
      }
      profiles.push_back(argv[i]);
    } else if (arg == "preview" && !haveScript) {
      PreviewRequest request;
      if (haveDrawing) {
        std::fprintf(stderr, "tovu-host: preview takes no drawing\n");
        return 2;
      }
      if (!ParsePreview(argc, argv, i + 1, request)) return 2;
      return RunPreview(modulePath, request);
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      std::fprintf(stderr, "tovu-host: unknown option %s (try --help)\n", arg.c_str());
      return 2;
    } else if (haveScript) {
      std::fprintf(stderr, "tovu-host: one script at a time (try --help)\n");
      return 2;
    } else {
      scriptPath = arg;
      haveScript = true;
    }
  }

  standin::Session& session = standin::Session::Get();
  if (haveDrawing) {
    if (!IsReadableFile(drawingPath, "the drawing")) return 2;
    std::wstring error;
    if (!standin::OpenDxfDrawing(standin::FromUtf8(drawingPath), error)) {
      std::fprintf(stderr, "tovu-host: %s\n", standin::ToUtf8(error).c_str());
      return 2;
    }
  }
  // A line refused on standard input, or an event the session refuses (a pick of an entity that
  // does not exist), ends the run with status 2, said with its line.
  bool inputFault = false;
  const std::string source = scriptPath == "-" ? "<stdin>" : scriptPath;
  session.SetInputFaultSink([&source, &inputFault](const standin::InputEvent& event, const std::wstring& reason) {
    std::fprintf(stderr, "%s:%d: %s\n", source.c_str(), event.line, standin::ToUtf8(reason).c_str());
    inputFault = true;
  });
  if (scriptPath != "-") {
    // Served one step at a time, so that a snapshot is taken when the input reaches it.
    std::vector<ScriptStep> steps;
    if (!ReadScript(scriptPath, steps)) return 2;
    session.SetInputSource(
        [&source, steps = std::move(steps), next = size_t{0}]() mutable -> std::optional<standin::InputEvent> {
          for (; next < steps.size(); ++next) {
            if (steps[next].snapshot.empty()) return std::move(steps[next++].event);
            TakeSnapshot(steps[next].snapshot, source, steps[next].event.line);
          }
          return std::nullopt;
        });
  } else {
    // Standard input is taken line by line, so the host can be used interactively, with the
    // limits of a script file.
    session.SetInputSource(
        [&inputFault, number = 0, total = std::streamoff{0}]() mutable -> std::optional<standin::InputEvent> {
          std::string line;
          while (!inputFault && ReadBoundedLine(std::cin, line, total)) {
            ++number;
            if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
            std::optional<ScriptStep> step;
            std::wstring error;
            if (total > kMaxScriptBytes) {
              error = L"standard input holds more than 64 MiB";
            } else if (ParseLine(line, step, error)) {
              if (!step) continue;
              if (!step->snapshot.empty()) {
                TakeSnapshot(step->snapshot, "<stdin>", number);
                continue;
              }
              step->event.line = number;
              return std::move(step->event);
            }
            std::fprintf(stderr, "<stdin>:%d: %s\n", number, standin::ToUtf8(error).c_str());
            inputFault = true;
          }
          return std::nullopt;
        });
  }

  session.SetTranscriptSink([](std::wstring_view text) {
    const std::string utf8 = standin::ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
  });

  // Never destroyed: a timer's journal entries may come while the process exits.
  static FrameRecorder* const recorder = new FrameRecorder;
  FrameRecorder& frames = *recorder;
  const bool recording = !framesPath.empty() || !gifPath.empty();
  if (recording) {
    std::string error;
    if (!frames.Open(framesPath, gifPath, error)) {
      std::fprintf(stderr, "tovu-host: %s\n", error.c_str());
      return 2;
    }
    frames.Capture();
  }
  if (journal || recording)
    session.SetJournalSink([journal, recording, &frames](const standin::JournalEntry& e) {
      if (journal) PrintJournalEntry(e);
      if (recording) frames.OnJournal(e);
    });
  for (const std::string& profile : profiles) {
    const std::wstring key = std::wstring(acrxProductKey()) + L"\\Profiles\\" + standin::FromUtf8(profile);
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS) {
      std::fprintf(stderr, "tovu-host: the profile %s cannot be made in the registry\n", profile.c_str());
      return 2;
    }
    RegCloseKey(hKey);
  }

  AcEdCommandStack* commands = acedRegCmds;
  commands->addCommand(L"TOVU_HOST", L"delay", L"delay", ACRX_CMD_MODAL, DelayCommand);
  commands->addCommand(L"TOVU_HOST", L"unload", L"unload", ACRX_CMD_MODAL, UnloadCommand);
  commands->addCommand(L"TOVU_HOST", L"load", L"load", ACRX_CMD_MODAL, LoadCommand);
  commands->addCommand(L"TOVU_HOST", L"list", L"list", ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET, ListCommand);

  g_modulePath = standin::FromUtf8(modulePath);
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  if (!linker->loadModule(g_modulePath.c_str(), true)) {
    std::fprintf(stdout, "\n");
    std::fprintf(stderr, "tovu-host: the module %s could not be loaded\n", modulePath.c_str());
    return 1;
  }
  standin::RunCommandLoop();
  for (const std::wstring& loaded : standin::LoadedModules()) linker->unloadModule(loaded.c_str());
  std::fputs("\n", stdout);
  std::string framesError;
  session.SetJournalSink(journal ? PrintJournalEntry : std::function<void(const standin::JournalEntry&)>());
  if (recording && !frames.Close(framesError)) {
    std::fprintf(stderr, "tovu-host: %s\n", framesError.c_str());
    return 1;
  }
  return inputFault ? 2 : 0;
}
