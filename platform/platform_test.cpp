// The module's life cycle and its side of translation: the module key from the module's file
// name, Translate with and without a language switch, and the module started, loaded into the
// host, run and unloaded.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Localization.h"
#include "platform/Module.h"
#include "standin/host/commands/applications.h"
#include "standin/host/commands/command_line.h"
#include "standin/host/core/session.h"
#include "standin/win32/utf8.h"
#include "testing/TempDir.h"

namespace {

std::wstring Wide(const std::filesystem::path& p) { return standin::FromUtf8(p.string()); }

// Gives the module code linked into this test the handle of a real file of a chosen name,
// as the DLL entry would when that file is loaded.
class ModuleFile {
 public:
  ModuleFile(const tovutest::TempDir& dir, const std::string& name) {
    std::filesystem::create_directories((dir / name).parent_path());
    m_h = LoadLibraryW(Wide(dir.Copy(TOVU_FIXTURE_MODULE, name)).c_str());
    EXPECT_NE(m_h, nullptr) << name;
    DllMain(m_h, DLL_PROCESS_ATTACH, nullptr);
  }
  ~ModuleFile() {
    if (m_h) FreeLibrary(m_h);
    g_hInstance = nullptr;
  }
  HMODULE handle() const { return m_h; }

 private:
  HMODULE m_h;
};

// Installs a language switch (none for a null folder) for one test and takes it away again.
template <class Switch = TovuLanguageSwitch>
class ScopedSwitch {
 public:
  explicit ScopedSwitch(const std::filesystem::path& dir) : m_switch(Wide(dir).c_str()), m_pSaved(g_pTovuLangSwitch) {
    g_pTovuLangSwitch = dir.empty() ? nullptr : &m_switch;
  }
  ~ScopedSwitch() { g_pTovuLangSwitch = m_pSaved; }
  Switch& get() { return m_switch; }

 private:
  Switch m_switch;
  TovuLanguageSwitch* m_pSaved;
};

// Resources and dictionary that a caller has current; Translate must leave them so.
const auto kCallerResource = reinterpret_cast<HINSTANCE>(0x5150);
auto* const kCallerDict = reinterpret_cast<ZoDtDictionary*>(0x7070);

void MakeCallersCurrent() {
  AfxSetResourceHandle(kCallerResource);
  g_pCurModuleLang = kCallerDict;
}

TEST(ModuleKey, FollowsTheFileNameRulesWithEitherSeparator) {
  tovutest::TempDir dir;
  {
    ScopedSwitch<> none({});
    ModuleFile file(dir, "TovuPlatform.arx");
    EXPECT_EQ(GetModuleKey(), L"") << "no key without a language switch";
    EXPECT_EQ(GetModuleDictionary(), nullptr);
  }
  ScopedSwitch<> sw(dir.path());
  const std::pair<std::string, std::wstring> cases[] = {
      {"TovuPlatform.arx", L"TOVUPLATFORM"},
      {"NAME18.arx", L"NAME1"},  // only the last digit goes
      {"Multi.Dot.Name.arx", L"MULTI"},
      {".arx", L""},  // the dot must not be the first character
      {"9.arx", L""},  // the digit goes, nothing is left
#if !defined(_WIN32)
      // Names Windows cannot load: it adds ".dll" to a name without extension, and a backslash
      // separates folders there.
      {"NoExtension", L""},
      {"a\\TovuPlatform.arx", L"TOVUPLATFORM"},  // a backslash inside the name separates too
      {"trailing\\", L""},                       // a separator as the last character
#endif
  };
  for (const auto& [name, key] : cases) {
    ModuleFile file(dir, name);
    EXPECT_EQ(GetModuleKey(), key.c_str()) << name;
  }
}

TEST(Translate, WithoutASwitchGivesTheVeryPointerBack) {
  ScopedSwitch<> none({});
  MakeCallersCurrent();
  const wchar_t* text = L"\n选择闪烁对象";
  EXPECT_EQ(Translate(text), text);
  EXPECT_EQ(Translate(nullptr), nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), kCallerResource);
  EXPECT_EQ(g_pCurModuleLang, kCallerDict);
  g_pCurModuleLang = nullptr;
}

// Notes what is current while it translates.
class ObservingSwitch : public TovuLanguageSwitch {
 public:
  using TovuLanguageSwitch::TovuLanguageSwitch;
  ZoDtDictionary* GetModuleDictionary(const wchar_t* key) override {
    ++m_nLookups;
    return TovuLanguageSwitch::GetModuleDictionary(key);
  }
  const wchar_t* Translate(const wchar_t* source) override {
    m_hSeenResource = AfxGetResourceHandle();
    m_pSeenDict = g_pCurModuleLang;
    if (m_bThrow) throw std::runtime_error("dictionary failure");
    return TovuLanguageSwitch::Translate(source);
  }
  int m_nLookups = 0;
  bool m_bThrow = false;
  HINSTANCE m_hSeenResource = nullptr;
  ZoDtDictionary* m_pSeenDict = nullptr;
};

