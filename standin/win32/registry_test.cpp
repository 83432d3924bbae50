// The registry stand-in's own side (the API's conformance is registry_conformance_test.cpp): the
// registry file, its export format, what a person may write into it, atomic saves, files that
// cannot be read, and what resetting the registry does to handles.
#include "standin/win32/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "standin/win32/utf8.h"
#include "testing/ChildProcess.h"
#include "testing/RegistryValues.h"
#include "testing/TempDir.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

using namespace tovutest::reg;

// Every test reads and writes a registry file of its own.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::string processFile = std::getenv("TOVU_REGISTRY") ? std::getenv("TOVU_REGISTRY") : "";
    m_processFile = processFile;
    UseFile(m_dir / "registry.reg");
  }
  // The process's own file again, for the tests that run after this one.
  void TearDown() override {
    setenv("TOVU_REGISTRY", m_processFile.c_str(), 1);
    standin::ResetRegistry();
  }

  void UseFile(const std::filesystem::path& file) {
    m_file = file;
    setenv("TOVU_REGISTRY", file.c_str(), 1);
    standin::ResetRegistry();
  }
  // Starts over from the file, as the next process would.
  void Restart() { standin::ResetRegistry(); }

  HKEY Create(const wchar_t* path, REGSAM sam = KEY_ALL_ACCESS, HKEY root = HKEY_CURRENT_USER,
              const wchar_t* cls = nullptr) {
    std::wstring className = cls ? cls : L"";
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, cls ? className.data() : nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr,
                              &h, nullptr),
              ERROR_SUCCESS)
        << standin::ToUtf8(path);
    return h;
  }

  // A copy of a hostile file in the test's folder, so that nothing is ever saved beside the
  // original; empty when the hostile files are not there.
  std::filesystem::path Hostile(const std::string& name) {
    const auto file = std::filesystem::path(TOVU_SOURCE_DIR) / ".." / "shared" / "testdata" / "hostile" / name;
    return std::filesystem::exists(file) ? m_dir.Copy(file.string(), name) : std::filesystem::path();
  }

  tovutest::TempDir m_dir;
  std::filesystem::path m_file;
  std::string m_processFile;
};

std::wstring DeepPath(int levels) {
  std::wstring path = L"k";
  for (int i = 1; i < levels; ++i) path += L"\\k";
  return path;
}

// What only the stand-in has: handles die with the registry they were opened in, links are
// not made, and what is volatile or deleted never reaches the file.
TEST_F(Registry, VolatileAndDeletedKeysStayOutOfTheFileAndHandlesDieWithTheRegistry) {
  RegCloseKey(Create(L"Software"));
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Session", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &h, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"Pid", L"123"), ERROR_SUCCESS);
  RegCloseKey(h);
  RegCloseKey(Create(L"Software\\Deleted\\Child"));
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Deleted"), ERROR_SUCCESS);
  HKEY lasting = Create(L"Software\\Lasting");
  ASSERT_EQ(SetText(lasting, L"Kept", L"yes"), ERROR_SUCCESS);
  RegCloseKey(lasting);
  const std::string file = ReadFile(m_file);
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\Lasting]"), std::string::npos) << file;
  EXPECT_EQ(file.find("Session"), std::string::npos) << file;
  EXPECT_EQ(file.find("Deleted"), std::string::npos) << file;

  h = Create(L"Software\\Lasting");
  Restart();
  EXPECT_EQ(RegCloseKey(h), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Session", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, L"A", 0, nullptr, REG_OPTION_CREATE_LINK, KEY_READ, nullptr, &h, nullptr),
      ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"A", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, TheFileIsTheRegistryEditorsExportFormat) {
  HKEY h = Create(L"Software\\Tovu", KEY_ALL_ACCESS, HKEY_CURRENT_USER, L"ClassTovu");
  ASSERT_EQ(SetText(h, L"Name", L"a \"quoted\" C:\\path"), ERROR_SUCCESS);
  const DWORD answer = 42;
  ASSERT_EQ(RegSetValueExW(h, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&answer), 4), ERROR_SUCCESS);
  const BYTE flag = 1;
  ASSERT_EQ(RegSetValueExW(h, L"Flag", 0, REG_BINARY, &flag, 1), ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"Path", L"%HOME%", REG_EXPAND_SZ), ERROR_SUCCESS);
  const wchar_t list[] = L"ab\0c\0";
  ASSERT_EQ(RegSetValueExW(h, L"List", 0, REG_MULTI_SZ, Bytes(list), sizeof list), ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"Lines", L"a\nb"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"", L"未命名"), ERROR_SUCCESS);
  RegCloseKey(h);
  // Names keep the spelling they were created with.
  h = Create(L"SOFTWARE\\tovu");
  ASSERT_EQ(SetText(h, L"NAME", L"a \"quoted\" C:\\path"), ERROR_SUCCESS);
  RegCloseKey(h);
  HKEY machine = Create(L"Software\\Tovu\\Empty", KEY_ALL_ACCESS, HKEY_LOCAL_MACHINE);
  RegCloseKey(machine);

  EXPECT_EQ(ReadFile(m_file),
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tovu]\r\n"
            ";class=\"ClassTovu\"\r\n"
            "@=\"未命名\"\r\n"
            "\"Name\"=\"a \\\"quoted\\\" C:\\\\path\"\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "\"Flag\"=hex:01\r\n"
            "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\r\n"
            "\"List\"=hex(7):61,00,62,00,00,00,63,00,00,00,00,00\r\n"
            "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Tovu]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Tovu\\Empty]\r\n"
            "\r\n");
}

