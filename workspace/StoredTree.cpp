#include "StoredTree.h"

#include "Classes.h"
#include "SysUtils.h"

namespace tq {

const TPropertyTable& TStoredNodes::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TStoredNodes>("TStoredNodes", TPersistent::ClassProperties()).Build();
  return table;
}

void TStoredNodes::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data",
      [this](TStream& s) {
        std::string bytes(static_cast<size_t>(s.Size()), '\0');
        if (!bytes.empty()) s.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        Decode(bytes);
      },
      [this](TStream& s) {
        const std::string bytes = Encode();
        s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
      },
      !Nodes.empty());
}

std::string TStoredNodes::Encode() const { return EncodeTreeNodes(Nodes); }

void TStoredNodes::Decode(const std::string& bytes) { Nodes = DecodeTreeNodes(bytes); }

TStoredTree::TStoredTree(std::string className, const std::string& name)
    : TComponent(nullptr), FClassName(std::move(className)) {
  SetName(name);
}

const TPropertyTable& TStoredTree::ClassProperties() {
  static const TEnumNames borderStyles("TBorderStyle", {"bsNone", "bsSingle"});
  static const TPropertyTable table =
      TPropertyBuilder<TStoredTree>("TStoredTree", TComponent::ClassProperties())
          .Integer("Left", &TStoredTree::Left)
          .Integer("Top", &TStoredTree::Top)
          .Integer("Width", &TStoredTree::Width)
          .Integer("Height", &TStoredTree::Height)
          .Enum("BorderStyle", borderStyles, &TStoredTree::BorderStyle)
          .Default(1)
          .Integer("Indent", &TStoredTree::Indent)
          .Integer("TabOrder", &TStoredTree::TabOrder)
          .Default(-1)
          .Boolean("HideSelection", &TStoredTree::HideSelection)
          .Default(1)
          .Object("Items", [](TStoredTree& t) { return &t.Items; })
          .Build();
  return table;
}

}  // namespace tq
