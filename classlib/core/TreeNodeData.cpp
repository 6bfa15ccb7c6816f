#include "TreeNodeData.h"

#include "Classes.h"
#include "SysUtils.h"

namespace tq {

namespace {

constexpr int32_t kNodeFixedSize = 25;  // size field, five int32 fields, count, text length byte

void PutInt(std::string& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

class TCursor {
 public:
  explicit TCursor(const std::string& b) : FBytes(b) {}
  size_t Left() const { return FBytes.size() - FPos; }
  int32_t Int() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(FBytes[FPos + i])) << (8 * i);
    FPos += 4;
    return static_cast<int32_t>(v);
  }
  std::string Short() {
    Need(1);
    size_t n = static_cast<uint8_t>(FBytes[FPos++]);
    Need(n);
    std::string s = FBytes.substr(FPos, n);
    FPos += n;
    return s;
  }

 private:
  void Need(size_t n) const {
    if (Left() < n) throw EReadError("Stream read error");
  }
  const std::string& FBytes;
  size_t FPos = 0;
};

[[noreturn]] void BadNodes() { throw EReadError("Invalid property value"); }

}  // namespace

std::string EncodeTreeNodes(const std::vector<TTreeNodeRecord>& Nodes) {
  // Child counts: the nodes directly below each node, from the levels.
  std::vector<int32_t> children(Nodes.size(), 0);
  std::vector<size_t> parents;  // open ancestors of the current node
  int32_t topLevel = 0;
  for (size_t i = 0; i < Nodes.size(); ++i) {
    const int level = Nodes[i].Level;
    if (level < 0 || static_cast<size_t>(level) > parents.size())
      throw EWriteError("Invalid tree node level");
    parents.resize(static_cast<size_t>(level));
    if (level == 0)
      ++topLevel;
    else
      ++children[parents.back()];
    parents.push_back(i);
  }
  std::string out;
  PutInt(out, topLevel);
  for (size_t i = 0; i < Nodes.size(); ++i) {
    const TTreeNodeRecord& n = Nodes[i];
    const std::string text = n.Text.substr(0, 255);
    PutInt(out, kNodeFixedSize + static_cast<int32_t>(text.size()));
    PutInt(out, n.ImageIndex);
    PutInt(out, n.SelectedIndex);
    PutInt(out, n.StateIndex);
    PutInt(out, n.OverlayIndex);
    PutInt(out, n.Data);
    PutInt(out, children[i]);
    out.push_back(static_cast<char>(text.size()));
    out += text;
  }
  return out;
}

std::vector<TTreeNodeRecord> DecodeTreeNodes(const std::string& bytes) {
  TCursor c(bytes);
  std::vector<TTreeNodeRecord> nodes;
  // Remaining children to read at each open level; the bottom entry counts the
  // top-level nodes. Every node needs at least kNodeFixedSize bytes, which
  // bounds every count by the bytes left.
  std::vector<int64_t> pending;
  const int32_t top = c.Int();
  if (top < 0 || static_cast<uint64_t>(top) > c.Left() / kNodeFixedSize) BadNodes();
  pending.push_back(top);
  while (!pending.empty()) {
    if (pending.back() == 0) {
      pending.pop_back();
      continue;
    }
    --pending.back();
    TTreeNodeRecord n;
    const int32_t size = c.Int();
    n.Level = static_cast<int>(pending.size()) - 1;
    n.ImageIndex = c.Int();
    n.SelectedIndex = c.Int();
    n.StateIndex = c.Int();
    n.OverlayIndex = c.Int();
    n.Data = c.Int();
    const int32_t count = c.Int();
    n.Text = c.Short();
    if (size != kNodeFixedSize + static_cast<int32_t>(n.Text.size())) BadNodes();
    if (count < 0 || static_cast<uint64_t>(count) > c.Left() / kNodeFixedSize) BadNodes();
    nodes.push_back(std::move(n));
    pending.push_back(count);
  }
  return nodes;
}

}  // namespace tq
