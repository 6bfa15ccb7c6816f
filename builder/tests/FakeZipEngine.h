#pragma once
// A stand-in for ZIPENG.DLL (built as its own ZIPENG.DLL in another folder):
// it records the command record it is given and plays a script of callbacks.
// Tests load it themselves first, so that the component's load finds the same
// module and its state, and reach that state through "FakeZipEngineState".
#include <cstdint>

#include "ZipEngRecords.h"

namespace tq::fakezip {

constexpr int kMaxSteps = 16;
constexpr int kMaxSpecs = 8;
constexpr int kTextSize = 512;

struct TStep {
  int32_t Extract;  // 1: asked as for an extraction
  int32_t Action;
  int32_t Code;
  intptr_t Size;
  char Text[kTextSize];
  // What the callback left in the record, and what it returned.
  int32_t AnswerAction;
  int32_t AnswerCode;
  intptr_t AnswerSize;
  char AnswerText[kTextSize];
  int32_t Returned;
};

struct TState {
  // Set by the test.
  int32_t Version;
  int32_t Result;
  int32_t StepCount;
  TStep Steps[kMaxSteps];
  // Recorded by the fake.
  int32_t Calls;
  zipeng::TZipParms Record;  // the first 216 bytes as given (pointers stale)
  char Password[kTextSize], Suffixes[kTextSize], Archive[kTextSize], TempDir[kTextSize], Comment[kTextSize];
  bool HasPassword, HasSuffixes, HasTempDir, HasComment;
  zipeng::TZipFileData Data[kMaxSpecs];
  char Specs[kMaxSpecs][kTextSize];
  char SpecPasswords[kMaxSpecs][kTextSize];
  char SpecRoots[kMaxSpecs][kTextSize];
  char Excludes[kMaxSpecs][kTextSize];
  char OldSpecs[kMaxSpecs][kTextSize];  // the older layout's spec texts
  int32_t OldEndMarker;
};

using TGetState = TState*(TQ_ZIPENG_STDCALL*)();

}  // namespace tq::fakezip
