#pragma once
// Shared helpers of the update publisher's tests: reproducible data and a
// scratch folder per test.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes.h"

namespace tq::testing {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t n, uint32_t seed);
Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Slice(const Bytes& b, size_t from, size_t count);
Bytes Repeat(const std::string& pattern, size_t n);
// Text-like data: words from a small vocabulary.
Bytes TextBytes(size_t n, uint32_t seed);

// A memory stream holding b, positioned at its start.
void Fill(tq::TMemoryStream& s, const Bytes& b);
Bytes Contents(const tq::TMemoryStream& s);

uint32_t Get32(const uint8_t* p);
uint16_t Get16(const uint8_t* p);

// A path the code under test built with "\\" as the C++ library opens it here.
std::string NativeTestPath(const std::string& p);

void WriteFileBytes(const std::filesystem::path& p, const Bytes& b);
Bytes ReadFileBytes(const std::filesystem::path& p);

// A fresh folder, removed with its contents when the object goes.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  const std::filesystem::path& Path() const { return FPath; }
  // The folder as the code under test takes it (a plain string).
  std::string Str() const { return FPath.string(); }

 private:
  std::filesystem::path FPath;
};

}  // namespace tq::testing
