#pragma once
// Runs the Free Pascal component stream converter (tests/checker) on bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tq::testing {

inline bool CheckerAvailable() {
#ifdef TQ_FPCSTREAM
  return std::filesystem::exists(TQ_FPCSTREAM);
#else
  return false;
#endif
}

inline std::string SlurpFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void SpitFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// mode "totext" or "tobinary". A refused input fails the test and gives "".
inline std::string RunChecker(const std::string& mode, const std::string& input) {
#ifdef TQ_FPCSTREAM
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path dir = std::filesystem::path(TQ_BINARY_DIR) / "classlib" / "core" / "checker" / "work";
  std::filesystem::create_directories(dir);
  const std::string base = (dir / (std::string(info ? info->name() : "x") + "-" + std::to_string(++counter))).string();
  SpitFile(base + ".in", input);
  const std::string cmd = std::string("\"") + TQ_FPCSTREAM + "\" " + mode + " \"" + base + ".in\" \"" + base +
                          ".out\" 2> \"" + base + ".err\"";
  const int rc = std::system(cmd.c_str());
  if (rc != 0) {
    ADD_FAILURE() << "checker refused the input: " << SlurpFile(base + ".err");
    return "";
  }
  return SlurpFile(base + ".out");
#else
  (void)mode;
  (void)input;
  return "";
#endif
}

// LF line ends, no trailing blanks.
inline std::string NormalizeText(const std::string& text) {
  std::string out, line;
  auto flush = [&] {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    out += line + "\n";
    line.clear();
  };
  for (char c : text) {
    if (c == '\n')
      flush();
    else
      line += c;
  }
  if (!line.empty()) flush();
  return out;
}

inline std::string ReadFixture(const std::string& name) {
  return SlurpFile(std::string(TQ_SOURCE_DIR) + "/classlib/core/tests/checker/fixtures/" + name);
}

}  // namespace tq::testing
