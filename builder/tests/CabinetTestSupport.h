#pragma once
// Shared pieces of the cabinet tests: a scratch folder per test (TestFolder.h), files with
// chosen content, and a writer and reader owned by one owner as the main
// window holds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Cabinet.h"
#include "TestFolder.h"

namespace tq::testing {

using tq::testing::RemoveTree;
using tq::testing::TTestFolder;

inline void WriteAll(const std::string& path, const std::string& content) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  if (!content.empty())
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(h);
  ASSERT_EQ(written, content.size()) << path;
}

inline std::string ReadAll(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing " + path + ">";
  std::string data;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) data.append(buffer, got);
  CloseHandle(h);
  return data;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Text that compresses well, and bytes that do not compress at all.
inline std::string Compressible(size_t size) {
  std::string s;
  for (int line = 0; s.size() < size; ++line)
    s += "Line " + std::to_string(line % 97) + ": the quick brown fox jumps over the lazy dog\r\n";
  s.resize(size);
  return s;
}
inline std::string Incompressible(size_t size, unsigned seed = 1) {
  std::mt19937 gen(seed);
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

// A scratch folder, an owner, its two file handlers, writer and reader.
class CabinetFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Owner = new TComponent(nullptr);
    Writer = new TCabinetWriter(Owner);
    Reader = new TCabinetReader(Owner);
    WriterFiles = new TStreamCabinetFileHandler(Owner);
    ReaderFiles = new TStreamCabinetFileHandler(Owner);
    Writer->SetFileHandler(WriterFiles);
    Reader->SetFileHandler(ReaderFiles);
  }
  void TearDown() override { delete Owner; }

  std::string MakeDir(const std::string& name) {
    std::string d = Dir + name + "\\";
    CreateDirectoryA(d.c_str(), nullptr);
    return d;
  }
  std::string Source(const std::string& name, const std::string& content) {
    std::string d = MakeDir("src");
    WriteAll(d + name, content);
    return d + name;
  }

  struct TMember {
    std::string Name;
    std::string Content;
  };
  // Writes a cabinet as the package build does: one cabinet, MSZIP, flushed.
  std::string WriteCabinet(const std::vector<TMember>& members,
                           const std::string& cabName = "primary.cab") {
    std::string cab = Dir + cabName;
    Writer->Open(cab, "", 2147483647, 900000, 0);
    for (const TMember& m : members) Writer->AddFile(Source(m.Name, m.Content), m.Name, false,
                                                     CompressionMSZIP());
    Writer->FlushCabinet(false);
    Writer->Close();
    return cab;
  }
  // Extracts, recording the member names in the order the reader saw them.
  std::vector<std::string> Extract(const std::string& cab, const std::string& dest) {
    std::vector<std::string> order;
    Reader->OnCopyFile = [&](TObject*, const std::string& name, int, uint16_t, uint16_t, uint16_t,
                             TFileCopyAction& action, THandle&) {
      order.push_back(name);
      action = fcaDefault;
    };
    Reader->ExtractFiles(cab, dest, 0);
    Reader->OnCopyFile = nullptr;
    return order;
  }

  TTestFolder Folder{"tqcab-"};
  std::string Dir = Folder.Path();
  TComponent* Owner = nullptr;
  TCabinetWriter* Writer = nullptr;
  TCabinetReader* Reader = nullptr;
  TStreamCabinetFileHandler* WriterFiles = nullptr;
  TStreamCabinetFileHandler* ReaderFiles = nullptr;
};

}  // namespace tq::testing
