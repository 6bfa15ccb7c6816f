#include "ProjectFile.h"

#include <memory>

#include "ComponentStream.h"
#include "FileUtils.h"
#include "SysUtils.h"

namespace tq {

namespace {

// The smallest item record: signature, empty class name, empty component
// name, end of properties, end of children.
constexpr int64_t kMinRecordSize = 8;

// ---- writing ----------------------------------------------------------------

class TSectionWriter {
 public:
  explicit TSectionWriter(TStream& s) : FStream(s) {}
  void Int(int32_t v) {
    uint8_t b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    FStream.WriteBuffer(b, 4);
  }
  void Flag(bool v) {
    const uint8_t b = v ? 1 : 0;
    FStream.WriteBuffer(&b, 1);
  }
  void Text(const std::string& s, const char* field) {
    if (s.size() > LooseStringMax)
      throw EWriteError(Format("The %s is longer than %d characters and cannot be saved",
                               {field, static_cast<int>(LooseStringMax)}));
    const uint8_t n = static_cast<uint8_t>(s.size());
    FStream.WriteBuffer(&n, 1);
    if (n) FStream.WriteBuffer(s.data(), n);
  }
  void Record(TComponent& c) { WriteComponent(FStream, c); }
  template <class T>
  void Items(const std::vector<T*>& items) {
    Int(static_cast<int32_t>(items.size()));
    for (T* item : items) Record(*item);
  }

 private:
  TStream& FStream;
};

// Loose texts are checked before anything is written, so that a refused save
// leaves no partial file behind even when the caller writes in place.
void CheckLooseTexts(const TProjectFileContent& c) {
  TMemoryStream scratch;
  TSectionWriter w(scratch);
  w.Text(c.LicenseFile, "licence file name");
  w.Text(c.ReadmeFile, "readme file name");
  w.Text(c.WelcomeBitmap.value_or(""), "welcome bitmap name");
  w.Text(c.BannerBitmap.value_or(""), "banner bitmap name");
  w.Text(c.SupportUrl.value_or(""), "support address");
  w.Text(c.HomepageUrl.value_or(""), "home page address");
  w.Text(c.UpdateFrom.value_or(""), "update start version");
  w.Text(c.VersionComparison.value_or(""), "version comparison");
}

// ---- reading ----------------------------------------------------------------

class TSectionReader {
 public:
  explicit TSectionReader(TStream& s) : FStream(s), FSize(s.Size()) {}
  int64_t Left() { return FSize - FStream.Position(); }
  bool AtEnd() { return Left() <= 0; }
  int32_t Int() {
    uint8_t b[4];
    FStream.ReadBuffer(b, 4);  // "Stream read error" when cut off
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
  }
  // A field that the end of the file cuts off is not reported: it reads as 0
  // or empty, and the rest of the file reads as absent.
  int32_t IntOrZero() {
    if (Left() < 4) {
      SkipToEnd();
      return 0;
    }
    return Int();
  }
  bool Flag() {
    if (AtEnd()) return false;
    uint8_t b = 0;
    FStream.ReadBuffer(&b, 1);
    return b != 0;
  }
  std::string Text() {
    if (AtEnd()) return std::string();
    uint8_t n = 0;
    FStream.ReadBuffer(&n, 1);
    if (Left() < n) {
      SkipToEnd();
      return std::string();
    }
    std::string s(n, '\0');
    if (n) FStream.ReadBuffer(s.data(), n);
    return s;
  }
  std::optional<bool> OptFlag() {
    if (AtEnd()) return std::nullopt;
    return Flag();
  }
  std::optional<std::string> OptText() {
    if (AtEnd()) return std::nullopt;
    return Text();
  }
  // An item count, bounded by the records that could follow it.
  int32_t Count() {
    const int32_t n = Int();
    if (n < 0 || n > Left() / kMinRecordSize) throw EReadError("Stream read error");
    return n;
  }
  void Record(TComponent& c) { ReadComponent(FStream, c); }
  void SkipToEnd() { FStream.SetPosition(FSize); }

