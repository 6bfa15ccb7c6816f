#include "FrontEndForm.h"

#include <windows.h>

#include "FileUtils.h"
#include "SysUtils.h"

namespace tq {

std::string InstallTypeName(int installType) {
  return installType >= 0 && installType < 3 ? kInstallTypeNames[installType] : "";
}

TFrontEndForm::TFrontEndForm(TComponent* owner) : TForm(owner) {}

void TFrontEndForm::ReadCommandLine() {
  ProgramFolder = ExtractFilePath(ParamStr(0));
  PackageArgument = ParamCount() >= 1 ? ParamStr(1) : std::string();
}

std::vector<TFeatureRow> ReadFeatureRows(TInstaller& installer, const std::string& packagePath) {
  TInstallerSession session = installer.OpenPackage(packagePath);
  TInstallerDatabase db = session.Database();
  TInstallerView view = db.OpenView("Select * from Feature");
  view.Execute();
  std::vector<TFeatureRow> rows;
  while (std::optional<TInstallerRecord> rec = view.Fetch()) {
    TFeatureRow row;
    row.Name = rec->StringData(1);
    if (LowerCase(row.Name) != "brindleregdata") {
      row.Parent = rec->StringData(2);
      row.Description = rec->StringData(4);
      row.Display = rec->IntegerData(5);
      row.Level = rec->IntegerData(6);
    }
    rows.push_back(std::move(row));
  }
  view.Close();
  return rows;
}

std::vector<std::string> TFrontEndForm::LoadFeatureTree() {
  TInstaller installer;
  installer.SetUILevel(msiUILevelNone);
  std::vector<TFeatureRow> rows = ReadFeatureRows(installer, PackagePath());
  return PlaceFeatureRows(FFeatureTree->Items(), rows, FFeatureRecords);
}

TTreeNode* TFrontEndForm::FindFeatureNode(const std::string& name) const {
  return tq::FindFeatureNode(FFeatureTree->Items(), name);
}

std::string TFrontEndForm::GetPackageBaseName() const {
  const std::string name = ExtractFileName(PackageArgument);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  return name.substr(0, dot);
}

void TFrontEndForm::ReadManufacturer(TInstaller& installer, bool raiseOnOpen) {
  CompanyName.clear();
  std::optional<TInstallerSession> session;
  try {
    session.emplace(installer.OpenPackage(PackagePath()));
  } catch (...) {
    if (raiseOnOpen) throw;
    return;
  }
  try {
    TInstallerDatabase db = session->Database();
    TInstallerView view = db.OpenView("Select * from Property Where Property='Manufacturer'");
    view.Execute();
    if (std::optional<TInstallerRecord> rec = view.Fetch()) CompanyName = rec->StringData(2);
    view.Close();
  } catch (...) {
    CompanyName.clear();
  }
}

bool PlatformIsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

}  // namespace tq
