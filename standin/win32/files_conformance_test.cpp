// Conformance of Win32 files: creation dispositions, access rights, share modes, handle
// refusals, and MFC's CFile with its exceptions over them.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "testing/TempDir.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::WidePath;

std::string Contents(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Win32Files, CreationDispositionsAndTheirErrors) {
  tovutest::TempDir dir;
  const std::wstring path = WidePath(dir / "a.bin");
  SetLastError(0);
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(h, "hello", 5, &written, nullptr));
  EXPECT_EQ(written, 5u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "success, over an existing file";
  CloseHandle(h);
  EXPECT_EQ(Contents(dir / "a.bin"), "") << "CREATE_ALWAYS truncates";

  EXPECT_EQ(CreateFileW(WidePath(dir.path()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "a folder is no file";
  // TRUNCATE_EXISTING needs GENERIC_WRITE, which Wine does not ask for.
  h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

TEST(Win32Files, AccessRightsAndShareModesAreEnforced) {
  tovutest::TempDir dir;
  dir.Write("b.bin", "0123456789");
  const std::wstring path = WidePath(dir / "b.bin");
  HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  DWORD n = 99;
  EXPECT_FALSE(WriteFile(reader, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(n, 0u);
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_TRUE(ReadFile(reader, buffer, 4, &n, nullptr));
  EXPECT_EQ(std::string(buffer, 5), "0123#");
  EXPECT_EQ(SetFilePointer(reader, -2, nullptr, FILE_END), 8u);
  EXPECT_TRUE(ReadFile(reader, buffer, 16, &n, nullptr));
  EXPECT_EQ(n, 2u) << "fewer bytes at the end of the file";
  EXPECT_TRUE(ReadFile(reader, buffer, 16, &n, nullptr));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(SetFilePointer(reader, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(reader, &high), 10u);
  EXPECT_EQ(high, 0u);

  // A second reader is allowed by FILE_SHARE_READ; a writer is not, nor is a reader that
  // denies the first reader's access.
  HANDLE second = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_EQ(
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr),
      INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // A refused CREATE_ALWAYS must not have truncated the file.
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Contents(dir / "b.bin"), "0123456789");
  CloseHandle(second);
  CloseHandle(reader);

  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReadFile(writer, buffer, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(writer);
}

TEST(Win32Files, HandlesThatNameNoOpenFileAreRefused) {
  const HANDLE unknown = reinterpret_cast<HANDLE>(0x4242);
  char byte = 0;
  DWORD n = 99;
  auto expect = [](const char* call, bool refused, DWORD error) {
    EXPECT_TRUE(refused) << call;
    EXPECT_EQ(GetLastError(), error) << call;
    SetLastError(ERROR_SUCCESS);
  };
  SetLastError(ERROR_SUCCESS);
  expect("ReadFile", !ReadFile(unknown, &byte, 1, &n, nullptr) && n == 0, ERROR_INVALID_HANDLE);
  n = 99;
  expect("WriteFile", !WriteFile(unknown, &byte, 1, &n, nullptr) && n == 0, ERROR_INVALID_HANDLE);
  expect("GetFileSize", GetFileSize(unknown, nullptr) == INVALID_FILE_SIZE, ERROR_INVALID_HANDLE);
  expect("SetFilePointer", SetFilePointer(unknown, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER,
         ERROR_INVALID_HANDLE);
  // The handle is looked at before anything else. (Storage for an OVERLAPPED, whose members
  // Windows may set before it looks.)
  alignas(8) unsigned char storage[64] = {};
  auto* overlapped = reinterpret_cast<OVERLAPPED*>(storage);
  expect("ReadFile, overlapped", !ReadFile(unknown, &byte, 1, nullptr, overlapped), ERROR_INVALID_HANDLE);
  expect("WriteFile, overlapped", !WriteFile(unknown, &byte, 1, nullptr, overlapped), ERROR_INVALID_HANDLE);
}

TEST(MfcFile, OpenReadSeekAndExceptions) {
  tovutest::TempDir dir;
  dir.Write("c.bin", "abcdef");
  const std::wstring path = WidePath(dir / "c.bin");
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(WidePath(dir / "missing.bin").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);

  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead)) << "already open";
  EXPECT_EQ(file.GetLength(), 6u);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 4), 4u);
  EXPECT_EQ(file.GetPosition(), 4u);
  EXPECT_EQ(file.Read(buffer, 8), 2u);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  EXPECT_EQ(file.Seek(1, CFile::begin), 1u);
  EXPECT_EQ(file.Read(buffer, 1), 1u);
  EXPECT_EQ(buffer[0], 'b');

  // shareDenyWrite keeps writers out while the file is open.
  bool thrown = false;
  try {
    CFile writer(path.c_str(), CFile::modeWrite);
  } catch (CFileException* e) {
    thrown = true;
    EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  try {
    file.Write("x", 1);
    ADD_FAILURE() << "a read-only CFile wrote";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    e->Delete();
  }
  file.Close();
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);

  {
    CFile writer;
    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    writer.Write("xyz", 3);
  }  // the destructor closes it
  EXPECT_EQ(Contents(dir / "c.bin"), "xyz");
  CFile again;
  EXPECT_TRUE(again.Open(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive));
}

}  // namespace
