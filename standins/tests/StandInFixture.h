#pragma once
// A fresh folder (with blanks in its name, like a temporary folder) for one
// test, with the helpers to fill it, run a program in it and read what the
// programs left there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestFolder.h"

namespace tq::testing {

class StandInFolder : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies a program of the program directory into the folder (as name).
  void CopyProgram(const std::string& programDirName, const std::string& name);
  // Copies the recording program into the folder (or a sub-folder) as name.
  std::string CopyRecorder(const std::string& relativePath);
  void Write(const std::string& relativePath, const std::string& text);
  // The text of a file in the folder; "" when missing.
  std::string Read(const std::string& relativePath) const;
  bool Exists(const std::string& relativePath) const;
  // Runs the folder's program with the argument text, from another current
  // folder; answers its exit code (-1 when it did not start or end in time).
  long Run(const std::string& program, const std::string& arguments);

  tq::testing::TTestFolder Folder{"tq stand in ", ' '};
  std::string Dir = Folder.Path();  // with a trailing backslash
};

// The first line of a recording (the argument text) and the second (the folder).
std::string Line(const std::string& text, int index);

}  // namespace tq::testing
