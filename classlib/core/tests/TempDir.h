#pragma once
// A fresh folder under the temporary folder for one test, removed afterwards.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "FileUtils.h"
#include "SysUtils.h"

namespace tq::test {

inline void RemoveTree(const std::string& dir) {
  TSearchRec f;
  std::string base = IncludeTrailingPathDelimiter(dir);
  if (FindFirst(base + "*", faAnyFile, f) == 0) {
    do {
      if (f.Name == "." || f.Name == "..") continue;
      if (f.Attr & faDirectory)
        RemoveTree(base + f.Name);
      else {
        FileSetAttr(base + f.Name, 0);
        DeleteFile(base + f.Name);
      }
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  RemoveDir(dir);
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (!isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    Dir = IncludeTrailingPathDelimiter(GetTempPath()) + "tqcore-" + name + "\\";
#ifndef _WIN32
    Dir = StringReplace(Dir, "\\", "/", rfReplaceAll);
#endif
    RemoveTree(Dir);
    ASSERT_TRUE(ForceDirectories(Dir)) << Dir;
  }
  void TearDown() override { RemoveTree(Dir); }
  std::string Path(const std::string& name) const { return Dir + name; }
  std::string Dir;  // with a trailing delimiter
};

// The bytes of a file.
inline std::string FileBytes(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
  std::string s(static_cast<size_t>(f.Size()), '\0');
  if (!s.empty()) f.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  return s;
}

inline void WriteBytes(const std::string& fileName, const std::string& bytes) {
  TFileStream f(fileName, fmCreate);
  if (!bytes.empty()) f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace tq::test
