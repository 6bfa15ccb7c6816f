// The project file: sections, optional later sections, and damaged files.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Classes.h"
#include "FileUtils.h"
#include "ProjectFile.h"
#include "SysUtils.h"

using namespace tq;

namespace {

// A project with something in every section.
void FillSample(TProjectFileContent& c) {
  TComponent* owner = c.Holder.get();
  c.ProjectType = 0;
  c.TargetDir.Width = 300;
  c.TargetDir.BorderStyle = 0;
  c.TargetDir.Items.Nodes = {{"<Home Directory>", 0}, {"bin", 1}, {"plug ins", 2}, {"doc", 1},
                             {"SystemFolder", 0}};
  c.ChoicesTree.HideSelection = false;
  c.ChoicesTree.Items.Nodes = {{"Choices", 0}, {"Core_Program", 1}, {"Tools", 2}};
  auto* core = new TChoice(owner);
  core->FName = core->Title = "Core_Program";
  core->Required = true;
  core->Visible = false;
  core->Files->AddIntObject("C:\\src\\app.exe", 0);
  core->Directories->Add("<Home Directory>");
  core->Files->AddIntObject("C:\\src\\reg me.dll", 1);
  core->Directories->Add("bin");
  auto* placeholder = new TChoice(owner);
  c.Choices = {core, placeholder};
  auto* reg = new TRegEntry(owner);
  reg->Root = 2;
  reg->Key = "Software\\Maker's";
  reg->Choice = "Core_Program";
  c.Registry = {reg, new TRegEntry(owner)};
  c.Shortcuts = {new TRwiShortcut(owner), new TRwiShortcut(owner)};
  c.EVars = {new TEVar(owner), new TEVar(owner)};
  c.Merges = {new TMerge(owner)};
  c.Compiler.VB6 = true;
  c.Info.ProductName = "Sam's Tool";
  c.Info.ProductVersion = "1.2.3";
  c.Info.PerUser = true;
  c.PagesNames.Welcome = "TqWelcome.htm";
  c.SupportPages.License->Add("logo.gif");
  c.FlashSupport.SupportFiles->Add("movie.swf");
  c.IncludePages.HtmlUi = true;
  c.IncludePages.FlashMovie = "m.swf";
  c.BackNextCancelFont.SetName("Verdana");
  c.OtherTextFont.SetName("Verdana");
  c.LicenseFile = std::string(255, 'L');
  c.ReadmeFile = "";
  c.ProgressBackColor = 0x00FFFFFF;
  c.ProgressForeColor = 0x00FF0000;
  c.DisableComplete = true;
  c.IncludePatching = false;
  c.WelcomeBitmap = "w.bmp";
  c.BannerBitmap = "b.bmp";
  auto* assoc = new TAssociation(owner);
  assoc->Extension = "tqx";
  c.Associations = {assoc, new TAssociation(owner)};
  c.IncludeMsi = true;
  c.SupportUrl = "http://support";
  c.HomepageUrl = "http://home";
  c.UpdateFrom = "1.1";
  c.AllowAutoUpdate = true;
  c.UpdatePending = false;
  c.FtpData.HostIp = "127.0.0.1";
  c.FtpData.Password = "secret";
  c.UpdateCreated = true;
  c.VersionComparison = "< 2.0";
}

std::string Bytes(const TProjectFileContent& c) {
  TMemoryStream s;
  WriteProjectFile(s, c);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

void Read(const std::string& bytes, TProjectFileContent& c) {
  TMemoryStream s;
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  ReadProjectFile(s, c);
}

}  // namespace

TEST(ProjectFile, WriteReadWriteIsByteIdentical) {
  TProjectFileContent c;
  FillSample(c);
  const std::string first = Bytes(c);
  TProjectFileContent back;
  Read(first, back);
  EXPECT_EQ(first, Bytes(back));

  ASSERT_EQ(2u, back.Choices.size());
  EXPECT_EQ(1, back.Choices[0]->Files->GetIntObject(1));  // self-register flag beside the record
  EXPECT_EQ("bin", back.Choices[0]->Directories->Get(1));
  ASSERT_EQ(5u, back.TargetDir.Items.Nodes.size());
  EXPECT_EQ("plug ins", back.TargetDir.Items.Nodes[2].Text);
  EXPECT_EQ(2, back.TargetDir.Items.Nodes[2].Level);
  EXPECT_EQ(0, back.TargetDir.Items.Nodes[4].Level);
  EXPECT_EQ("Software\\Maker's", back.Registry[0]->Key);
  EXPECT_EQ(std::string(255, 'L'), back.LicenseFile);
  EXPECT_EQ("secret", back.FtpData.Password);
  EXPECT_EQ("< 2.0", back.VersionComparison.value_or(""));
  EXPECT_EQ("", back.AssociationsError);
}

// A save writes a work file beside the project and renames it; the work file
// a killed save left goes with the next save, whatever it holds.
TEST(ProjectFile, SaveReplacesAStaleWorkFile) {
  std::string dir = IncludeTrailingPathDelimiter(GetTempPath()) + "tq-save-stale-" + std::to_string(std::random_device{}());
#ifndef _WIN32
  dir = StringReplace(dir, "\\", "/", rfReplaceAll);
#endif
  ASSERT_TRUE(ForceDirectories(dir));
  const std::string project = IncludeTrailingPathDelimiter(dir) + "Tool.ipr";
  {
    TFileStream stale(project + ".tmp", fmCreate);
    stale.WriteBuffer("half a project", 14);
  }
  FileSetAttr(project + ".tmp", faReadOnly);
  TProjectFileContent c;
  FillSample(c);
  SaveProjectFile(project, c);
  EXPECT_FALSE(FileExists(project + ".tmp"));
  TProjectFileContent back;
  LoadProjectFile(project, back);
  EXPECT_EQ(Bytes(c), Bytes(back));
  DeleteFile(project);
  RemoveDir(dir);
}

TEST(ProjectFile, StartsWithFormatTypeAndTheTargetTree) {
  TProjectFileContent c;
  FillSample(c);
  c.ProjectType = 1;
  const std::string b = Bytes(c);
  EXPECT_EQ(std::string("\x0b\0\0\0\x01\0\0\0TPF0\x13TNoToolTipsTreeView\x0btrTargetDir", 8 + 4 + 20 + 12),
            b.substr(0, 44));
}

TEST(ProjectFile, LooseTextOver255CharactersIsRefusedBeforeWriting) {
  TProjectFileContent c;
  FillSample(c);
  c.ReadmeFile = std::string(256, 'r');
  TMemoryStream s;
  EXPECT_THROW(WriteProjectFile(s, c), EWriteError);
  EXPECT_EQ(0, s.Size());
}

// A file that ends after the mandatory sections, or after the associations,
// loads; the absent fields read as absent.
TEST(ProjectFile, OlderFilesWithoutTheLaterSectionsLoad) {
  TProjectFileContent c;
  FillSample(c);
  const std::string all = Bytes(c);
  // Section 14 starts right after the two colours of section 13; find it by
  // writing a sample whose later fields are known: flags 1,0 then "w.bmp".
  const std::string marker = std::string("\x01\x00\x05w.bmp", 8);
  const size_t at = all.find(marker);
  ASSERT_NE(std::string::npos, at);

  TProjectFileContent after13;
  Read(all.substr(0, at), after13);
  EXPECT_FALSE(after13.DisableComplete.has_value());
  EXPECT_FALSE(after13.HasAssociations);
  EXPECT_FALSE(after13.HasFtpData);
  EXPECT_EQ(0x00FF0000, after13.ProgressForeColor);

  // Through section 16: the associations and nothing after them.
  const std::string section17 = std::string("\x01\x0ehttp://support", 16);
  const size_t at17 = all.find(section17);
  ASSERT_NE(std::string::npos, at17);
  TProjectFileContent after16;
  Read(all.substr(0, at17), after16);
  EXPECT_TRUE(after16.DisableComplete.value_or(false));
  EXPECT_EQ("b.bmp", after16.BannerBitmap.value_or(""));
  ASSERT_EQ(2u, after16.Associations.size());
  EXPECT_EQ("tqx", after16.Associations[0]->Extension);
  EXPECT_FALSE(after16.IncludeMsi.has_value());
  EXPECT_FALSE(after16.HasFtpData);
}

TEST(ProjectFile, DamagedAssociationRecordKeepsEarlierOnesAndDropsTheRest) {
  TProjectFileContent c;
  FillSample(c);
  std::string all = Bytes(c);
  // Break the second association's signature.
  const size_t first = all.find("TPF0\x0cTAssociation");
  ASSERT_NE(std::string::npos, first);
  const size_t second = all.find("TPF0\x0cTAssociation", first + 1);
  ASSERT_NE(std::string::npos, second);
  all[second] = 'X';
  TProjectFileContent back;
  Read(all, back);
  EXPECT_EQ(1u, back.Associations.size());
  EXPECT_EQ("Invalid stream format", back.AssociationsError);
  EXPECT_FALSE(back.IncludeMsi.has_value());
  EXPECT_FALSE(back.HasFtpData);  // never read out of the damaged bytes
}

TEST(ProjectFile, MandatorySectionsCutOffRaiseStreamReadError) {
  TProjectFileContent c;
  FillSample(c);
  const std::string all = Bytes(c);
  for (size_t n : {size_t{0}, size_t{3}, size_t{7}, size_t{20}, size_t{60}}) {
    TProjectFileContent back;
    try {
      Read(all.substr(0, n), back);
      ADD_FAILURE() << "no error at " << n;
    } catch (const EReadError& e) {
      EXPECT_EQ("Stream read error", e.Message) << n;
    }
  }
}

// Truncated and bit-flipped files (built here) never crash the reader; each
// ends in a message or a complete read.
TEST(ProjectFile, CorruptFilesNeverCrash) {
  TProjectFileContent c;
  FillSample(c);
  const std::string all = Bytes(c);
  std::mt19937 rng(7);
  int errors = 0;
  for (size_t n = 0; n < all.size(); n += 3) {
    TProjectFileContent back;
    try {
      Read(all.substr(0, n), back);
    } catch (const Exception& e) {
      EXPECT_FALSE(e.Message.empty());
      ++errors;
    }
  }
  for (int round = 0; round < 400; ++round) {
    std::string bad = all;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) bad[rng() % bad.size()] ^= static_cast<char>(1 << (rng() % 8));
    TProjectFileContent back;
    try {
      Read(bad, back);
    } catch (const Exception& e) {
      EXPECT_FALSE(e.Message.empty());
      ++errors;
    }
  }
  EXPECT_GT(errors, 0);
}

