// Project items: construction defaults, default-name counters and the exact
// bytes of their component-stream records.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "Classes.h"
#include "ComponentStream.h"
#include "Graphics.h"
#include "MergeItem.h"
#include "ProjectData.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

using namespace tq;

namespace {

// Builds the expected bytes of a record piece by piece.
struct Bytes {
  std::string b;
  Bytes& Raw(std::initializer_list<int> v) {
    for (int c : v) b.push_back(static_cast<char>(c));
    return *this;
  }
  Bytes& Short(const std::string& s) {
    b.push_back(static_cast<char>(s.size()));
    b += s;
    return *this;
  }
  Bytes& Header(const std::string& cls) { b += "TPF0"; return Short(cls).Short(""); }
  Bytes& Str(const std::string& prop, const std::string& v) { return Short(prop).Raw({6}).Short(v); }
  Bytes& Int8(const std::string& prop, int v) { return Short(prop).Raw({2, v & 0xFF}); }
  Bytes& Int16(const std::string& prop, int v) { return Short(prop).Raw({3, v & 0xFF, (v >> 8) & 0xFF}); }
  Bytes& Bool(const std::string& prop, bool v) { return Short(prop).Raw({v ? 9 : 8}); }
  Bytes& End() { return Raw({0, 0}); }
};

std::string Record(TComponent& c) {
  TMemoryStream s;
  WriteComponent(s, c);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

void ResetCounters() {
  TChoice::Counter = 0;
  TRegEntry::Counter = TRwiShortcut::Counter = TEVar::Counter = TAssociation::Counter =
      TMerge::Counter = 1;
}

struct DefaultCase {
  const char* label;
  std::function<std::unique_ptr<TComponent>()> make;
  std::string expected;
};

}  // namespace

// A freshly constructed item of each class, as the project file stores it:
// its own Name first, no Tag, strings only when set, Integers and Booleans always.
TEST(ProjectItems, DefaultRecordsHoldExactlyTheStoredProperties) {
  const DefaultCase cases[] = {
      {"TChoice", [] { return std::make_unique<TChoice>(nullptr); },
       Bytes().Header("TChoice").Str("Name", "Choice0").Str("Title", "Choice0")
           .Bool("Required", false).Bool("Typical", false).Bool("Visible", true).End().b},
      {"TRegEntry", [] { return std::make_unique<TRegEntry>(nullptr); },
       Bytes().Header("TRegEntry").Str("Name", "Registry1").Int8("Root", -1).End().b},
      {"TRwiShortcut", [] { return std::make_unique<TRwiShortcut>(nullptr); },
       Bytes().Header("TRwiShortcut").Str("Shortcut", "Shortcut1").Int8("HotKey", 0)
           .Int8("IconIndex", 0).Int8("ShowCmd", 0).End().b},
      {"TEVar", [] { return std::make_unique<TEVar>(nullptr); },
       Bytes().Header("TEVar").Str("Name", "Environment1").Str("EVar", "Environment1")
           .Bool("NoAction", false).Bool("Delete", true).Int8("HowToInstall", 1)
           .Int8("TheType", 0).End().b},
      {"TAssociation", [] { return std::make_unique<TAssociation>(nullptr); },
       Bytes().Header("TAssociation").Str("Name", "Association1").Int8("DirectoryIndex", 0).End().b},
      {"TMerge", [] { return std::make_unique<TMerge>(nullptr); },
       Bytes().Header("TMerge").Str("Name", "Merge1").Int16("Language", 1033).End().b},
  };
  for (const auto& c : cases) {
    ResetCounters();
    auto item = c.make();
    EXPECT_EQ(c.expected, Record(*item)) << c.label;
  }
}

TEST(ProjectItems, CountersAdvanceOnEveryConstructionAndNeverRepeat) {
  ResetCounters();
  TChoice first(nullptr);
  TRegEntry reg(nullptr), placeholder(nullptr);
  EXPECT_EQ("Choice0", first.FName);
  EXPECT_EQ("Choice0", first.Title);
  EXPECT_EQ("Registry1", reg.FName);
  EXPECT_EQ("Registry2", placeholder.FName);
  // Reading a project creates items too: their counters go on from there.
  TRegEntry later(nullptr);
  EXPECT_EQ("Registry3", later.FName);
  TEVar ev(nullptr);
  ev.FName = "PATH";
  EXPECT_EQ("Environment1", ev.EVar);  // keeps its first default name
}

// A choice stores its files and their directories as string lists; the
// self-register flags are not part of the record.
TEST(ProjectItems, ChoiceWithFilesRoundTrips) {
  ResetCounters();
  TChoice c(nullptr);
  c.FName = c.Title = "Tools";
  c.Description = std::string(300, 'd');  // a long string
  c.Typical = true;
  c.Files->AddIntObject("C:\\src\\it's here.exe", 1);
  c.Files->AddIntObject("C:\\src\\b c.dll", 0);
  c.Directories->Add("<Home Directory>");
  c.Directories->Add("bin");
  const std::string rec = Record(c);

  Bytes expected;
  expected.Header("TChoice").Str("Name", "Tools");
  expected.Short("Directories.Strings").Raw({1}).Raw({6}).Short("<Home Directory>").Raw({6}).Short("bin").Raw({0});
  expected.Short("Files.Strings").Raw({1}).Raw({6}).Short("C:\\src\\it's here.exe").Raw({6}).Short("C:\\src\\b c.dll").Raw({0});
  expected.Str("Title", "Tools");
  expected.Short("Description").Raw({12, 300 & 0xFF, 300 >> 8, 0, 0});
  expected.b += std::string(300, 'd');
  expected.Bool("Required", false).Bool("Typical", true).Bool("Visible", true).End();
  EXPECT_EQ(expected.b, rec);

  TChoice back(nullptr);
  TMemoryStream s;
  s.WriteBuffer(rec.data(), static_cast<int64_t>(rec.size()));
  s.SetPosition(0);
  ReadComponent(s, back);
  EXPECT_EQ("Tools", back.FName);
  EXPECT_EQ(c.Description, back.Description);
  EXPECT_TRUE(back.Typical);
  ASSERT_EQ(2, back.Files->Count());
  EXPECT_EQ("C:\\src\\b c.dll", back.Files->Get(1));
  EXPECT_EQ("bin", back.Directories->Get(1));
}

TEST(ProjectData, FontOptionsWriteTheFontSubProperties) {
  TFont a, b;
  a.SetName("Verdana");
  a.SetColor(clBlue);
  a.SetHeight(-16);
  b.SetName("Verdana");
  b.SetColor(clGreen);
  b.SetHeight(-16);
  b.SetStyle(FontStyle(fsBold));
  THtmlUiFontOptions opts(nullptr);
  opts.BackNextCancelFont = &a;
  opts.OtherTextFont = &b;
  const std::string rec = Record(opts);
  Bytes e;
  e.Header("THtmlUiFontOptions");
  e.Short("BackNextCancelFont.Charset").Raw({7}).Short("DEFAULT_CHARSET");
  e.Short("BackNextCancelFont.Color").Raw({7}).Short("clBlue");
  e.Int8("BackNextCancelFont.Height", -16);
  e.Str("BackNextCancelFont.Name", "Verdana");
  e.Short("BackNextCancelFont.Style").Raw({11, 0});
  e.Short("OtherTextFont.Charset").Raw({7}).Short("DEFAULT_CHARSET");
  e.Short("OtherTextFont.Color").Raw({7}).Short("clGreen");
  e.Int8("OtherTextFont.Height", -16);
  e.Str("OtherTextFont.Name", "Verdana");
  e.Short("OtherTextFont.Style").Raw({11}).Short("fsBold").Raw({0});
  e.End();
  EXPECT_EQ(e.b, rec);
}