TEST(Translate, WithASwitchGivesTheModulesTextAndRestoresWhatWasCurrent) {
  tovutest::TempDir dir;
  dir.Write("TOVUPLATFORM.tsv", "\\n选择闪烁对象\t\\nSelect objects to flicker\n");
  ScopedSwitch<ObservingSwitch> sw(dir.path());
  ModuleFile file(dir, "TovuPlatform.arx");
  g_hResource = file.handle();
  MakeCallersCurrent();

  EXPECT_STREQ(Translate(L"\n选择闪烁对象"), L"\nSelect objects to flicker");
  // During the lookup the module's resources and dictionary were current ...
  EXPECT_EQ(sw.get().m_hSeenResource, file.handle());
  ASSERT_NE(sw.get().m_pSeenDict, nullptr);
  EXPECT_EQ(sw.get().m_pSeenDict, GetModuleDictionary());
  EXPECT_EQ(GetModuleDictionary()->GetKey(), L"TOVUPLATFORM");
  // ... and afterwards the caller's are, although the dictionary was found during the call.
  EXPECT_EQ(AfxGetResourceHandle(), kCallerResource);
  EXPECT_EQ(g_pCurModuleLang, kCallerDict);

  // The dictionary is found once and kept.
  const wchar_t* unknown = L"未翻译";
  EXPECT_EQ(Translate(unknown), unknown);
  EXPECT_EQ(sw.get().m_nLookups, 1);

  // A failing translation still restores both.
  sw.get().m_bThrow = true;
  EXPECT_THROW(Translate(L"x"), std::runtime_error);
  EXPECT_EQ(AfxGetResourceHandle(), kCallerResource);
  EXPECT_EQ(g_pCurModuleLang, kCallerDict);
  g_pCurModuleLang = nullptr;
  g_hResource = nullptr;
}

bool HasCommandGroup() { return standin::HasCommandGroup(L"TovuPlatform"); }

bool ChainHolds(HMODULE h) {
  for (CDynLinkLibrary* lib = AfxGetModuleState()->m_libraryList; lib; lib = lib->m_pNextDLL)
    if (lib->m_hModule == h) return true;
  return false;
}

TEST(ModuleEntry, StartsWithOrWithoutMfcAndUnloads) {
  ScopedSwitch<> none({});
  {
    tovutest::TempDir dir;
    ModuleFile file(dir, "TovuPlatform.arx");
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(g_hResource, file.handle());
    EXPECT_TRUE(ChainHolds(file.handle()));
    for (auto msg : {AcRx::kLoadDwgMsg, AcRx::kUnloadDwgMsg, AcRx::kInvkSubrMsg, AcRx::kQuitMsg, AcRx::kSuspendMsg})
      EXPECT_EQ(acrxEntryPoint(msg, nullptr), AcRx::kRetOK);
    EXPECT_TRUE(HasCommandGroup()) << "other messages change nothing";
    EXPECT_TRUE(ChainHolds(file.handle()));
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_FALSE(HasCommandGroup());
    EXPECT_FALSE(ChainHolds(file.handle()));
  }
  // Without the DLL entry MFC refuses a null module; the commands are defined all the same.
  g_hInstance = nullptr;
  g_hResource = nullptr;
  ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(g_hResource, nullptr);
  EXPECT_TRUE(HasCommandGroup());
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_FALSE(HasCommandGroup());
}

TEST(ModuleInHost, LoadRunUnloadAndLoadAgain) {
  standin::Session& session = standin::Session::Get();
  session.Reset();
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  const std::wstring module = standin::FromUtf8(TOVU_MODULE_FILE);

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(linker->loadModule(module.c_str(), true)) << standin::ToUtf8(session.Transcript());
    EXPECT_FALSE(linker->isApplicationLocked(L"TovuPlatform.arx"));
    EXPECT_TRUE(linker->isAppMDIAware(L"TovuPlatform.arx"));
    EXPECT_FALSE(linker->loadModule(module.c_str(), false));  // loaded already
    AcEdCommand* sample = acedRegCmds->lookupCmd(L"SAMPLE", true);
    ASSERT_NE(sample, nullptr);
    EXPECT_STREQ(sample->groupName(), L"TovuPlatform");
    EXPECT_EQ(sample->commandFlags(), 2);

    session.ClearTranscript();
    session.ClearJournal();
    EXPECT_TRUE(standin::RunCommand(L"sample"));
    EXPECT_EQ(session.Transcript(), L"");  // "sample" returns at once and says nothing
    EXPECT_EQ(session.Journal().size(), 1u);

    ASSERT_TRUE(linker->unloadModule(L"TovuPlatform.arx"));
    EXPECT_EQ(acedRegCmds->lookupCmd(L"sample", true), nullptr);
    EXPECT_FALSE(standin::RunCommand(L"sample"));
    EXPECT_NE(session.Transcript().find(L"Unknown command \"SAMPLE\""), std::wstring::npos);
    EXPECT_EQ(GetModuleHandleW(L"TovuPlatform.arx"), nullptr);  // really unmapped
  }
}

}  // namespace
