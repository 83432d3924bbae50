// Settings kept in the registry: a binding object stands for one key below its master's path
// and ties program variables to named values of that key; the master is the root of one
// application's settings and runs Init, Read and Store over all its objects at once.
#pragma once

#include <vector>

#include "platform/Export.h"
#include "platform/Win32.h"

class ZoPtRegistry;

// One registry key, below the key path of its master, with typed reads and writes of its
// values and variables bound to value names. The key is opened on first use and kept open;
// every operation returns true on success and keeps the registry's result (GetLastResult).
class TOVU_PLATFORM_API ZoPtRegistryBase {
 public:
  // A null class name gives "Class" followed by the key. With a master the object registers
  // itself with it; bOwnedByMaster makes the master delete it when the master goes.
  ZoPtRegistryBase(const wchar_t* pszKey, bool bVersioned, const wchar_t* pszClassName, ZoPtRegistry* pMaster,
                   bool bOwnedByMaster);
  virtual ~ZoPtRegistryBase();
  // Copies would share one open key and one place in the master's list: not offered.
  ZoPtRegistryBase(const ZoPtRegistryBase&) = delete;
  ZoPtRegistryBase& operator=(const ZoPtRegistryBase&) = delete;

  void SetObjectKey(const wchar_t* pszKey);
  void SetClassname(const wchar_t* pszClassName);
  void SetMaster(ZoPtRegistry* pMaster);
  // REQUIRES: a predefined key such as HKEY_CURRENT_USER (HKEY_LOCAL_MACHINE by default).
  void SetTopRootKey(HKEY hTopRootKey);
  CString GetKey() const;
  // The master's root key path for this object's versioned flag; empty without a master.
  CString GetMasterKey() const;
  // The result code of the last registry call made for this object.
  LONG GetLastResult() const { return m_lLastResult; }

  // Writes open the key, creating it when needed. A key that a read opened stays open for
  // reading only, so writes through it fail with ERROR_ACCESS_DENIED until it is closed.
  bool SetValue(const wchar_t* pszName, DWORD dwValue);
  bool SetValue(const wchar_t* pszName, int nValue);
  bool SetValue(const wchar_t* pszName, bool bValue);
  // Stored as text in "%g" form (six significant digits).
  bool SetValue(const wchar_t* pszName, double dValue);
  bool SetValue(const wchar_t* pszName, const wchar_t* pszText, bool bExpand = false);
  bool SetValue(const wchar_t* pszName, BYTE* pData, DWORD dwSize);
  // One REG_MULTI_SZ value from a list of texts ended by a null pointer: each text with its
  // zero, and one more zero at the end, as the registry stores lists. A list holding an empty
  // text, which a reader would take for the end of the list, is refused (ERROR_INVALID_PARAMETER)
  // and nothing is written.
  bool SetValue(const wchar_t* pszName, const wchar_t* const* ppszTexts);

  // Reads never create the key. A value of another registry type is refused, and a failed
  // read leaves the variable as it was, except a DWORD, which is 0 after any failure.
  bool GetValue(const wchar_t* pszName, DWORD& dwValue);
  bool GetValue(const wchar_t* pszName, int& nValue);
  // Only a REG_BINARY value counts.
  bool GetValue(const wchar_t* pszName, bool& bValue);
  bool GetValue(const wchar_t* pszName, double& dValue);
  // pbExpanded receives whether the text is REG_EXPAND_SZ; references are not expanded.
  bool GetValue(const wchar_t* pszName, CString& strValue, bool* pbExpanded = nullptr);
  // A text longer than the buffer is cut to dwCount - 1 characters and terminated inside it.
  bool GetValue(const wchar_t* pszName, wchar_t* pszBuffer, DWORD dwCount, bool* pbExpanded = nullptr);
  // Copies at most dwSize bytes of a REG_BINARY value.
  bool GetValue(const wchar_t* pszName, BYTE* pBuffer, DWORD dwSize);

  // The variables must outlive every Read and Store of this object.
  bool AttachValue(DWORD* pdwValue, const wchar_t* pszName);
  bool AttachValue(CString* pstrValue, const wchar_t* pszName);
  bool AttachValue(bool* pbValue, const wchar_t* pszName);
  bool AttachValue(int* pnValue, const wchar_t* pszName);
  // Stored as a REG_DWORD, as a 32-bit long is on Windows.
  bool AttachValue(long* plValue, const wchar_t* pszName);

  // Reads the bound variables when the key exists, else writes their values as defaults.
  bool Init();
  // Bound variables in the order DWORD, int, bool, text; then Exchange. The single reads and
  // writes do not make the result.
  virtual bool Store();
  virtual bool Read();
  // Where a derived class reads (false) or writes (true) the settings it does not bind.
  virtual bool Exchange(bool bStoring);

