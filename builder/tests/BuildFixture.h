#pragma once
// A real main window for each test on a program folder of its own, with the
// auxiliary files as small stand-ins, every prompt scripted, and helpers that
// set a project up through the window's trees, tabs and fields and read the
// built package back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PromptsTesting.h"
#include "UpdaterStart.h"
#include "build.h"
#include "choices.h"
#include "main.h"

namespace tq::testing {

class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // ---- the project ----
  void FillInfoPage(const std::string& productName = "Tool");
  TTreeNode* Home() const;
  TTreeNode* AddDirectory(TTreeNode* parent, const std::string& name);
  TChoice* Core() const;
  // A choice before the placeholder tab, its node under the parent choice's node
  // (under "Choices" when parent is empty).
  TChoice* AddChoice(const std::string& name, const std::string& parent = "");
  void AddFile(TChoice* choice, const std::string& path, const std::string& directory = "<Home Directory>",
               bool checked = false);
  // A source file with these bytes in the sources folder; answers its path.
  std::string MakeSource(const std::string& name, const std::string& bytes = "source bytes");
  // Makes the project a merge module with its one choice.
  void MakeMergeModule();

  // ---- building ----
  // The table steps on one builder object, as the build command runs them;
  // their results go to Results.
  void RunTableSteps();
  void ClickBuild();

  // ---- the package ----
  // All rows of a query, fields joined by "|", NULL as "~", sorted.
  std::vector<std::string> Rows(const std::string& sql) const;
  // The bytes in field 2 of the first row of a query (a stream).
  std::string StreamBytes(const std::string& sql) const;
  std::string SummaryString(unsigned id) const;
  int SummaryInteger(unsigned id) const;

  std::string Dir;  // this test's folder, with a trailing "\"
  std::string App;  // the program folder
  std::string Src;  // the product's source files
  TRWInstallForm* W = nullptr;
  TPromptScript Prompts;
  std::vector<std::string> ShellOpens;
  TBuildResults Results;  // of the last RunTableSteps

 private:
  TShellOpen FOldShellOpen;
};

}  // namespace tq::testing
