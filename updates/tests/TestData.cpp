#include "TestData.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

namespace tq::testing {

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = uint8_t(rng() >> 24);
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes r;
  for (const auto& p : parts) r.insert(r.end(), p.begin(), p.end());
  return r;
}

Bytes Slice(const Bytes& b, size_t from, size_t count) {
  return Bytes(b.begin() + long(from), b.begin() + long(from + count));
}

Bytes Repeat(const std::string& pattern, size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(pattern[i % pattern.size()]);
  return b;
}

Bytes TextBytes(size_t n, uint32_t seed) {
  static const char* words[] = {"the ",   "update ", "file ",  "record ", "delta ",  "version ",
                                "old ",   "new ",    "choice ", "folder ", "cabinet ", "of ",
                                "and ",   "to ",     "\r\n",    "Tarnquill ", "setup ", "a "};
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    const char* w = words[rng() % (sizeof words / sizeof *words)];
    for (const char* p = w; *p && b.size() < n; ++p) b.push_back(uint8_t(*p));
  }
  return b;
}

void Fill(tq::TMemoryStream& s, const Bytes& b) {
  s.Clear();
  if (!b.empty()) s.WriteBuffer(b.data(), int64_t(b.size()));
  s.SetPosition(0);
}

Bytes Contents(const tq::TMemoryStream& s) { return s.Bytes(); }

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

std::string NativeTestPath(const std::string& p) {
#ifdef _WIN32
  return p;
#else
  std::string s = p;
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
#endif
}

void WriteFileBytes(const std::filesystem::path& p, const Bytes& b) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  if (!f) throw std::runtime_error("cannot write " + p.string());
}

Bytes ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + p.string());
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TScratchDir::TScratchDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  FPath = std::filesystem::temp_directory_path() /
          ("tq-upd-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(FPath);
}

TScratchDir::~TScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

}  // namespace tq::testing