TEST_F(Registry, EverySavedValueComesBackByteForByte) {
  struct Sample {
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
  };
  auto text = [](std::wstring t) {
    return std::vector<BYTE>(reinterpret_cast<const BYTE*>(t.data()),
                             reinterpret_cast<const BYTE*>(t.data() + t.size()));
  };
  std::vector<BYTE> longBinary(300);
  for (size_t i = 0; i < longBinary.size(); ++i) longBinary[i] = static_cast<BYTE>(i * 7);
  const std::vector<Sample> samples = {
      {L"Plain", REG_SZ, text(std::wstring(L"Zeichen äöü 漢字 \U0001F600 \"q\" \\b\\") + L'\0')},
      {L"No terminator", REG_SZ, text(L"abc")},
      {L"Inner zero", REG_SZ, text(std::wstring(L"a\0b\0", 4))},
      {L"Expand", REG_EXPAND_SZ, text(std::wstring(L"%PATH%;\U0001F600\0", 9))},
      {L"Multi", REG_MULTI_SZ, text(std::wstring(L"one\0two\0\0", 9))},
      {L"Dword", REG_DWORD, {0xff, 0xfe, 0xfd, 0xfc}},
      {L"Odd dword", REG_DWORD, {1, 2, 3}},
      {L"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
      {L"Long", REG_BINARY, longBinary},
      {L"Empty", REG_BINARY, {}},
      {L"None", REG_NONE, {9}},
      {L"\"Quoted\" \\name", REG_SZ, text(std::wstring(L"x\0", 2))},
      {L"Type 0x1234", 0x1234, {0xAA}},
  };
  HKEY h = Create(L"Software\\Round Trip\\Ünïcode");
  for (const auto& s : samples)
    ASSERT_EQ(RegSetValueExW(h, s.name, 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size())), ERROR_SUCCESS);
  RegCloseKey(h);
  const std::string saved = ReadFile(m_file);
  EXPECT_NE(saved.find(",\\\r\n  "), std::string::npos) << "long data is wrapped as the registry editor does";

  Restart();
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\round trip\\ünïcode", 0, KEY_READ, &h), ERROR_SUCCESS);
  for (const auto& s : samples) {
    DWORD type = 0;
    EXPECT_EQ(Query(h, s.name, &type), s.data) << standin::ToUtf8(s.name);
    EXPECT_EQ(type, s.type) << standin::ToUtf8(s.name);
  }
  RegCloseKey(h);
  // Saving what was read gives the same file again.
  HKEY w = Create(L"Software\\Round Trip\\Ünïcode");
  ASSERT_EQ(RegDeleteValueW(w, L"Missing"), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegSetValueExW(w, L"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  RegCloseKey(w);
  EXPECT_EQ(ReadFile(m_file), saved);
}

TEST_F(Registry, FilesWrittenByPeopleAndByTheRegistryEditorAreRead) {
  // LF line ends, a byte order mark, comments, spacing, continuation lines, deletions.
  std::ofstream(m_file, std::ios::binary) << "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
                                             "\n"
                                             "; settings made by hand\n"
                                             "[HKEY_CURRENT_USER\\Software\\Hand]\n"
                                             "\"Count\" = dword:1F\n"
                                             "\"Bytes\"=hex:01,02,\\\n"
                                             "    03, 0A\n"
                                             "\"Gone\"=\"soon\"\n"
                                             "\"Gone\"=-\n"
                                             "@=\"default\"\n"
                                             "[HKEY_CURRENT_USER\\Software\\Hand\\Old]\n"
                                             "\"x\"=\"y\"\n"
                                             "[-HKEY_CURRENT_USER\\Software\\Hand\\Old]\n"
                                             "[hkey_current_user\\software\\hand]\n"
                                             "\"Count\"=dword:00000020\n";
  HKEY h = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Hand", 0, KEY_READ, &h), ERROR_SUCCESS);
  EXPECT_EQ(Query(h, L"Count"), std::vector<BYTE>({0x20, 0, 0, 0}));
  EXPECT_EQ(Query(h, L"Bytes"), std::vector<BYTE>({1, 2, 3, 10}));
  EXPECT_EQ(Query(h, L""), Text(L"default"));
  DWORD size;
  EXPECT_EQ(RegQueryValueExW(h, L"Gone", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  HKEY old;
  EXPECT_EQ(RegOpenKeyExW(h, L"Old", 0, KEY_READ, &old), ERROR_FILE_NOT_FOUND);
  RegCloseKey(h);

  // UTF-16LE with CR LF, as the registry editor exports.
  const std::u16string exported =
      u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Exported]\r\n"
      u"\"Name\"=\"\u6F22\u5B57 \U0001F600\"\r\n";
  std::string bytes;
  for (char16_t c : exported) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
  std::ofstream(m_file, std::ios::binary | std::ios::trunc) << bytes;
  Restart();
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Exported", 0, KEY_READ, &h), ERROR_SUCCESS);
  const wchar_t expected[] = L"\u6F22\u5B57 \U0001F600";
  EXPECT_EQ(Query(h, L"Name"), std::vector<BYTE>(Bytes(expected), Bytes(expected) + sizeof expected));
  RegCloseKey(h);
}

TEST_F(Registry, AFileThatCannotBeReadIsReportedWithItsLineAndNeverWrittenOver) {
  const std::pair<std::string, int> broken[] = {
      {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n", 1},
      {"Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,zz\n", 4},
      {"Windows Registry Editor Version 5.00\n\n[HKEY_NOWHERE\\A]\n", 3},
      {"Windows Registry Editor Version 5.00\n\"v\"=\"no key yet\"\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"open=\"x\"\n", 3},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n\"w\"=\"\xC3(\"\n", 4},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n", 3},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex(zz):00\n", 3},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\\\\B]\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\nplain words\n", 3},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=qword:1\n", 3},
      {"Windows Registry Editor Version 5.00\n[-HKEY_CURRENT_USER]\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\rB]\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\rw\"=\"x\"\n", 3},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\" + standin::ToUtf8(DeepPath(513)) + "]\n", 2},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n", 3},
      {std::string("\xFF\xFE"
                   "W\0x",
                   5),
       1},
  };
  for (const auto& [content, line] : broken) {
    SCOPED_TRACE(content);
    tovutest::TempDir dir;
    const auto file = dir.Write("registry.reg", content);
    UseFile(file);
    testing::internal::CaptureStderr();
    HKEY h = Create(L"Software\\After");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("line " + std::to_string(line) + ":"), std::string::npos) << said;
    EXPECT_NE(said.find("left untouched"), std::string::npos) << said;
    // Nothing of the broken file was taken in.
    HKEY a;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"A", 0, KEY_READ, &a), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(SetText(h, L"v", L"new"), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(ReadFile(file), content);
    const auto beside = dir / "registry.recovered.reg";
    EXPECT_EQ(standin::RegistryFilePath(), standin::FromUtf8(beside.string()));
    EXPECT_NE(ReadFile(beside).find("\"v\"=\"new\""), std::string::npos);

    // The next run is told again and goes on with what the last one saved beside it.
    testing::internal::CaptureStderr();
    Restart();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\After", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("left untouched"), std::string::npos);
    EXPECT_EQ(Query(h, L"v"), Text(L"new"));
    RegCloseKey(h);
    EXPECT_EQ(ReadFile(file), content);
    standin::ResetRegistry();
  }
}

