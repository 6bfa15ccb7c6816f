// Shows the folder dialog preset to "C:\Program Files" with a new folder being
// named, for screenshots (pickers-screenshot.sh). Prints "shown" once it is up.
#include <windows.h>

#include <cstdio>

#include "seldirdlg.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tq;
  TSelectDirectoryDlg dialog(nullptr);
  dialog.Show();
  dialog.Preset("C:\\Program Files");
  dialog.DirectoryTree1->Selected()->Expand(false);
  std::printf("shown\n");
  std::fflush(stdout);
  return dialog.ShowModal() == mrOk ? 0 : 1;
}
