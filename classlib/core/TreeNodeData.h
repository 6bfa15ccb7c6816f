#pragma once
// The stored node list of a tree view ("Items.Data" in a component stream): an
// int32 count of top-level nodes, then each node depth first (pre-order) as
// int32 size (25 + text length), ImageIndex, SelectedIndex, StateIndex,
// OverlayIndex, Data, child count, and the text as a short string (cut to 255
// characters). Nodes are handled as a flat pre-order list with levels.
#include <cstdint>
#include <string>
#include <vector>

namespace tq {

struct TTreeNodeRecord {
  std::string Text;
  int Level = 0;  // 0 for a top-level node
  int32_t ImageIndex = 0;
  int32_t SelectedIndex = 0;
  int32_t StateIndex = -1;
  int32_t OverlayIndex = -1;
  int32_t Data = 0;
};

// The nodes' levels must describe a tree: the first node at level 0, none more
// than one deeper than the node before (else EWriteError).
std::string EncodeTreeNodes(const std::vector<TTreeNodeRecord>& nodes);

// Checks every size and count against the bytes given and reads the nesting
// without recursion: EReadError "Stream read error" when the data ends early,
// "Invalid property value" when a record contradicts itself.
std::vector<TTreeNodeRecord> DecodeTreeNodes(const std::string& bytes);

}  // namespace tq