// Keys deeper than Windows allows are refused with their line, before a save could write a file
// quadratic in their depth; what was read is freed and the changes go beside the file.
TEST_F(Registry, HostileDeepKeysAreRefusedWithTheirLine) {
  for (const char* name : {"reg_deep_key_50000_segv_on_save.reg", "reg_deep_key_200000_then_error_segv.reg"}) {
    SCOPED_TRACE(name);
    const auto file = Hostile(name);
    if (file.empty()) GTEST_SKIP() << "the hostile files (../shared/testdata/hostile) are not there";
    const std::string content = ReadFile(file);
    UseFile(file);
    testing::internal::CaptureStderr();
    HKEY h = Create(L"Software\\After");
    ASSERT_EQ(SetText(h, L"v", L"new"), ERROR_SUCCESS);
    RegCloseKey(h);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("line 3: a key more than 512 levels deep"), std::string::npos) << said;
    EXPECT_EQ(ReadFile(file), content);
    EXPECT_NE(ReadFile(std::filesystem::path(file).replace_extension(".recovered.reg")).find("\"v\"=\"new\""),
              std::string::npos);
  }
}

TEST_F(Registry, KeysAreKeptWithinWindowsDepth) {
  HKEY deepest = Create(DeepPath(512).c_str());
  HKEY h = nullptr;
  EXPECT_EQ(RegCreateKeyExW(deepest, L"deeper", 0, nullptr, 0, KEY_READ, nullptr, &h, nullptr), ERROR_BADKEY);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, DeepPath(513).c_str(), 0, nullptr, 0, KEY_READ, nullptr, &h, nullptr),
            ERROR_BADKEY);
  ASSERT_EQ(SetText(deepest, L"v", L"bottom"), ERROR_SUCCESS);
  RegCloseKey(deepest);
  Restart();
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, DeepPath(512).c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
  EXPECT_EQ(Query(h, L"v"), Text(L"bottom"));
  RegCloseKey(h);
}

