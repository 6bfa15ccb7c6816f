// The distribution of the project a build made: the job taken from the built
// project and the results of its steps, and the build driver's entry point.
#include "BuildProject.h"
#include "Distribution.h"
#include "ZipSmth.h"

namespace tq {

TDistributionJob ProjectDistributionJob(const TBuildProject& project, const TBuildResults& results) {
  TDistributionJob job;
  job.PackageFile = project.OutputFile;
  job.AppDir = project.AppDir;
  job.ProductName = project.ProductName;
  job.ProductVersion = project.ProductVersion;
  job.CdImage = project.CdImage;
  job.IncludeMsi = project.IncludeMsi;
  job.HtmlUi = project.HtmlUi;
  job.FlashUi = project.FlashUi;
  job.LicenseHtml = project.LicenseHtml;
  job.ReadmeHtml = project.ReadmeHtml;
  job.LicenseFile = project.LicenseFile;
  job.ReadmeFile = project.ReadmeFile;
  job.FoundLicenseFile = results.FoundLicenseFile;
  job.FoundReadmeFile = results.FoundReadmeFile;
  job.PerMachine = project.PerMachine;
  job.DisableComplete = project.DisableComplete;
  job.DisableCustom = results.DisableCustomFlag != 0;
  job.Pages = project.SetupPages;
  job.FlashMovie = project.FlashMovie;
  job.FlashSupportFiles = project.FlashSupportFiles;
  return job;
}

TZipSmith& DistributionZip() {
  static TZipSmith zm;
  return zm;
}

TZipSmith& FloppyZip() {
  static TZipSmith zm2;
  return zm2;
}

void LayOutDistribution(const TBuildProject& project, const TBuildResults& results) {
  LayOutInWorkFolder(ProjectDistributionJob(project, results), DistributionZip(), FloppyZip());
}

}  // namespace tq
