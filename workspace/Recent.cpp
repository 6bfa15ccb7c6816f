#include "Recent.h"

#include "Classes.h"
#include "FileUtils.h"
#include "TextFile.h"

namespace tq {

TRecentFiles* RecentFiles = nullptr;

TRecentFiles::TRecentFiles(TComponent* owner, int maxFiles, TMenuItem* menu, TClickHandler onClick,
                           std::string dataFile)
    : TComponent(owner), FMaxFiles(maxFiles), FMenu(menu), FOnClick(std::move(onClick)),
      FDataFile(std::move(dataFile)) {}

void TRecentFiles::AddFile(const std::string& path) {
  TStringList list;
  if (FileExists(FDataFile)) {
    TTextFile f(FDataFile);
    f.Reset();
    // The newest FMaxFiles entries are all that stays; a longer file is read
    // no further.
    while (!f.Eof() && list.Count() < FMaxFiles) list.Add(f.ReadLn());
    f.Close();
  }
  int found = -1;
  for (int i = 0; i < list.Count(); ++i)
    if (AnsiSameText(list[i], path)) {
      found = i;
      break;
    }
  if (found >= 0) list.Delete(found);
  list.Insert(0, path);
  while (list.Count() > FMaxFiles && list.Count() > 1) list.Delete(list.Count() - 1);
  TTextFile out(FDataFile);
  out.Rewrite();
  for (int i = 0; i < list.Count(); ++i) out.WriteLn(list[i]);
  out.Close();
}

}  // namespace tq