TEST(StoredNodes, NodeCountsAreCheckedAgainstTheBytesLeft) {
  TStoredNodes nodes;
  const struct {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"huge top count", std::string("\xff\xff\xff\x7f", 4)},
      {"negative top count", std::string("\xff\xff\xff\xff", 4)},
      {"size field disagrees with text", std::string("\x01\0\0\0" "\x1b\0\0\0" "\0\0\0\0\0\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff\0\0\0\0\0\0\0\0\x01" "a", 34)},
      {"child count past the end", std::string("\x01\0\0\0" "\x1a\0\0\0" "\0\0\0\0\0\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff\0\0\0\0\x05\0\0\0\x01" "a", 34)},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(nodes.Decode(c.bytes), EReadError) << c.label;
  }
}

// Trees deeper than any project are refused by the reader, whichever tree.
TEST(ProjectFile, TreesDeeperThanTheLimitAreRefused) {
  for (bool choicesTree : {false, true}) {
    for (int deepest : {MaxProjectTreeDepth, MaxProjectTreeDepth + 1, 100000}) {
      TProjectFileContent c;
      FillSample(c);
      auto& nodes = choicesTree ? c.ChoicesTree.Items.Nodes : c.TargetDir.Items.Nodes;
      nodes.clear();
      for (int level = 0; level <= deepest; ++level) nodes.push_back({"n", level});
      const std::string bytes = Bytes(c);
      TProjectFileContent back;
      if (deepest <= MaxProjectTreeDepth) {
        EXPECT_NO_THROW(Read(bytes, back)) << deepest;
        continue;
      }
      try {
        Read(bytes, back);
        ADD_FAILURE() << "a tree of " << deepest << " levels was read";
      } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, std::string("The ") + (choicesTree ? "choices" : "directory") +
                                 " tree is nested deeper than 1000 levels");
      }
    }
  }
}

TEST(StoredNodes, DeepNestingDecodesWithoutRecursion) {
  TStoredNodes deep;
  for (int i = 0; i < 20000; ++i) deep.Nodes.push_back({"n", i});
  const std::string bytes = deep.Encode();
  TStoredNodes back;
  back.Decode(bytes);
  ASSERT_EQ(20000u, back.Nodes.size());
  EXPECT_EQ(19999, back.Nodes.back().Level);
}
