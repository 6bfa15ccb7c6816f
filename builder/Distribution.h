#pragma once
// The distribution a build lays out beside its package: a CD image (one
// self-extracting Setup.exe in "CD-Image\") or floppy images (Setup001.zip,
// Setup002.zip, ... in "Floppy-Images\", each at most 1,300,000 bytes), with
// setup.ini beside the package and, for the Flash front-end, install.bat.
//
// The build driver calls, once every build step has succeeded, with the
// project it built and the results of its steps:
//   LayOutDistribution(project, results);   // CD image: MakeDistribution, else MakeFloppyDistribution
// Every failure (a missing file, a copy that fails, the zip component's add,
// self-extractor conversion or spanning) raises EDistributionError with a
// message for the build's error dialog: a build never ends "complete" without
// a usable distribution.
//
// The layer below takes a TDistributionJob, made from the built project by
// ProjectDistributionJob (DistributionProject.cpp), so that it can be driven
// and tested without a window.
#include <string>
#include <vector>

#include "SysUtils.h"

namespace tq {

class TZipSmith;
struct TBuildProject;
struct TBuildResults;

// The distribution could not be laid out.
TQ_EXCEPTION_CLASS(EDistributionError, Exception);

// One setup page of the HTML front-end, in the pages' fixed order.
struct TDistributionPage {
  std::string Page;        // "Welcome", "License", ... "Finish"
  std::string OutputName;  // the generated page's file name in the package folder
  std::vector<std::string> SupportFiles;  // as stored, full paths
  bool Included = true;    // License, Readme, CustInfo and Group may be left out
};

// Everything the distribution needs of the open project.
struct TDistributionJob {
  std::string PackageFile;     // the built package (full path)
  std::string AppDir;          // the program folder, with a trailing "\"
  std::string ProductName;
  std::string ProductVersion;  // the whole text; setup.ini keeps major.minor
  bool CdImage = true;
  bool IncludeMsi = false;     // the Windows Installer redistributables
  bool HtmlUi = false;
  bool FlashUi = false;
  bool LicenseHtml = false, ReadmeHtml = false;
  std::string LicenseFile, ReadmeFile;            // the Gui page's edits
  std::string FoundLicenseFile, FoundReadmeFile;  // the choices' "license.txt"/"readme.txt"
  bool PerMachine = false;
  bool DisableComplete = false;
  bool DisableCustom = false;
  std::vector<TDistributionPage> Pages;  // the eleven pages in order (HTML front-end)
  std::string FlashMovie;                // the Flash GUI program (full path)
  std::vector<std::string> FlashSupportFiles;
  // Appended to the distribution folder's name: the build lays the
  // distribution out in "CD-Image.partial\" (setup.ini and install.bat too)
  // and moves it in when complete.
  std::string FolderSuffix;
};

// The suffix of the work folder the build lays the distribution out in.
inline constexpr char DistributionWorkSuffix[] = ".partial";

// ---- names ----
std::string DistributionPackageDir(const TDistributionJob& job);  // with "\"
std::string DistributionDir(const TDistributionJob& job);         // "CD-Image\" or "Floppy-Images\" (+ suffix)
// setup.ini and install.bat of a job with a FolderSuffix are in its work folder.
std::string SetupIniPath(const TDistributionJob& job);            // beside the package
std::string UninstallerCopyPath(const TDistributionJob& job);     // AppDir + "Uninstall<product>.exe"
std::string InstallBatPath(const TDistributionJob& job);          // AppDir + "install.bat"
std::string FloppyWholeArchivePath(const TDistributionJob& job);  // DistributionDir + "<product>FloppySetup.zip"
// The file name of the n-th volume (0-based) of a spanned set on a fixed drive.
std::string FloppyVolumeName(int volume);  // "Setup001.zip", ...

// ---- contents ----
// The files of Setup.zip, full paths, in their order in the archive.
std::vector<std::string> DistributionMembers(const TDistributionJob& job);
// Writes setup.ini anew beside the package.
void WriteSetupIni(const TDistributionJob& job);
// The text of install.bat for a package (its file name is quoted: default
// package names hold blanks).
std::string InstallBatText(const std::string& msiName);
void WriteInstallBat(const TDistributionJob& job);

// ---- laying out ----
// The zip components' settings for the CD archive and self-extractor (zm) and
// for the floppy spanning (zm2); the engine and stub are looked for in appDir.
void ApplyCdZipSettings(TZipSmith& zm, const std::string& appDir);
void ApplyFloppyZipSettings(TZipSmith& zm2, const std::string& appDir);
// Writes Setup.exe into DistributionDir(job) (for a floppy job the first half
// of the floppy images).
void MakeDistribution(const TDistributionJob& job, TZipSmith& zm);
// MakeDistribution, then spans Setup.exe over volumes; Floppy-Images\ keeps
// the volumes only (volumes of an earlier set are removed first).
void MakeFloppyDistribution(const TDistributionJob& job, TZipSmith& zm, TZipSmith& zm2);
// Lays the distribution out in a work folder beside the distribution folder
// (its name + DistributionWorkSuffix; one left by a killed build goes first)
// and, once it is complete, moves its files into the folder, each replacing
// its old one in one rename (floppy volumes of an earlier set go first), then
// setup.ini beside the package and install.bat into the program folder,
// written in the work folder too. A failure leaves the old distribution,
// setup.ini and install.bat as they were and no work folder.
void LayOutInWorkFolder(TDistributionJob job, TZipSmith& zm, TZipSmith& zm2);

// ---- the built project ----
TDistributionJob ProjectDistributionJob(const TBuildProject& project, const TBuildResults& results);
// The zip components the distribution uses.
TZipSmith& DistributionZip();
TZipSmith& FloppyZip();
// The one entry point of the build driver (LayOutInWorkFolder).
void LayOutDistribution(const TBuildProject& project, const TBuildResults& results);

// Deletes every file in tempPath + "tempcab\" (sub-folders and files that
// cannot be deleted stay; nothing is reported).
void ClearTempCab(const std::string& tempPath);

}  // namespace tq
