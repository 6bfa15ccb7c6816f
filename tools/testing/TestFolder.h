#pragma once
// A fresh folder of one test case under the temporary folder: made empty when
// the fixture (or the case) makes it, removed with everything it holds,
// read-only files too, when it goes. Its name carries the process and the case,
// so cases that ctest runs at once never share one; on Windows the temporary
// folder is the test program's private one (PrivateTempFolder.cpp), which goes
// with the process, so what a child process still holds goes then.
// Portable: the native tests use it as well.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tq::testing {

#ifdef _WIN32
inline constexpr char FolderDelimiter = '\\';
#else
inline constexpr char FolderDelimiter = '/';
#endif

// Removes a folder tree, read-only files included; what cannot be removed stays.
inline void RemoveTree(std::string dir) {
  namespace fs = std::filesystem;
  while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  std::error_code ec;
  for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    fs::permissions(it->path(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                    ignored);
  }
  fs::remove_all(dir, ec);
}

class TTestFolder {
 public:
  // <temporary folder><prefix><process><separator><suite><separator><case>;
  // characters a file name cannot hold become the separator.
  explicit TTestFolder(const std::string& prefix, char separator = '-') {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix + std::to_string(getpid());
    if (info) name += separator + std::string(info->test_suite_name()) + separator + info->name();
    for (size_t i = prefix.size(); i < name.size(); ++i)
      if (std::string("/\\:*?\"<>|").find(name[i]) != std::string::npos) name[i] = separator;
    std::string base = std::filesystem::temp_directory_path().string();
    if (!base.empty() && base.back() != FolderDelimiter) base += FolderDelimiter;
    FPath = base + name + FolderDelimiter;
    RemoveTree(FPath);
    std::error_code ec;
    std::filesystem::create_directories(FPath, ec);
    if (ec) ADD_FAILURE() << "cannot make the test folder " << FPath << ": " << ec.message();
  }
  ~TTestFolder() { RemoveTree(FPath); }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  // With a trailing delimiter.
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

// A fresh folder for the running case, for helpers that hand out a path
// rather than own a folder: "<group>.<n>." and the case's name; removed when
// the test program ends.
inline std::string CaseFolder(const std::string& group) {
  static std::deque<std::unique_ptr<TTestFolder>> folders;
  folders.push_back(std::make_unique<TTestFolder>(group + "." + std::to_string(folders.size()) + ".", '.'));
  return folders.back()->Path();
}

}  // namespace tq::testing