// UTF-8 cannot hold a lone surrogate; the file is then written in UTF-16LE, which can, so names
// that differ only there stay apart.
TEST_F(Registry, LoneSurrogatesInNamesSurviveASave) {
  HKEY h = Create(L"Software\\K\xD800", KEY_ALL_ACCESS, HKEY_CURRENT_USER, L"C\xDC00");
  ASSERT_EQ(SetText(h, L"V\xDFFF", L"lone"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"V\xFFFD", L"replacement"), ERROR_SUCCESS);
  RegCloseKey(h);
  h = Create(L"Software\\K\xFFFD");
  ASSERT_EQ(SetText(h, L"V", L"other"), ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_EQ(ReadFile(m_file).substr(0, 2), "\xFF\xFE");

  Restart();
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\K\xD800", 0, KEY_READ, &h), ERROR_SUCCESS);
  EXPECT_EQ(ClassOf(h), L"C\xDC00");
  EXPECT_EQ(Query(h, L"V\xDFFF"), Text(L"lone"));
  EXPECT_EQ(Query(h, L"V\xFFFD"), Text(L"replacement"));
  RegCloseKey(h);
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\K\xFFFD", 0, KEY_READ, &h), ERROR_SUCCESS);
  EXPECT_EQ(Query(h, L"V"), Text(L"other"));
  RegCloseKey(h);
}

TEST_F(Registry, HostileLoneSurrogateKeysStayApart) {
  const auto file = Hostile("reg_utf16_lone_surrogate_keys_merge.reg");
  if (file.empty()) GTEST_SKIP() << "the hostile files (../shared/testdata/hostile) are not there";
  UseFile(file);
  for (const wchar_t* write : {L"first", L"second"}) {
    SCOPED_TRACE(standin::ToUtf8(write));
    HKEY h = Create(L"Software\\Writes");
    ASSERT_EQ(SetText(h, L"n", write), ERROR_SUCCESS);
    RegCloseKey(h);
    Restart();
    const std::pair<const wchar_t*, const wchar_t*> keys[] = {{L"Software\\K\xD800", L"1"},
                                                              {L"Software\\K\xDBFF", L"2"}};
    for (const auto& [key, value] : keys) {
      ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h), ERROR_SUCCESS);
      EXPECT_EQ(Query(h, L"a"), Text(value));
      RegCloseKey(h);
    }
  }
}

