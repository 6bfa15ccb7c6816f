#include "RichEdit.h"

namespace tq {

namespace {
struct TStreamSource {
  const std::string* Data;
  size_t Pos;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto* src = reinterpret_cast<TStreamSource*>(cookie);
  size_t n = std::min(static_cast<size_t>(count), src->Data->size() - src->Pos);
  memcpy(buffer, src->Data->data() + src->Pos, n);
  src->Pos += n;
  *done = static_cast<LONG>(n);
  return 0;
}

void LoadRichEditLibrary() {
  static HMODULE module = LoadLibraryA("riched20.dll");
  if (!module) throw EOSError(static_cast<int>(GetLastError()), "Cannot load riched20.dll");
}
}  // namespace

TRichEditLines::TRichEditLines(TRichEdit* edit) : TMemoLines(edit), FEdit(edit) {}

void TRichEditLines::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TRichEditLines::LoadFromStream(TStream& stream) {
  std::string data(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
  if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  FEdit->LoadRichText(data);
}

TRichEdit::TRichEdit(TComponent* owner) : TMemo(owner) {}

void TRichEdit::CreateParams(TCreateParams& params) {
  LoadRichEditLibrary();
  TMemo::CreateParams(params);
  params.WinClassName = "RichEdit20A";
}

void TRichEdit::InitWindow() {
  TMemo::InitWindow();
  SendMessageA(FHandle, EM_SETEVENTMASK, 0, ENM_CHANGE);
  if (!FPendingRtf.empty()) {
    std::string data = std::move(FPendingRtf);
    FPendingRtf.clear();
    LoadRichText(data);
  }
}

void TRichEdit::LoadRichText(const std::string& data) {
  bool rtf = !FPlainText && data.compare(0, 5, "{\\rtf") == 0;
  if (!FHandle) {
    if (rtf) FPendingRtf = data;
    else FText = data;
    return;
  }
  TStreamSource src{&data, 0};
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
  es.pfnCallback = &ReadSource;
  FSettingText = true;
  SendMessageA(FHandle, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
  FSettingText = false;
  FText = GetText();
  Change();
}

bool TRichEdit::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "PlainText")) FPlainText = prop.Value.AsBool();
  else if (SameText(prop.Name, "HideSelection") || SameText(prop.Name, "HideScrollBars")) return true;
  else return TMemo::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
