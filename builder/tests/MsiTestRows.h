#pragma once
// Small helpers the builder's tests share: reading a package's rows as text and
// running a program to its end.
#include <windows.h>
#include <msiquery.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MsiHandle.h"

namespace tq::testing {

// All rows of a query as text, sorted (the installer's ORDER BY does not sort
// texts), fields joined by "|", NULL as "~".
inline std::vector<std::string> PackageRows(const std::string& dbPath, const std::string& sql) {
  std::vector<std::string> rows;
  TMsiHandle db, view, rec;
  if (MsiOpenDatabaseA(dbPath.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return {"<no db>"};
  if (MsiDatabaseOpenViewA(db.Get(), sql.c_str(), view.Receive()) != 0) return {"<no view>"};
  MsiViewExecute(view.Get(), 0);
  while (MsiViewFetch(view.Get(), rec.Receive()) == 0) {
    std::string row;
    UINT n = MsiRecordGetFieldCount(rec.Get());
    for (UINT i = 1; i <= n; ++i) {
      if (i > 1) row += "|";
      if (MsiRecordIsNull(rec.Get(), i)) {
        row += "~";
        continue;
      }
      char buf[2048];
      DWORD size = sizeof buf;
      MsiRecordGetStringA(rec.Get(), i, buf, &size);
      row.append(buf, size);
    }
    rows.push_back(row);
  }
  MsiViewClose(view.Get());
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Runs a command line and answers its exit code (-1: it did not start or end).
inline int RunAndWait(const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 240000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

}  // namespace tq::testing
