#pragma once
// What the front-end tests share: a fresh folder per case (TestFolder.h), whole-file reads,
// and a small package written with the installer's own database calls (a
// Property table and a Feature table in the order given).
#include <windows.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Feature.h"
#include "FileUtils.h"
#include "TestFolder.h"
#include "../../builder/MsiHandle.h"

namespace tq::testing {

// A fresh, empty folder for one test case, with a trailing "\\".
using tq::testing::CaseFolder;

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

struct TTestPackage {
  explicit TTestPackage(std::string path) : Path(std::move(path)) {}
  std::string Path;
  std::vector<TFeatureRow> Features;
  std::string Manufacturer = "Quill Works";

  void Run(MSIHANDLE db, const std::string& sql, const std::vector<std::string>& strings = {},
           const std::vector<int>& ints = {}) {
    TMsiHandle view, rec;
    ASSERT_EQ(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), 0u) << sql;
    if (!strings.empty() || !ints.empty()) {
      rec.Reset(MsiCreateRecord(UINT(strings.size() + ints.size())));
      UINT i = 1;
      for (const std::string& s : strings) MsiRecordSetStringA(rec.Get(), i++, s.c_str());
      for (int v : ints) MsiRecordSetInteger(rec.Get(), i++, v);
    }
    ASSERT_EQ(MsiViewExecute(view.Get(), rec.Get()), 0u) << sql;
    MsiViewClose(view.Get());
  }

  void Write() {
    TMsiHandle db;
    ASSERT_EQ(MsiOpenDatabaseA(Path.c_str(), MSIDBOPEN_CREATE, db.Receive()), 0u);
    Run(db.Get(), "CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` LONGCHAR NOT NULL "
                  "PRIMARY KEY `Property`)");
    Run(db.Get(), "CREATE TABLE `Feature` (`Feature` CHAR(38) NOT NULL, `Feature_Parent` CHAR(38), "
                  "`Title` CHAR(64), `Description` CHAR(255), `Display` SHORT, `Level` SHORT NOT NULL, "
                  "`Directory_` CHAR(72), `Attributes` SHORT NOT NULL PRIMARY KEY `Feature`)");
    const std::pair<const char*, std::string> props[] = {
        {"ProductCode", "{3C1E6A52-7B11-4D0E-9A3C-2F5E8B9D1A47}"},
        {"ProductName", "Feature Test"},
        {"ProductVersion", "1.0.0"},
        {"ProductLanguage", "1033"},
        {"Manufacturer", Manufacturer}};
    for (const auto& [name, value] : props)
      Run(db.Get(), "INSERT INTO `Property` (`Property`, `Value`) VALUES (?, ?)", {name, value});
    for (const TFeatureRow& f : Features)
      Run(db.Get(),
          "INSERT INTO `Feature` (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`, `Level`, "
          "`Attributes`) VALUES (?, ?, ?, ?, ?, ?, ?)",
          {f.Name, f.Parent, f.Name, f.Description}, {f.Display, f.Level, 0});
    TMsiHandle summary;
    ASSERT_EQ(MsiGetSummaryInformationA(db.Get(), nullptr, 20, summary.Receive()), 0u);
    MsiSummaryInfoSetPropertyA(summary.Get(), 7, VT_LPSTR, 0, nullptr, "Intel;1033");
    MsiSummaryInfoSetPropertyA(summary.Get(), 9, VT_LPSTR, 0, nullptr, "{9A2B7C41-1D3E-4F50-8A6B-7C8D9E0F1A2B}");
    MsiSummaryInfoSetPropertyA(summary.Get(), 14, VT_I4, 200, nullptr, nullptr);
    MsiSummaryInfoSetPropertyA(summary.Get(), 15, VT_I4, 2, nullptr, nullptr);
    MsiSummaryInfoPersist(summary.Get());
    ASSERT_EQ(MsiDatabaseCommit(db.Get()), 0u);
  }
};

}  // namespace tq::testing
