#pragma once
// A fresh folder under the temporary folder for one test, removed afterwards
// (TestFolder.h), and whole-file reads and writes through the core's streams.
#include <gtest/gtest.h>

#include <string>

#include "Classes.h"
#include "FileUtils.h"
#include "SysUtils.h"
#include "TestFolder.h"

namespace tq::testing {

class TempDirTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return Dir + name; }
  tq::testing::TTestFolder Folder{"tqcore-"};
  std::string Dir = Folder.Path();  // with a trailing delimiter
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

}  // namespace tq::testing
