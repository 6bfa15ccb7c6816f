#pragma once
// Small components for the component stream tests: every property kind, the
// Tag placement rules, nested fonts, string lists, a collection and custom
// binary data.
#include <cstdint>
#include <string>
#include <vector>

#include "Classes.h"
#include "Component.h"
#include "ComponentStream.h"
#include "Graphics.h"
#include "TypInfo.h"

namespace tq::testing {

enum TTestOption { toFirst, toSecond, toThird };

inline const TEnumNames& TestOptionNames() {
  static const TEnumNames names("TTestOption", {"toFirst", "toSecond", "toThird"});
  return names;
}

class TTestColumn : public TCollectionItem {
 public:
  TQ_PUBLISHED(TTestColumn)
  int Width = 0;
  std::string Caption;
};

inline const TPropertyTable& TTestColumn::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TTestColumn>("TTestColumn", TCollectionItem::ClassProperties())
          .Integer("Width", &TTestColumn::Width)
          .String("Caption", &TTestColumn::Caption)
          .Build();
  return table;
}

// An item with its own text field "Name" (so Tag follows it).
class TTestItem : public TComponent {
 public:
  explicit TTestItem(TComponent* owner = nullptr)
      : TComponent(owner), Columns([] { return new TTestColumn; }) {
    Files.OnChange = [this](TObject*) { ++FilesChanges; };
    Font.OnChange = [this](TObject*) { ++FontChanges; };
  }
  TQ_PUBLISHED(TTestItem)

  void SetCount(int v) {
    Count = v;
    ++CountSets;
  }
  // Custom data "Data": written when not empty.
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
          Data.assign(static_cast<size_t>(s.Size()), '\0');
          s.ReadBuffer(Data.data(), s.Size());
        },
        [this](TStream& s) { s.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size())); },
        !Data.empty());
  }

  std::string Text;  // published as "Name"
  int Count = 0;     // no default: always written
  int Limit = 7;     // default 7
  bool Enabled = false;
  bool Hidden = false;  // default false
  std::string Caption;
  TStringList Files;
  TFont Font;
  uint32_t Options = 0;
  int Border = bsSingle;
  int Color = clWindow;  // default clWindow
  double Ratio = 0;
  int64_t Big = 0;
  TCollection Columns;
  std::string Data;
  TPersistent* Link = nullptr;  // may be stored as nil
  void SetLink(TPersistent* p) {
    Link = p;
    ++LinkSets;
  }
  int LinkSets = 0;

  int CountSets = 0;
  int FilesChanges = 0;
  int FontChanges = 0;
};

inline const TPropertyTable& TTestItem::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TTestItem>("TTestItem", TComponent::ClassProperties())
          .String("Name", &TTestItem::Text)
          .Integer("Count", [](const TTestItem& c) { return c.Count; }, &TTestItem::SetCount)
          .Integer("Limit", &TTestItem::Limit)
          .Default(7)
          .Boolean("Enabled", &TTestItem::Enabled)
          .Boolean("Hidden", &TTestItem::Hidden)
          .Default(0)
          .String("Caption", &TTestItem::Caption)
          .Strings("Files", &TTestItem::Files)
          .Object("Font", &TTestItem::Font)
          .Set("Options", TestOptionNames(), &TTestItem::Options)
          .Default(0)
          .Enum("Border", BorderStyleNames(), &TTestItem::Border)
          .Default(bsSingle)
          .Integer("Color", &TTestItem::Color)
          .Idents(ColorIdents())
          .Default(clWindow)
          .Float("Ratio", &TTestItem::Ratio)
          .Int64("Big", &TTestItem::Big)
          .Default(0)
          .Collection("Columns", &TTestItem::Columns)
          .Object("Link", &TTestItem::Link, &TTestItem::SetLink)
          .Build();
  return table;
}

// A data object without a Name of its own: Tag comes first.
class TTestData : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TTestData)
  std::string Title;
  bool Flag = false;
};

inline const TPropertyTable& TTestData::ClassProperties() {
  static const TPropertyTable table = TPropertyBuilder<TTestData>("TTestData", TComponent::ClassProperties())
                                          .String("Title", &TTestData::Title)
                                          .Boolean("Flag", &TTestData::Flag)
                                          .Build();
  return table;
}

// A container whose children are written as nested records.
class TTestPanel : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TTestPanel)
  void SetParentComponent(TComponent* parent) override { ParentSeen = parent; }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
  }
  int Left = 0;
  TComponent* ParentSeen = nullptr;
  int LoadedCalls = 0;
};

inline const TPropertyTable& TTestPanel::ClassProperties() {
  static const TPropertyTable table = TPropertyBuilder<TTestPanel>("TTestPanel", TComponent::ClassProperties())
                                          .Integer("Left", &TTestPanel::Left)
                                          .Build();
  return table;
}

// A node list stored only as custom binary data ("Items.Data" in a tree).
class TTestNodes : public TPersistent {
 public:
  TQ_PUBLISHED(TTestNodes)
  std::vector<std::string> Texts;
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
          Texts.clear();
          int32_t n = 0;
          s.ReadBuffer(&n, 4);
          for (int32_t i = 0; i < n; ++i) {
            uint8_t len = 0;
            s.ReadBuffer(&len, 1);
            std::string t(len, '\0');
            if (len) s.ReadBuffer(t.data(), len);
            Texts.push_back(t);
          }
        },
        [this](TStream& s) {
          const int32_t n = static_cast<int32_t>(Texts.size());
          s.WriteBuffer(&n, 4);
          for (const auto& t : Texts) {
            const uint8_t len = static_cast<uint8_t>(t.size());
            s.WriteBuffer(&len, 1);
            s.WriteBuffer(t.data(), len);
          }
        },
        !Texts.empty());
  }
};

inline const TPropertyTable& TTestNodes::ClassProperties() {
  static const TPropertyTable table("TTestNodes", {});
  return table;
}

// A tree-like control record: display properties, then the node list.
class TTestTree : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TTestTree)
  int Left = 0;
  int BorderStyle = bsSingle;
  bool HideSelection = true;
  int Indent = 0;
  TTestNodes Items;
};

inline const TPropertyTable& TTestTree::ClassProperties() {
  static const TPropertyTable table = TPropertyBuilder<TTestTree>("TTestTree", TComponent::ClassProperties())
                                          .Integer("Left", &TTestTree::Left)
                                          .Enum("BorderStyle", BorderStyleNames(), &TTestTree::BorderStyle)
                                          .Default(bsSingle)
                                          .Boolean("HideSelection", &TTestTree::HideSelection)
                                          .Default(1)
                                          .Integer("Indent", &TTestTree::Indent)
                                          .Default(0)
                                          .Object("Items", &TTestTree::Items)
                                          .Build();
  return table;
}

inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

inline std::string ShortStr(const std::string& s) { return static_cast<char>(s.size()) + s; }

inline std::string StreamOf(TComponent& c) {
  TMemoryStream ms;
  WriteComponent(ms, c);
  return std::string(reinterpret_cast<const char*>(ms.Bytes().data()), ms.Bytes().size());
}

inline void ReadInto(const std::string& bytes, TComponent& c) {
  TMemoryStream ms;
  if (!bytes.empty()) ms.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  ms.SetPosition(0);
  ReadComponent(ms, c);
}

// "TPF0", class, empty name, the given property bytes, end of properties and
// of children.
inline std::string Record(const std::string& className, const std::string& props) {
  return "TPF0" + ShortStr(className) + ShortStr("") + props + Bytes({0, 0});
}

}  // namespace tq::testing
