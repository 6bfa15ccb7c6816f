#pragma once
// TRegistry: keys and values of the Windows registry (Windows builds only).
// A key path is relative to the open key, or with a leading "\" relative to
// RootKey; the "\" itself is never passed on to the system, which rejects it.
#ifdef _WIN32
#include <windows.h>

#include <string>

#include "Classes.h"
#include "FileUtils.h"  // takes back names windows.h maps (DeleteFile, ...)

namespace tq {

class TRegistry : public TObject {
 public:
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : FAccess(access) {}
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY root);  // closes the open key
  HKEY CurrentKey() const { return FCurrentKey; }
  const std::string& CurrentPath() const { return FCurrentPath; }
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM access) { FAccess = access; }

  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool DeleteKey(const std::string& key);  // with its sub-keys
  bool CreateKey(const std::string& key);
  bool HasSubKeys();
  void GetKeyNames(TStrings& names);
  void GetValueNames(TStrings& names);

  // Values of the open key. A missing string reads as ""; a missing integer,
  // or a value of another type, raises ERegistryException.
  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);
  std::string ReadString(const std::string& name);
  int ReadInteger(const std::string& name);
  bool ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, int value);
  void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

  // The path the system is given for key (exposed for tests): the leading "\"
  // removed, and whether it is relative to the open key.
  static std::string SystemPath(const std::string& key, bool& relative);

 private:
  HKEY BaseKey(bool relative) const;
  void PutData(const std::string& name, const void* data, DWORD size, DWORD type);
  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  std::string FCurrentPath;
  REGSAM FAccess;
};

}  // namespace tq
#endif  // _WIN32
