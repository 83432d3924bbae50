// Just enough of the Win32 file API, behaving as Windows does, for reading and writing BMP and
// picture files.
#include <fileapi.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <type_traits>

#include "standin/win32/utf8.h"

namespace {

struct OpenFile {
  int fd = -1;
  DWORD access = 0;
  DWORD share = 0;
  dev_t dev = 0;
  ino_t ino = 0;
  std::wstring path;
};

struct FileTable {
  std::mutex mutex;
  std::map<HANDLE, OpenFile> files;
  uintptr_t next = 0x100;
};

FileTable& Table() {
  static FileTable* table = new FileTable;
  return *table;
}

DWORD ErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

bool Reads(DWORD access) { return (access & (GENERIC_READ | GENERIC_ALL)) != 0; }
bool Writes(DWORD access) { return (access & (GENERIC_WRITE | GENERIC_ALL)) != 0; }

// Windows refuses an open when either side's access is not allowed by the other's share mode.
bool SharingConflicts(const OpenFile& existing, DWORD access, DWORD share) {
  if (Reads(access) && !(existing.share & FILE_SHARE_READ)) return true;
  if (Writes(access) && !(existing.share & FILE_SHARE_WRITE)) return true;
  if (Reads(existing.access) && !(share & FILE_SHARE_READ)) return true;
  if (Writes(existing.access) && !(share & FILE_SHARE_WRITE)) return true;
  return false;
}

// The open file a handle names, with the table locked; null, with ERROR_INVALID_HANDLE, for any
// other handle.
OpenFile* Find(FileTable& table, HANDLE h) {
  auto it = table.files.find(h);
  if (it != table.files.end()) return &it->second;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

// ReadFile (into BYTEs) and WriteFile (from const BYTEs): the whole count is moved unless reading
// meets the end of the file or a call fails; the count moved is reported either way.
template <class Byte>
BOOL Transfer(HANDLE hFile, Byte* buffer, DWORD count, LPDWORD done, LPOVERLAPPED lpOverlapped) {
  constexpr bool write = std::is_const_v<Byte>;
  if (done) *done = 0;
  FileTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const OpenFile* file = Find(table, hFile);
  if (!file) return FALSE;
  if (lpOverlapped) {
    std::fprintf(stderr, "%s: overlapped %s are not supported by the stand-in\n", write ? "WriteFile" : "ReadFile",
                 write ? "writes" : "reads");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!(write ? Writes(file->access) : Reads(file->access))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD total = 0;
  while (total < count) {
    ssize_t n;
    if constexpr (write)
      n = ::write(file->fd, buffer + total, count - total);
    else
      n = ::read(file->fd, buffer + total, count - total);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 && !write) break;
    if (n <= 0) {
      // A write that moves nothing means the disk is full.
      SetLastError(n < 0 ? ErrorFromErrno(errno) : ERROR_DISK_FULL);
      if (done) *done = total;
      return FALSE;
    }
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  return TRUE;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD, HANDLE hTemplateFile) {
  if (!lpFileName || !*lpFileName || dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING ||
      hTemplateFile) {
    SetLastError(!lpFileName || !*lpFileName ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (dwCreationDisposition == TRUNCATE_EXISTING && !Writes(dwDesiredAccess)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string path = standin::ToUtf8(lpFileName);
  struct stat st;
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if (existed && dwCreationDisposition == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  if (!existed && (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING)) {
    const int err = errno;
    SetLastError(err == ENOENT ? ERROR_FILE_NOT_FOUND : ErrorFromErrno(err));
    return INVALID_HANDLE_VALUE;
  }

  int flags = O_CLOEXEC;
  if (Reads(dwDesiredAccess) && Writes(dwDesiredAccess))
    flags |= O_RDWR;
  else if (Writes(dwDesiredAccess))
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  if (!existed) flags |= O_CREAT | (dwCreationDisposition == CREATE_NEW ? O_EXCL : 0);

  FileTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  struct stat opened;
  ::fstat(fd, &opened);
  for (const auto& entry : table.files) {
    const OpenFile& other = entry.second;
    if (other.dev == opened.st_dev && other.ino == opened.st_ino &&
        SharingConflicts(other, dwDesiredAccess, dwShareMode)) {
      ::close(fd);
      SetLastError(ERROR_SHARING_VIOLATION);
      return INVALID_HANDLE_VALUE;
    }
  }
  if (existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING) &&
      ::ftruncate(fd, 0) != 0) {
    const DWORD error = ErrorFromErrno(errno);
    ::close(fd);
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  OpenFile file;
  file.fd = fd;
  file.access = dwDesiredAccess;
  file.share = dwShareMode;
  file.dev = opened.st_dev;
  file.ino = opened.st_ino;
  file.path = lpFileName;
  const HANDLE handle = reinterpret_cast<HANDLE>(table.next);
  table.next += 4;
  table.files.emplace(handle, std::move(file));
  // Success still reports whether an existing file was opened over.
  const bool reportsExisting = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
  SetLastError(existed && reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
  return Transfer(hFile, static_cast<BYTE*>(lpBuffer), nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped);
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
  return Transfer(hFile, static_cast<const BYTE*>(lpBuffer), nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                  lpOverlapped);
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  FileTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const OpenFile* file = Find(table, hFile);
  struct stat st;
  if (!file || ::fstat(file->fd, &st) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  FileTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const OpenFile* file = Find(table, hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  if (dwMoveMethod > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  // Without the high part the distance is a signed 32-bit value, as on Windows.
  int64_t distance =
      lpDistanceToMoveHigh
          ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                 static_cast<DWORD>(lDistanceToMove))
          : lDistanceToMove;
  const int fd = file->fd;
  const off_t base = dwMoveMethod == FILE_BEGIN     ? 0
                     : dwMoveMethod == FILE_CURRENT ? ::lseek(fd, 0, SEEK_CUR)
                                                    : ::lseek(fd, 0, SEEK_END);
  const int64_t target = static_cast<int64_t>(base) + distance;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  ::lseek(fd, static_cast<off_t>(target), SEEK_SET);
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target);
}

BOOL CloseHandle(HANDLE hObject) {
  FileTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const OpenFile* file = Find(table, hObject);
  if (!file) return FALSE;
  ::close(file->fd);
  table.files.erase(hObject);
  return TRUE;
}
