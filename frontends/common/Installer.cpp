#include "Installer.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <vector>

namespace tq {

namespace {

void Check(UINT code, const std::string& operation) {
  if (code != ERROR_SUCCESS) throw EInstallerFailure(code, operation);
}

// The installer's own text for an error code, when it has one.
std::string ErrorText(unsigned code) {
  if (code == ERROR_INSTALL_USEREXIT) return "Installation cancelled by the user";
  char buf[512] = "";
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                           sizeof buf, nullptr);
  std::string s(buf, n);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

}  // namespace

EInstallerFailure::EInstallerFailure(unsigned code, const std::string& operation)
    : Exception("Installer error " + std::to_string(code) + " in " + operation +
                (ErrorText(code).empty() ? std::string() : ": " + ErrorText(code))),
      ErrorCode(code) {}

std::string TInstallerRecord::StringData(unsigned field) const {
  DWORD size = 0;
  char empty[1] = "";
  UINT r = MsiRecordGetStringA(FHandle.Get(), field, empty, &size);
  if (r != ERROR_MORE_DATA && r != ERROR_SUCCESS) Check(r, "Record.StringData");
  if (size == 0) return {};
  std::vector<char> buf(size + 1);
  DWORD len = DWORD(buf.size());
  Check(MsiRecordGetStringA(FHandle.Get(), field, buf.data(), &len), "Record.StringData");
  return std::string(buf.data(), len);
}

int TInstallerRecord::IntegerData(unsigned field) const {
  int v = MsiRecordGetInteger(FHandle.Get(), field);
  return v == int(MSI_NULL_INTEGER) ? 0 : v;
}

void TInstallerView::Execute() { Check(MsiViewExecute(FHandle.Get(), 0), "View.Execute"); }

std::optional<TInstallerRecord> TInstallerView::Fetch() {
  MSIHANDLE rec = 0;
  UINT r = MsiViewFetch(FHandle.Get(), &rec);
  if (r == ERROR_NO_MORE_ITEMS) return std::nullopt;
  Check(r, "View.Fetch");
  return TInstallerRecord(rec);
}

void TInstallerView::Close() { Check(MsiViewClose(FHandle.Get()), "View.Close"); }

TInstallerView TInstallerDatabase::OpenView(const std::string& sql) {
  MSIHANDLE view = 0;
  Check(MsiDatabaseOpenViewA(FHandle.Get(), sql.c_str(), &view), "Database.OpenView(" + sql + ")");
  return TInstallerView(view);
}

TInstallerDatabase TInstallerSession::Database() {
  MSIHANDLE db = MsiGetActiveDatabase(FHandle.Get());
  if (!db) throw EInstallerFailure(ERROR_INVALID_HANDLE, "Session.Database");
  return TInstallerDatabase(db);
}

void TInstaller::SetUILevel(int level) {
  FUILevel = level;
  MsiSetInternalUI(INSTALLUILEVEL(level), nullptr);
}

TInstallerSession TInstaller::OpenPackage(const std::string& path) {
  MSIHANDLE session = 0;
  Check(MsiOpenPackageA(path.c_str(), &session), "Installer.OpenPackage(" + path + ")");
  return TInstallerSession(session);
}

void TInstaller::EnableLog(const std::string& mode, const std::string& path) {
  DWORD flags = 0, attributes = 0;
  for (char c : mode) {
    if (c == 'v' || c == 'V') flags |= INSTALLLOGMODE_VERBOSE;
    if (c == '+') attributes |= INSTALLLOGATTRIBUTES_APPEND;
  }
  Check(MsiEnableLogA(flags, path.c_str(), attributes), "Installer.EnableLog");
}

void TInstaller::InstallProduct(const std::string& packagePath, const std::string& properties) {
  Check(MsiInstallProductA(packagePath.c_str(), properties.c_str()), "Installer.InstallProduct");
}

}  // namespace tq
