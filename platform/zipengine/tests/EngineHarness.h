#pragma once
// Loads ZIPENG.DLL from the program directory and fills command records the
// way the zip component does, recording every callback.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ZipEngRecords.h"

namespace tq::ziptest {

struct TCallbackEvent {
  int32_t Action;
  int32_t Code;
  intptr_t Size;
  std::string Text;
};

class TEngine {
 public:
  TEngine();
  ~TEngine();
  bool Loaded() const { return FExec && FVersion; }
  int32_t Exec(zipeng::TZipParms* p) const { return FExec(p); }
  int32_t Version() const { return FVersion(); }

 private:
  HMODULE FModule = nullptr;
  zipeng::TZipEngExec FExec = nullptr;
  zipeng::TGetZipEngVersion FVersion = nullptr;
};

// The component's default suffix list: every listed suffix but exe.
extern const char* const kDefaultSuffixes;

class TCommand {
 public:
  TCommand(const std::string& archive);
  TCommand& Spec(const std::string& spec, const std::string& rootDir = "", bool recurse = false);
  TCommand& Exclude(const std::string& spec);

  zipeng::TZipParms& Parms();  // built on first use; later edits stick
  int32_t Run(const TEngine& engine);

  // Recorded callbacks and the answers given.
  std::vector<TCallbackEvent> Events;
  std::function<void(zipeng::TZipCallbackData&)> Answer;  // may fill in answers
  int32_t StopAtAction = 0;  // answer "stop" at the first callback of this action
  int StopAfter = 1;         // ... at its n-th occurrence

  std::vector<TCallbackEvent> EventsOf(int32_t action) const;
  std::string Password, Suffixes = kDefaultSuffixes, Comment, TempDir;
  bool JunkDir = true, NoDirEntries = true, Encrypt = false, Update = false, Freshen = false, Move = false;
  int Level = 9;

 private:
  static int32_t TQ_ZIPENG_STDCALL Callback(zipeng::TZipCallbackData* d);
  char* Keep(const std::string& s);
  std::string FArchive;
  struct TSpec {
    std::string Spec, Root;
    bool Recurse;
  };
  std::vector<TSpec> FSpecs;
  std::vector<std::string> FExcludes;
  std::vector<std::unique_ptr<std::string>> FTexts;
  std::vector<char*> FExcludePtrs;
  std::vector<zipeng::TZipFileData> FData;
  zipeng::TZipParms FParms{};
  bool FBuilt = false;
  int FStopSeen = 0;
};

// Where the tests write: below the build folder.
std::string WorkFolder(const std::string& name);

}  // namespace tq::ziptest
