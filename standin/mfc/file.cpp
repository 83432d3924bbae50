// MFC's CFile and CFileException over the Win32 file API, behaving as MFC's do: failures are
// thrown as CFileException pointers carrying the system's error code.
#include <afx.h>


int CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case ERROR_SUCCESS:
      return none;
    case ERROR_FILE_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
      return invalidFile;
    case ERROR_NEGATIVE_SEEK:
      return badSeek;
    case ERROR_SHARING_VIOLATION:
      return sharingViolation;
    case ERROR_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return genericException;
  }
}

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {
[[noreturn]] void ThrowFileException(LONG osError, const CString& fileName) {
  throw new CFileException(CFileException::OsErrorToException(osError), osError, fileName);
}
}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : CFile() {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error)) throw new CFileException(error);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) {
    if (pError) *pError = CFileException(CFileException::genericException, ERROR_INVALID_PARAMETER, lpszFileName);
    return FALSE;
  }
  DWORD access;
  switch (nOpenFlags & 3) {
    case modeRead:
      access = GENERIC_READ;
      break;
    case modeWrite:
      access = GENERIC_WRITE;
      break;
    case modeReadWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      break;
    default:
      if (pError) *pError = CFileException(CFileException::genericException, ERROR_INVALID_PARAMETER, lpszFileName);
      return FALSE;
  }
  DWORD share;
  switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
      share = FILE_SHARE_READ;
      break;
    case shareDenyRead:
      share = FILE_SHARE_WRITE;
      break;
    case shareDenyNone:
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
    default:  // shareCompat, shareExclusive
      share = 0;
      break;
  }
  const DWORD disposition =
      (nOpenFlags & modeCreate) ? ((nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS) : OPEN_EXISTING;
  const HANDLE h = CreateFileW(lpszFileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const LONG error = static_cast<LONG>(GetLastError());
    if (pError) *pError = CFileException(CFileException::OsErrorToException(error), error, lpszFileName);
    return FALSE;
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  m_strFileName = lpszFileName;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD read = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &read, nullptr))
    ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
  return read;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD written = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &written, nullptr))
    ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
  if (written < nCount) throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONG high = static_cast<LONG>(static_cast<ULONGLONG>(lOff) >> 32);
  const DWORD low = SetFilePointer(m_hFile, static_cast<LONG>(lOff & 0xFFFFFFFF), &high, nFrom);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS)
    ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
  return (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
}

ULONGLONG CFile::GetPosition() const {
  LONG high = 0;
  const DWORD low = SetFilePointer(m_hFile, 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS)
    ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
  return (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
}

ULONGLONG CFile::GetLength() const {
  DWORD high = 0;
  const DWORD low = GetFileSize(m_hFile, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS)
    ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
  return (static_cast<ULONGLONG>(high) << 32) | low;
}

void CFile::Close() {
  BOOL ok = TRUE;
  if (m_hFile != hFileNull) ok = CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  if (!ok) ThrowFileException(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
}