 protected:
  ZoPtRegistryBase();

  bool Open(bool bCreate);
  void Close();
  bool CheckExists();
  // Reads the named value into the value buffer.
  bool GetValue(const wchar_t* pszName);

 private:
  friend class ZoPtRegistry;

  enum class BindingKind { Unsigned, Long, Text, Integer, Flag };
  struct Binding {
    CString m_strName;
    void* m_pVariable;
    BindingKind m_kind;
  };

  bool SetRaw(const wchar_t* pszName, DWORD dwType, const BYTE* pData, DWORD dwSize);
  void ReleaseValue();
  void Clear();

 protected:
  ZoPtRegistry* m_pMaster = nullptr;
  CString m_strKey;
  CString m_strClassName;
  LONG m_lLastResult = ERROR_SUCCESS;
  HKEY m_hKey = nullptr;
  DWORD m_dwDisposition = 0;
  bool m_bOpen = false;
  bool m_bVersioned = false;
  bool m_bOwnedByMaster = false;

 private:
  std::vector<Binding> m_unsignedBindings;
  std::vector<Binding> m_textBindings;
  std::vector<Binding> m_integerBindings;
  std::vector<Binding> m_flagBindings;

 protected:
  HKEY m_hTopRootKey = HKEY_LOCAL_MACHINE;
  std::vector<BYTE> m_valueBuffer;
  DWORD m_dwValueType = 0;
  DWORD m_dwValueSize = 0;
};

// A binding object's handle for callers: the object's address.
typedef ULONGLONG ZoPtRegHandle;

// The root of one application's settings: root key path \ [version \] object key. It is its
// own master, so it has a key and values of its own besides the objects below it.
class TOVU_PLATFORM_API ZoPtRegistry : public ZoPtRegistryBase {
 public:
  // Versioned when dVersion > 0; the version level is dVersion in "%lf" form ("2.000000").
  ZoPtRegistry(const wchar_t* pszRootKey, const wchar_t* pszKey, double dVersion);
  ZoPtRegistry(const wchar_t* pszRootKey, const wchar_t* pszKey);
  // Deletes the objects made by CreateSubKey; objects that callers made are only forgotten,
  // and may outlive the master (they can no longer open their keys).
  ~ZoPtRegistry() override;
  // Two masters would delete the same objects: copies are not offered.
  ZoPtRegistry(const ZoPtRegistry&) = delete;
  ZoPtRegistry& operator=(const ZoPtRegistry&) = delete;

  void SetRootKey(const wchar_t* pszRootKey, double dVersion);
  CString GetRootKey(bool bVersioned) const;
  CString GetVersion() const;

  // A new object below this master, deleted with it. Nothing is written yet.
  ZoPtRegHandle CreateSubKey(const wchar_t* pszKey, bool bVersioned, const wchar_t* pszClassName = nullptr);
  // Appends without a duplicate check; the master itself is never registered.
  void Register(ZoPtRegistryBase* pObject);
  void Unregister(ZoPtRegistryBase* pObject);
  bool LookUp(ZoPtRegistryBase* pObject, int* pnIndex = nullptr) const;
  // Null when the handle's object is not registered here.
  ZoPtRegistryBase* LookUp(ZoPtRegHandle hObject) const;
  // REQUIRES: a handle of a live object (unchecked).
  ZoPtRegistryBase* GetRegObject(ZoPtRegHandle hObject) const;

  // False when the handle's object is not registered here.
  bool AttachValue(ZoPtRegHandle hObject, CString* pstrValue, const wchar_t* pszName);
  bool AttachValue(ZoPtRegHandle hObject, DWORD* pdwValue, const wchar_t* pszName);
  bool AttachValue(ZoPtRegHandle hObject, long* plValue, const wchar_t* pszName);
  bool AttachValue(ZoPtRegHandle hObject, bool* pbValue, const wchar_t* pszName);
  bool AttachValue(ZoPtRegHandle hObject, int* pnValue, const wchar_t* pszName);
  using ZoPtRegistryBase::AttachValue;

  // Over the registered objects in order, not the master's own values: the last object's
  // result, true with no objects.
  virtual bool Init();
  bool Read() override;
  bool Store() override;

  // Reads a value of a key under hRoot into the buffer. A missing key or value shows
  // "Reg Fail"; a value larger than the buffer gives false without a message.
  static bool ReadValue(HKEY hRoot, const wchar_t* pszSubKey, const wchar_t* pszValueName, BYTE* pBuffer, DWORD dwSize);

 protected:
  ZoPtRegistry();

 private:
  void Clear();

  CString m_strRootKey;
  CString m_strVersion;
  CString m_strVersionedRootKey;
  CString m_strPlainRootKey;
  std::vector<ZoPtRegistryBase*> m_objects;
  bool m_bClearing = false;
};