// A save replaces the file a symbolic link leads to, never the link, and keeps the file's
// permissions: a private file stays private.
TEST_F(Registry, ASaveGoesThroughALinkAndKeepsThePermissions) {
  std::filesystem::create_directory(m_dir / "real");
  const auto target = m_dir.Write("real/settings.reg", "Windows Registry Editor Version 5.00\r\n\r\n");
  const auto owner = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
  std::filesystem::permissions(target, owner);
  std::filesystem::create_symlink("real/settings.reg", m_dir / "link.reg");
  UseFile(m_dir / "link.reg");
  for (const wchar_t* text : {L"first", L"second"}) {
    HKEY h = Create(L"Software\\Private");
    ASSERT_EQ(SetText(h, L"v", text), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "link.reg"));
    EXPECT_EQ(std::filesystem::status(target).permissions(), owner);
    EXPECT_NE(ReadFile(target).find("\"v\"=\"" + standin::ToUtf8(text) + "\""), std::string::npos);
  }
}

TEST_F(Registry, ChangesAreSavedWhenAWritingHandleClosesOrAKeyIsFlushed) {
  HKEY read = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &read), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(read), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(m_file));

  // Writing through a predefined key waits for a flush, a writing handle's close or the exit.
  ASSERT_EQ(SetText(HKEY_CURRENT_USER, L"Direct", L"1"), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(m_file));
  HKEY created = Create(L"Software\\Other");
  RegCloseKey(created);
  ASSERT_TRUE(std::filesystem::exists(m_file));
  EXPECT_NE(ReadFile(m_file).find("\"Direct\"=\"1\""), std::string::npos);

  ASSERT_EQ(SetText(HKEY_CURRENT_USER, L"Direct", L"2"), ERROR_SUCCESS);
  HKEY opened = Create(L"Software\\Other");  // opened, not created: closing it writes nothing
  RegCloseKey(opened);
  EXPECT_NE(ReadFile(m_file).find("\"Direct\"=\"1\""), std::string::npos);
  EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_NE(ReadFile(m_file).find("\"Direct\"=\"2\""), std::string::npos);

  // A folder that cannot hold the file fails the flush and loses nothing in memory.
  const auto blocker = m_dir.Write("blocker", "a file, not a folder");
  UseFile(blocker / "registry.reg");
  testing::internal::CaptureStderr();
  ASSERT_EQ(SetText(HKEY_CURRENT_USER, L"Kept", L"in memory"), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_CANTWRITE);
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
  EXPECT_EQ(Query(HKEY_CURRENT_USER, L"Kept"), Text(L"in memory"));
}

