#pragma once
// A test fixture with the recording engine loaded and a component pointed at it.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>

#include "FakeZipEngine.h"
#include "ZipSmth.h"

namespace tq::testing {

inline const std::string kFakeDir = TQ_BINARY_DIR "\\zipsmith-fake";

class FakeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module = LoadLibraryA((kFakeDir + "\\ZIPENG.DLL").c_str());
    ASSERT_NE(Module, nullptr);
    auto get = reinterpret_cast<fakezip::TGetState>(reinterpret_cast<void*>(GetProcAddress(Module, "FakeZipEngineState")));
    ASSERT_NE(get, nullptr);
    State = get();
    std::memset(State, 0, sizeof *State);
    State->Version = 160;
    Zip.Unattended = true;
    Zip.SetDLLDirectory(kFakeDir + "\\");
  }
  void TearDown() override {
    if (Module) FreeLibrary(Module);
  }
  fakezip::TStep& Step(int action, int code = 0, intptr_t size = 0, const std::string& text = "") {
    fakezip::TStep& s = State->Steps[State->StepCount++];
    s.Action = action;
    s.Code = code;
    s.Size = size;
    std::strncpy(s.Text, text.c_str(), sizeof s.Text - 1);
    return s;
  }

  HMODULE Module = nullptr;
  fakezip::TState* State = nullptr;
  TZipSmith Zip;
};

}  // namespace tq::testing
