#pragma once
// A build never puts a half-written package in place of a good one: the Build
// command has the steps build into a work file beside the package,
//   <package>.partial
// and only a complete build puts it in the package's place, in one rename. The
// old package stays beside it as "<package>.previous" while the distribution
// is laid out from the new one; a distribution that fails brings the old
// package back. Whatever ends the build, no work file stays behind; those of a
// build that was killed are removed when the next one starts.
//
//   TPackageWork work(project.OutputFile);  // the steps now build into work.WorkFile()
//   ... table steps, cabinet phase ...       // (BuiltPackageFile(project.OutputFile))
//   work.PutInPlace();                      // the package is the new one
//   LayOutDistribution(project, results);
//   work.Keep();                            // the old package goes
#include <string>

namespace tq {

class TPackageWork {
 public:
  explicit TPackageWork(const std::string& package);
  // Not kept: the old package is back in its place (none when there was none)
  // and the work file is gone.
  ~TPackageWork();
  TPackageWork(const TPackageWork&) = delete;
  TPackageWork& operator=(const TPackageWork&) = delete;

  const std::string& WorkFile() const { return FWork; }
  // Replaces the package with the finished work file; raises EInOutError (the
  // old package unchanged) when it cannot.
  void PutInPlace();
  // The new package stays; the old one is deleted.
  void Keep();

 private:
  std::string FPackage, FWork, FPrevious;
  bool FPlaced = false;      // the package is the work file's
  bool FHadPrevious = false; // FPrevious holds the old package
};

// The file the table steps and the cabinet phase build the package in: the
// work file of the running build's TPackageWork, else the package itself.
std::string BuiltPackageFile(const std::string& package);

}  // namespace tq
