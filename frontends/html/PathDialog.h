#pragma once
// TPathDialog: a folder-browse component kept on Vantrel's main window. It
// holds its settings and, while a shell browse window is attached to it, passes
// Directory and StatusText on to that window; it opens no window itself.
//   Directory: one trailing backslash dropped; empty means the current folder.
#include <functional>
#include <string>

#include "Component.h"

namespace tq {

class TPathDialog : public TComponent {
 public:
  explicit TPathDialog(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TPathDialog"; }

  std::string Title;
  bool ShowStatus = false;
  std::string RootItem;
  TNotifyEvent OnShow;
  std::function<void(TObject* sender, const std::string& path)> OnSelect;

  const std::string& Directory() const { return FDirectory; }
  void SetDirectory(const std::string& path);
  const std::string& StatusText() const { return FStatusText; }
  void SetStatusText(const std::string& text);
  // The browse window that is open now (an HWND; null when none).
  void AttachWindow(void* window) { FWindow = window; }
  void* Window() const { return FWindow; }

 private:
  std::string FDirectory;
  std::string FStatusText;
  void* FWindow = nullptr;
};

}  // namespace tq
