// tqsidebaricons: prints the main window's side-bar pictures as the layout
// property that stores them, ready to take the place of Outlook1's
// Items.Images in workspace/layouts/RWInstallForm.lfm:
//   tqsidebaricons > images.txt
#include <cstdio>

#include "Outlook.h"
#include "PageIcons.h"

int main() {
  using namespace tq;
  TOutlookItems items(nullptr);
  items.SetHeaders({"Project"});
  for (int i = 0; i < PageIconCount; ++i) {
    items.SetItemCaption(1, i + 1, PageIconCaptions[i]);
    items.GetItemPicture(1, i + 1)->Bitmap().SetHandle(DrawPageIcon(i));
  }
  const std::vector<uint8_t> bytes = items.WriteImages();
  std::printf("    Items.Images = {");
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) std::printf("\n      ");
    std::printf("%02X", bytes[i]);
  }
  std::printf("}\n");
  return 0;
}
