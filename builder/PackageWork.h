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
// Files a step makes for the package (the cabinet phase's update baseline)
// follow its fate: written as "<file>.partial" and handed to the running build
// with StageWithBuiltPackage, they are put in place together with the package
// (their old file kept as "<file>.previous" likewise) and brought back with it.
// The folders made for them go with them: removed again, when empty, unless
// the work is kept.
//
//   TPackageWork work(project.OutputFile);  // the steps now build into work.WorkFile()
//   ... table steps, cabinet phase ...       // (BuiltPackageFile(project.OutputFile))
//   work.PutInPlace();                      // the package (and staged files) are the new ones
//   LayOutDistribution(project, results);
//   work.Keep();                            // the old ones go
#include <string>
#include <vector>

namespace tq {

class TPackageWork {
 public:
  explicit TPackageWork(const std::string& package);
  // Not kept: the old package and staged files are back in their places (none
  // where there was none) and the work files are gone.
  ~TPackageWork();
  TPackageWork(const TPackageWork&) = delete;
  TPackageWork& operator=(const TPackageWork&) = delete;

  const std::string& Package() const { return FFiles.front().Target; }
  const std::string& WorkFile() const { return FFiles.front().Work; }
  // A file to put in target's place with the package; its work file is
  // target + ".partial" (returned; a stale one and a stale ".previous" are
  // removed here). madeFolders: folders, parents first, that are missing now
  // and that the caller makes for it.
  std::string Stage(const std::string& target, const std::vector<std::string>& madeFolders = {});
  // Replaces the package and then each staged file with its finished work
  // file; raises EInOutError when it cannot (what was replaced goes back when
  // the work is not kept).
  void PutInPlace();
  // The new files stay; the old ones are deleted.
  void Keep();

 private:
  struct TFile {
    std::string Target, Work, Previous;
    bool Placed = false;       // the target is the work file's
    bool HadPrevious = false;  // Previous holds the old target
  };
  std::vector<TFile> FFiles;  // the package first
  std::vector<std::string> FMadeFolders;  // parents first
};

// The file the table steps and the cabinet phase build the package in: the
// work file of the running build's TPackageWork, else the package itself.
std::string BuiltPackageFile(const std::string& package);

// When builtPackage is the running build's work file: target is staged with it
// and its work file returned (write it there; the build puts it in place).
// Else empty: there is no build to wait for.
// madeFolders as for TPackageWork::Stage.
std::string StageWithBuiltPackage(const std::string& builtPackage, const std::string& target,
                                  const std::vector<std::string>& madeFolders = {});

}  // namespace tq