TEST_F(Registry, TheFileIsFoundFromTheEnvironment) {
  const char* savedHome = std::getenv("HOME");
  const std::string home = savedHome ? savedHome : "";
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg ? savedXdg : "";

  unsetenv("TOVU_REGISTRY");
  setenv("HOME", (m_dir / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
  standin::ResetRegistry();
  EXPECT_EQ(standin::RegistryFilePath(), standin::FromUtf8((m_dir / "config/tovu/registry.reg").string()));
  ASSERT_EQ(SetText(HKEY_CURRENT_USER, L"v", L"x"), ERROR_SUCCESS);
  ASSERT_TRUE(standin::SaveRegistry());  // making the folders on the way
  EXPECT_TRUE(std::filesystem::exists(m_dir / "config/tovu/registry.reg"));

  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  standin::ResetRegistry();
  EXPECT_EQ(standin::RegistryFilePath(), standin::FromUtf8((m_dir / "home/.config/tovu/registry.reg").string()));
  unsetenv("XDG_CONFIG_HOME");
  standin::ResetRegistry();
  EXPECT_EQ(standin::RegistryFilePath(), standin::FromUtf8((m_dir / "home/.config/tovu/registry.reg").string()));

  standin::ResetRegistry();
  savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
  if (savedXdg) setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  UseFile(m_file);
}

class RegistryProcesses : public Registry {
 protected:
  tovutest::ChildResult Helper(std::vector<std::string> args, const std::string& hook = "") {
    std::vector<std::string> env = {"TOVU_REGISTRY=" + m_file.string()};
    if (!hook.empty()) env.push_back("TOVU_REGISTRY_SAVE_HOOK=" + hook);
    return tovutest::RunChild(TOVU_REGISTRY_HELPER, args, env);
  }
  std::string Get() {
    const auto r = Helper({"get", "Software\\Tovu Test", "Setting"});
    return r.exited && r.exitStatus == 0 ? r.output : "failed: " + r.output;
  }
};

TEST_F(RegistryProcesses, ValuesWrittenByOneProcessAreReadByTheNext) {
  auto r = Helper({"set", "Software\\Tovu Test", "Setting", "first 一"});
  ASSERT_TRUE(r.exited && r.exitStatus == 0);
  EXPECT_EQ(Get(), "first 一\n");
  r = Helper({"set-at-exit", "Software\\Tovu Test", "Setting", "saved at exit"});
  ASSERT_TRUE(r.exited && r.exitStatus == 0);
  EXPECT_EQ(Get(), "saved at exit\n");
  // What this process sees too, and what a person reads in the file.
  HKEY h = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovu Test", 0, KEY_READ, &h), ERROR_SUCCESS);
  EXPECT_EQ(Query(h, L"Setting"), Text(L"saved at exit"));
  RegCloseKey(h);
  EXPECT_NE(ReadFile(m_file).find("[HKEY_CURRENT_USER\\Software\\Tovu Test]\r\n\"Setting\"=\"saved at exit\"\r\n"),
            std::string::npos);
}

TEST_F(RegistryProcesses, AWriterKilledWhileSavingLeavesThePreviousFileIntact) {
  ASSERT_EQ(Helper({"set", "Software\\Tovu Test", "Setting", "before"}).exitStatus, 0);
  const std::string before = ReadFile(m_file);
  std::set<std::filesystem::path> seen;
  for (const char* hook : {"kill-while-writing", "kill-before-rename"}) {
    SCOPED_TRACE(hook);
    const auto killed = Helper({"set", "Software\\Tovu Test", "Setting", "lost"}, hook);
    EXPECT_FALSE(killed.exited);
    EXPECT_EQ(killed.signal, SIGKILL);
    EXPECT_EQ(ReadFile(m_file), before);
    EXPECT_EQ(Get(), "before\n");
    // The killed writer got as far as its temporary file, which holds the new value only
    // when it was written whole.
    bool sawTemp = false;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path())) {
      if (entry.path().extension() != ".tmp" || !seen.insert(entry.path()).second) continue;
      sawTemp = true;
      const bool whole = ReadFile(entry.path()).find("\"lost\"") != std::string::npos;
      EXPECT_EQ(whole, std::string(hook) == "kill-before-rename");
    }
    EXPECT_TRUE(sawTemp);
  }
  // The next save goes through and clears away what the dead writers left.
  ASSERT_EQ(Helper({"set", "Software\\Tovu Test", "Setting", "after"}).exitStatus, 0);
  EXPECT_EQ(Get(), "after\n");
  for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

}  // namespace