 private:
  TStream& FStream;
  int64_t FSize;
};

template <class T>
void ReadItems(TSectionReader& r, TProjectFileContent& c, std::vector<T*>& items) {
  const int32_t n = r.Count();
  for (int32_t i = 0; i < n; ++i) {
    auto item = std::make_unique<T>(c.Holder.get());
    r.Record(*item);  // a record that fails to read is not kept
    items.push_back(item.release());
  }
}

}  // namespace

TProjectFileContent::TProjectFileContent()
    : Holder(std::make_unique<TComponent>(nullptr)),
      TargetDir("TNoToolTipsTreeView", "trTargetDir"),
      ChoicesTree("TTreeView", "trChoices"),
      Compiler(nullptr),
      Info(nullptr),
      PagesNames(nullptr),
      SupportPages(nullptr),
      FlashSupport(nullptr),
      IncludePages(nullptr),
      FtpData(nullptr) {}

void WriteProjectFile(TStream& stream, const TProjectFileContent& content) {
  CheckLooseTexts(content);
  auto& c = const_cast<TProjectFileContent&>(content);  // records are written through accessors
  TSectionWriter w(stream);
  w.Int(ProjectFileFormat);                                      // 1
  w.Int(c.ProjectType);                                          // 2
  w.Record(c.TargetDir);                                         // 3
  w.Int(static_cast<int32_t>(c.Choices.size()));                 // 4
  for (TChoice* choice : c.Choices) {
    w.Record(*choice);
    for (int j = 0; j < choice->Files->Count(); ++j)
      w.Int(static_cast<int32_t>(choice->Files->GetIntObject(j)));
  }
  w.Record(c.ChoicesTree);                                       // 5
  w.Items(c.Registry);                                           // 6
  w.Items(c.Shortcuts);
  w.Items(c.EVars);
  w.Items(c.Merges);
  w.Record(c.Compiler);                                          // 7
  w.Record(c.Info);                                              // 8
  w.Record(c.PagesNames);                                        // 9
  w.Record(c.SupportPages);
  w.Record(c.FlashSupport);
  w.Record(c.IncludePages);                                      // 10
  THtmlUiFontOptions fonts(nullptr);                             // 11
  fonts.BackNextCancelFont = &c.BackNextCancelFont;
  fonts.OtherTextFont = &c.OtherTextFont;
  w.Record(fonts);
  w.Text(c.LicenseFile, "licence file name");                    // 12
  w.Text(c.ReadmeFile, "readme file name");
  w.Int(c.ProgressBackColor);                                    // 13
  w.Int(c.ProgressForeColor);
  w.Flag(c.DisableComplete.value_or(false));                     // 14
  w.Flag(c.IncludePatching.value_or(false));
  w.Text(c.WelcomeBitmap.value_or(""), "welcome bitmap name");   // 15
  w.Text(c.BannerBitmap.value_or(""), "banner bitmap name");
  w.Items(c.Associations);                                       // 16
  w.Flag(c.IncludeMsi.value_or(false));                          // 17
  w.Text(c.SupportUrl.value_or(""), "support address");          // 18
  w.Text(c.HomepageUrl.value_or(""), "home page address");
  w.Text(c.UpdateFrom.value_or(""), "update start version");     // 19
  w.Flag(c.AllowAutoUpdate.value_or(false));                     // 20
  w.Flag(c.UpdatePending.value_or(false));
  w.Record(c.FtpData);                                           // 21
  w.Flag(c.UpdateCreated.value_or(false));                       // 22
  w.Text("", "reserved text");                                   // 23
  w.Text(c.VersionComparison.value_or(""), "version comparison");
}

namespace {

// A tree nested deeper than any project's is refused before the window sees it.
void CheckTreeDepth(const TStoredTree& tree, const char* what) {
  for (const TStoredNode& node : tree.Items.Nodes)
    if (node.Level > MaxProjectTreeDepth)
      throw EReadError(Format("The %s tree is nested deeper than %d levels", {std::string(what), MaxProjectTreeDepth}));
}

}  // namespace

void ReadProjectFile(TStream& stream, TProjectFileContent& c) {
  TSectionReader r(stream);
  r.Int();                                                       // 1, not tested
  c.ProjectType = static_cast<uint8_t>(r.Int() & 0xFF);          // 2
  r.Record(c.TargetDir);                                         // 3
  CheckTreeDepth(c.TargetDir, "directory");
  const int32_t choices = r.Count();                             // 4
  for (int32_t i = 0; i < choices; ++i) {
    auto* choice = new TChoice(c.Holder.get());
    c.Choices.push_back(choice);
    r.Record(*choice);
    for (int j = 0; j < choice->Files->Count(); ++j) choice->Files->PutIntObject(j, r.IntOrZero());
  }
  r.Record(c.ChoicesTree);                                       // 5
  CheckTreeDepth(c.ChoicesTree, "choices");
  ReadItems(r, c, c.Registry);                                   // 6
  ReadItems(r, c, c.Shortcuts);
  ReadItems(r, c, c.EVars);
  ReadItems(r, c, c.Merges);
  r.Record(c.Compiler);                                          // 7
  r.Record(c.Info);                                              // 8
  r.Record(c.PagesNames);                                        // 9
  r.Record(c.SupportPages);
  r.Record(c.FlashSupport);
  r.Record(c.IncludePages);                                      // 10
  THtmlUiFontOptions fonts(nullptr);                             // 11
  fonts.BackNextCancelFont = &c.BackNextCancelFont;
  fonts.OtherTextFont = &c.OtherTextFont;
  r.Record(fonts);
  c.LicenseFile = r.Text();                                      // 12
  c.ReadmeFile = r.Text();
  c.ProgressBackColor = r.IntOrZero();                           // 13
  c.ProgressForeColor = r.IntOrZero();

  // Optional sections, each field only while bytes remain.
  c.DisableComplete = r.OptFlag();                               // 14
  c.IncludePatching = r.OptFlag();
  c.WelcomeBitmap = r.OptText();                                 // 15
  c.BannerBitmap = r.OptText();
  if (!r.AtEnd()) {                                              // 16
    c.HasAssociations = true;
    try {
      ReadItems(r, c, c.Associations);
    } catch (const Exception& e) {
      // What follows a damaged record cannot be found again: keep the
      // associations read so far and take the rest of the file as absent.
      c.AssociationsError = e.Message;
      r.SkipToEnd();
    }
  }
  c.IncludeMsi = r.OptFlag();                                    // 17
  c.SupportUrl = r.OptText();                                    // 18
  c.HomepageUrl = r.OptText();
  c.UpdateFrom = r.OptText();                                    // 19
  c.AllowAutoUpdate = r.OptFlag();                               // 20
  c.UpdatePending = r.OptFlag();
  if (!r.AtEnd()) {                                              // 21
    r.Record(c.FtpData);
    c.HasFtpData = true;
  }
  c.UpdateCreated = r.OptFlag();                                 // 22
  r.OptText();                                                   // 23: reserved, skipped
  c.VersionComparison = r.OptText();
}

void SaveProjectFile(const std::string& fileName, const TProjectFileContent& content) {
  TMemoryStream bytes;
  WriteProjectFile(bytes, content);
  const std::string temp = fileName + ".tmp";
  // One left by a save that was killed goes first.
  if (FileExists(temp)) {
    FileSetAttr(temp, 0);
    DeleteFile(temp);
  }
  try {
    TFileStream out(temp, fmCreate);
    out.WriteBuffer(bytes.Memory(), bytes.Size());
    // On the disk before the rename: a crash then leaves the old file or the
    // whole new one, never an empty one.
    if (!FileFlush(out.Handle())) throw EFCreateError(Format("Cannot create file %s", {fileName}));
  } catch (const EFCreateError&) {
    DeleteFile(temp);
    throw EFCreateError(Format("Cannot create file %s", {fileName}));
  } catch (...) {
    DeleteFile(temp);
    throw;
  }
  if (!RenameFileReplacing(temp, fileName)) {
    DeleteFile(temp);
    throw EFCreateError(Format("Cannot create file %s", {fileName}));
  }
}

void LoadProjectFile(const std::string& fileName, TProjectFileContent& content) {
  TMemoryStream bytes;
  {
    TFileStream in(fileName, fmOpenRead | fmShareDenyWrite);
    bytes.CopyFrom(in, 0);
  }
  bytes.SetPosition(0);
  ReadProjectFile(bytes, content);
}

}  // namespace tq
