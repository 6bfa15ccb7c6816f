#pragma once
// Windows Installer as the front-ends use it: the installer service at a user
// interface level, a package opened as a session, its database, views, records,
// the verbose log and the installation itself. The calls and their order are
// those of the installer's automation object (Installer.UILevel, OpenPackage,
// Session.Database, Database.OpenView, View.Execute/Fetch/Close,
// Record.StringData/IntegerData, EnableLog, InstallProduct); they go to msi.dll
// directly, which calls the external handler on the thread that installs.
//
// Every failure raises EInstallerFailure with the operation and the installer's
// error code (1602: cancelled by the user).
#include <optional>
#include <string>

#include "../../builder/MsiHandle.h"
#include "SysUtils.h"

namespace tq {

class EInstallerFailure : public Exception {
 public:
  EInstallerFailure(unsigned code, const std::string& operation);
  unsigned ErrorCode = 0;
};

class TInstallerRecord {
 public:
  explicit TInstallerRecord(MSIHANDLE h) : FHandle(h) {}
  std::string StringData(unsigned field) const;
  int IntegerData(unsigned field) const;  // 0 for an empty field

 private:
  TMsiHandle FHandle;
};

class TInstallerView {
 public:
  explicit TInstallerView(MSIHANDLE h) : FHandle(h) {}
  void Execute();  // without a parameter record
  std::optional<TInstallerRecord> Fetch();  // nothing past the last row
  void Close();

 private:
  TMsiHandle FHandle;
};

class TInstallerDatabase {
 public:
  explicit TInstallerDatabase(MSIHANDLE h) : FHandle(h) {}
  TInstallerView OpenView(const std::string& sql);

 private:
  TMsiHandle FHandle;
};

class TInstallerSession {
 public:
  explicit TInstallerSession(MSIHANDLE h) : FHandle(h) {}
  TInstallerDatabase Database();

 private:
  TMsiHandle FHandle;
};

// Installer.UILevel values.
constexpr int msiUILevelNone = 2;

class TInstaller {
 public:
  TInstaller() = default;
  TInstaller(const TInstaller&) = delete;
  TInstaller& operator=(const TInstaller&) = delete;
  void SetUILevel(int level);
  int UILevel() const { return FUILevel; }
  TInstallerSession OpenPackage(const std::string& path);
  // mode: the log letters ("v": verbose); path: the log file.
  void EnableLog(const std::string& mode, const std::string& path);
  // Returns when the installation has ended; raises on failure or cancel.
  void InstallProduct(const std::string& packagePath, const std::string& properties);

 private:
  int FUILevel = 5;
};

}  // namespace tq
