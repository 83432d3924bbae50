// Just enough of MFC's core, behaving as MFC does: the extension-module support and module
// state an extension module such as the platform module initialises and terminates itself
// with, exceptions thrown by pointer, and CFile over the Win32 file API.
#pragma once

#include <afxstr.h>
#include <windows.h>

// MFC's calling convention for its global functions.
#ifndef AFXAPI
#if defined(_WIN32)
#define AFXAPI __stdcall
#else
#define AFXAPI
#endif
#endif

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
};

class CDynLinkLibrary {
 public:
  // Links itself into the module state's library chain, which owns it from then on.
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  virtual ~CDynLinkLibrary();

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
  CDynLinkLibrary* m_pNextDLL;
};

struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle;
  HINSTANCE m_hCurrentResourceHandle;
  CDynLinkLibrary* m_libraryList;
};

AFX_MODULE_STATE* AfxGetModuleState();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// Refuses a null module handle (returns FALSE); a second call for an initialised record only
// succeeds again, as MFC's does.
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the chain's libraries of this module (of every module when bAll).
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class CException {
 public:
  virtual ~CException() = default;
  // MFC throws exceptions by pointer; the catcher deletes them with Delete.
  void Delete() { delete this; }
};

class CFileException : public CException {
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}
  static int OsErrorToException(LONG lOsError);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CFile {
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
  static const HANDLE hFileNull;

  CFile();
  explicit CFile(HANDLE hFile);
  // Throws a CFileException* when the file cannot be opened, as MFC's does.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // FALSE (with the cause in pError when given) when the file cannot be opened, or when this
  // object already has a file open.
  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  // The number of bytes read (fewer at the end of the file); throws CFileException* on failure.
  virtual UINT Read(void* lpBuf, UINT nCount);
  // Throws CFileException* on failure, diskFull when fewer bytes were written.
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  void SeekToBegin() { Seek(0, begin); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void Close();
  // Closes without throwing.
  virtual void Abort();
  virtual CString GetFilePath() const { return m_strFileName; }
  operator HANDLE() const { return m_hFile; }

  HANDLE m_hFile;

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};
