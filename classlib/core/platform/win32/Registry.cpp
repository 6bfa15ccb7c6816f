// TRegistry over the Win32 registry functions (ANSI).
#include "Registry.h"

#include <vector>

namespace tq {

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  if (root == FRootKey) return;
  CloseKey();
  FRootKey = root;
}

std::string TRegistry::SystemPath(const std::string& key, bool& relative) {
  relative = key.empty() || key[0] != '\\';
  std::string s = relative ? key : key.substr(1);
  return ExcludeTrailingPathDelimiter(s);
}

HKEY TRegistry::BaseKey(bool relative) const {
  return (relative && FCurrentKey != nullptr) ? FCurrentKey : FRootKey;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  bool relative;
  std::string path = SystemPath(key, relative);
  HKEY base = BaseKey(relative);
  HKEY result = nullptr;
  LONG rc;
  if (canCreate && !path.empty()) {
    DWORD disposition;
    rc = RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &result,
                         &disposition);
  } else {
    rc = RegOpenKeyExA(base, path.empty() ? nullptr : path.c_str(), 0, FAccess, &result);
  }
  if (rc != ERROR_SUCCESS) return false;
  bool nested = relative && FCurrentKey != nullptr;
  std::string newPath = nested ? (path.empty() ? FCurrentPath : FCurrentPath + "\\" + path) : path;
  CloseKey();
  FCurrentKey = result;
  FCurrentPath = newPath;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  REGSAM saved = FAccess;
  FAccess = KEY_READ;
  bool ok = OpenKey(key, false);
  FAccess = saved;
  return ok;
}

void TRegistry::CloseKey() {
  if (FCurrentKey != nullptr) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

bool TRegistry::KeyExists(const std::string& key) {
  bool relative;
  std::string path = SystemPath(key, relative);
  HKEY h;
  if (RegOpenKeyExA(BaseKey(relative), path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

bool TRegistry::CreateKey(const std::string& key) {
  bool relative;
  std::string path = SystemPath(key, relative);
  HKEY h;
  DWORD disposition;
  if (RegCreateKeyExA(BaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &h, &disposition) != ERROR_SUCCESS)
    return false;
  RegCloseKey(h);
  return true;
}

namespace {
bool DeleteTree(HKEY base, const std::string& path) {
  HKEY h;
  if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return false;
  std::vector<std::string> subKeys;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subKeys.emplace_back(name, len);
  }
  for (const std::string& sub : subKeys) DeleteTree(h, sub);
  RegCloseKey(h);
  return RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}
}  // namespace

bool TRegistry::DeleteKey(const std::string& key) {
  bool relative;
  std::string path = SystemPath(key, relative);
  if (path.empty()) return false;
  return DeleteTree(BaseKey(relative), path);
}

bool TRegistry::HasSubKeys() {
  DWORD count = 0;
  if (FCurrentKey == nullptr) return false;
  if (RegQueryInfoKeyA(FCurrentKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  return count > 0;
}

void TRegistry::GetKeyNames(TStrings& names) {
  names.BeginUpdate();
  names.Clear();
  if (FCurrentKey != nullptr) {
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(FCurrentKey, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.Add(std::string(name, len));
    }
  }
  names.EndUpdate();
}

void TRegistry::GetValueNames(TStrings& names) {
  names.BeginUpdate();
  names.Clear();
  if (FCurrentKey != nullptr) {
    std::vector<char> name(16384);
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(name.size());
      if (RegEnumValueA(FCurrentKey, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      names.Add(std::string(name.data(), len));
    }
  }
  names.EndUpdate();
}

bool TRegistry::ValueExists(const std::string& name) {
  if (FCurrentKey == nullptr) return false;
  return RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
  if (FCurrentKey == nullptr) return false;
  return RegDeleteValueA(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) {
  DWORD type = 0, size = 0;
  if (FCurrentKey == nullptr ||
      RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '%s'", {name});
  std::vector<char> buf(size + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
      ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '%s'", {name});
  std::string s(buf.data(), got);
  while (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

int TRegistry::ReadInteger(const std::string& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (FCurrentKey == nullptr || RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type,
                                                 reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
    if (FCurrentKey != nullptr && RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                                      ERROR_SUCCESS)
      throw ERegistryException("Invalid data type for '%s'", {name});
    throw ERegistryException("Failed to get data for '%s'", {name});
  }
  if (type != REG_DWORD) throw ERegistryException("Invalid data type for '%s'", {name});
  return static_cast<int>(value);
}

void TRegistry::PutData(const std::string& name, const void* data, DWORD size, DWORD type) {
  if (FCurrentKey == nullptr ||
      RegSetValueExA(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '%s'", {name});
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  PutData(name, value.c_str(), static_cast<DWORD>(value.size() + 1), REG_SZ);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  PutData(name, value.c_str(), static_cast<DWORD>(value.size() + 1), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
  DWORD v = static_cast<DWORD>(value);
  PutData(name, &v, sizeof v, REG_DWORD);
}

}  // namespace tq
