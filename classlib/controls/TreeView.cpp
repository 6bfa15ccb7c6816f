#include "TreeView.h"

#include "TreeNodeData.h"

namespace tq {

// ---- TTreeNode -------------------------------------------------------------

TTreeView* TTreeNode::TreeView() const { return FOwner->FOwner; }

void TTreeNode::SetText(const std::string& s) {
  FText = s;
  TTreeView* tv = TreeView();
  if (FId && tv->HandleAllocated()) {
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = FId;
    item.pszText = const_cast<char*>(FText.c_str());
    SendMessageA(tv->WindowHandle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

int TTreeNode::Level() const {
  int n = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent) ++n;
  return n;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  return FChildren[static_cast<size_t>(index)];
}

int TTreeNode::Index() const {
  const auto& sib = FOwner->Siblings(FParent);
  for (size_t i = 0; i < sib.size(); ++i)
    if (sib[i] == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::AbsoluteIndex() const {
  int n = 0;
  for (TTreeNode* p = FOwner->GetFirstNode(); p; p = p->GetNext(), ++n)
    if (p == this) return n;
  return -1;
}

TTreeNode* TTreeNode::getNextSibling() const {
  const auto& sib = FOwner->Siblings(FParent);
  int i = Index();
  return i + 1 < static_cast<int>(sib.size()) ? sib[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
  const auto& sib = FOwner->Siblings(FParent);
  int i = Index();
  return i > 0 ? sib[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* s = n->getNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* p = getPrevSibling();
  if (!p) return FParent;
  while (!p->FChildren.empty()) p = p->FChildren.back();
  return p;
}

bool TTreeNode::IsFirstNode() const { return FOwner->GetFirstNode() == this; }

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  for (TTreeNode* p = FParent; p; p = p->FParent)
    if (p == node) return true;
  return false;
}

// The node and, when recursive, every node below it, walked with a list of
// its own: a tree of any depth never runs out of stack.
void TTreeNode::SetExpandedBelow(bool expanded, bool recursive) {
  TTreeView* tv = TreeView();
  std::vector<TTreeNode*> pending{this};
  while (!pending.empty()) {
    TTreeNode* node = pending.back();
    pending.pop_back();
    node->FExpanded = expanded;
    if (node->FId && tv->HandleAllocated())
      SendMessageA(tv->WindowHandle(), TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                   reinterpret_cast<LPARAM>(node->FId));
    if (recursive) pending.insert(pending.end(), node->FChildren.rbegin(), node->FChildren.rend());
  }
}

void TTreeNode::Expand(bool recursive) { SetExpandedBelow(true, recursive); }

void TTreeNode::Collapse(bool recursive) { SetExpandedBelow(false, recursive); }

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool v) {
  TTreeView* tv = TreeView();
  if (v) tv->SetSelected(this);
  else if (tv->Selected() == this) tv->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
  TTreeView* tv = TreeView();
  if (FId && tv->HandleAllocated()) SendMessageA(tv->WindowHandle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FId));
}

bool TTreeNode::EditText() {
  TTreeView* tv = TreeView();
  if (!FId || !tv->HandleAllocated()) return false;
  return SendMessageA(tv->WindowHandle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(FId)) != 0;
}

void TTreeNode::EndEdit(bool cancel) {
  TTreeView* tv = TreeView();
  if (tv->HandleAllocated()) SendMessageA(tv->WindowHandle(), TVM_ENDEDITLABELNOW, cancel, 0);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) FOwner->Delete(FChildren.back());
}

// ---- TTreeNodes ------------------------------------------------------------

void TTreeNodes::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TTreeNodes*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  TMemoryStream data;
  other->WriteData(data);
  data.SetPosition(0);
  ReadData(data);
}

void TTreeNodes::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !FRoots.empty());
}

namespace {
// Pre-order without recursion: a stored tree may nest as deep as its data.
void FlattenNodes(const std::vector<TTreeNode*>& roots, std::vector<TTreeNodeRecord>& out) {
  std::vector<std::pair<const TTreeNode*, int>> todo;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) todo.emplace_back(*it, 0);
  while (!todo.empty()) {
    const auto [node, level] = todo.back();
    todo.pop_back();
    TTreeNodeRecord r;
    r.Text = node->Text();
    r.Level = level;
    r.ImageIndex = node->ImageIndex;
    r.SelectedIndex = node->SelectedIndex;
    r.StateIndex = node->StateIndex;
    r.OverlayIndex = node->OverlayIndex;
    out.push_back(std::move(r));
    for (int i = node->Count() - 1; i >= 0; --i) todo.emplace_back(node->Item(i), level + 1);
  }
}
}  // namespace

void TTreeNodes::WriteData(TStream& stream) const {
  std::vector<TTreeNodeRecord> flat;
  FlattenNodes(FRoots, flat);
  const std::string bytes = EncodeTreeNodes(flat);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TTreeNodes::ReadData(TStream& stream) {
  std::string bytes(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  const std::vector<TTreeNodeRecord> flat = DecodeTreeNodes(bytes);  // checked before any change
  Clear();
  BeginUpdate();
  try {
    std::vector<TTreeNode*> path;  // the open ancestors of the next node
    for (const TTreeNodeRecord& r : flat) {
      path.resize(static_cast<size_t>(r.Level));
      TTreeNode* node = InsertNode(path.empty() ? nullptr : path.back(), -1, r.Text, nullptr);
      node->ImageIndex = r.ImageIndex;
      node->SelectedIndex = r.SelectedIndex;
      node->StateIndex = r.StateIndex;
      node->OverlayIndex = r.OverlayIndex;
      path.push_back(node);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* n : FRoots) FreeSubtree(n);
  FRoots.clear();
}

void TTreeNodes::FreeSubtree(TTreeNode* node) {
  // Without recursion: any depth.
  std::vector<TTreeNode*> pending{node};
  while (!pending.empty()) {
    TTreeNode* n = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), n->FChildren.begin(), n->FChildren.end());
    n->FChildren.clear();
    delete n;
  }
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, int position, const std::string& s, void* data) {
  auto* node = new TTreeNode(this);
  node->FText = s;
  node->Data = data;
  node->FParent = parent;
  auto& sib = Siblings(parent);
  if (position < 0 || position > static_cast<int>(sib.size())) position = static_cast<int>(sib.size());
  sib.insert(sib.begin() + position, node);
  if (FOwner->HandleAllocated()) FOwner->CreateItem(node);
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& s) { return AddObject(sibling, s, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& s, void* data) {
  return InsertNode(sibling ? sibling->FParent : nullptr, -1, s, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& s) {
  return InsertNode(sibling ? sibling->FParent : nullptr, 0, s, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& s) { return AddChildObject(parent, s, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& s, void* data) {
  return InsertNode(parent, -1, s, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& s) { return InsertNode(parent, 0, s, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& s) {
  if (!sibling) return InsertNode(nullptr, -1, s, nullptr);
  return InsertNode(sibling->FParent, sibling->Index(), s, nullptr);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node) return;
  FOwner->NodeDeleting(node);
  auto& sib = Siblings(node->FParent);
  for (size_t i = 0; i < sib.size(); ++i)
    if (sib[i] == node) {
      sib.erase(sib.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  FreeSubtree(node);
}

void TTreeNodes::Clear() {
  while (!FRoots.empty()) Delete(FRoots.back());
}

int TTreeNodes::Count() const {
  int n = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext()) ++n;
  return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
  int n = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext(), ++n)
    if (n == index) return p;
  throw EListError(Format("List index out of bounds (%d)", {index}));
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner->HandleAllocated()) {
    SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    FOwner->Invalidate();
  }
}

// ---- TTreeView -------------------------------------------------------------

const TPropertyTable& TTreeView::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TTreeView>("TTreeView", TControl::ClassProperties())
          .Enum("BorderStyle", BorderStyleNames(), &TTreeView::BorderStyle, &TTreeView::SetBorderStyle)
          .Default(bsSingle)
          .Boolean("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection)
          .Default(1)
          .Integer("Indent", &TTreeView::Indent, &TTreeView::SetIndent)
          .Integer("TabOrder", &TTreeView::TabOrder, &TTreeView::SetTabOrder)
          .Default(-1)
          .Object("Items", [](TTreeView& t) -> TTreeNodes& { return t.Items(); })
          .Build();
  return table;
}

void TTreeView::SetIndent(int v) {
  FIndent = v;
  if (FHandle) SendMessageA(FHandle, TVM_SETINDENT, static_cast<WPARAM>(v), 0);
}

void TTreeView::SetHideSelection(bool v) {
  FHideSelection = v;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, v ? (style & ~static_cast<LONG_PTR>(TVS_SHOWSELALWAYS)) : (style | TVS_SHOWSELALWAYS));
  }
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
}

TTreeView::~TTreeView() {
  // The nodes go before the window so that no notification finds half a tree.
  FSelected = nullptr;
  FDeleting = true;
  DestroyHandle();
}

void TTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = WC_TREEVIEWA;
  params.Style |= (FTabStop ? WS_TABSTOP : 0) | (FShowLines ? TVS_HASLINES : 0) | (FShowRoot ? TVS_LINESATROOT : 0) |
                  (FShowButtons ? TVS_HASBUTTONS : 0) | (FHideSelection ? 0 : TVS_SHOWSELALWAYS) |
                  (FReadOnly ? 0 : TVS_EDITLABELS) | (FToolTips ? 0 : TVS_NOTOOLTIPS);
  if (FBorder) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::InitWindow() {
  TWinControl::InitWindow();
  SendMessageA(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  for (TTreeNode* n : FItems.FRoots) CreateItem(n);
  if (FSelected && FSelected->FId) {
    FSelecting = true;
    SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSelected->FId));
    FSelecting = false;
  }
}

void TTreeView::DestroyHandle() {
  // The window's farewell notifications change nothing of the node list.
  bool was = FDeleting;
  FDeleting = true;
  TWinControl::DestroyHandle();
  FDeleting = was;
}

void TTreeView::CreateItem(TTreeNode* node) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = node->FParent ? node->FParent->FId : TVI_ROOT;
  TTreeNode* prev = node->getPrevSibling();
  ins.hInsertAfter = prev && prev->FId ? prev->FId : TVI_FIRST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(node->FText.c_str());
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  node->FId = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  for (TTreeNode* c : node->FChildren) CreateItem(c);
  if (node->FExpanded && !node->FChildren.empty())
    SendMessageA(FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->FId));
}

TTreeNode* TTreeView::NodeFromItem(HTREEITEM item) const {
  if (!item || !FHandle) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!SendMessageA(FHandle, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

void TTreeView::NodeDeleting(TTreeNode* node) {
  bool selectionGoes = FSelected && (FSelected == node || FSelected->HasAsParent(node));
  if (!FHandle || !node->FId) {
    if (selectionGoes) FSelected = nullptr;
    return;
  }
  FDeleting = true;
  SendMessageA(FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->FId));
  FDeleting = false;
  if (!selectionGoes) return;
  // The window chose another node for the selection (or none): follow it.
  HTREEITEM caret = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0));
  TTreeNode* next = NodeFromItem(caret);
  if (next && (next == node || next->HasAsParent(node))) next = nullptr;
  FSelected = next;
  Change(next);
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == FSelected) return;
  FSelected = node;
  if (FHandle) {
    FSelecting = true;
    SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->FId : nullptr));
    FSelecting = false;
  }
  Change(node);
}

void TTreeView::Change(TTreeNode* node) {
  if (OnChange) OnChange(this, node);
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
  if (!FHandle) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))) return nullptr;
  return NodeFromItem(item);
}

void TTreeView::FullExpand() {
  for (TTreeNode* n : FItems.FRoots) n->Expand(true);
}

void TTreeView::FullCollapse() {
  for (TTreeNode* n : FItems.FRoots) n->Collapse(true);
}

bool TTreeView::IsEditing() const { return FHandle && SendMessageA(FHandle, TVM_GETEDITCONTROL, 0, 0) != 0; }

void TTreeView::SetReadOnly(bool v) {
  FReadOnly = v;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, v ? (style & ~static_cast<LONG_PTR>(TVS_EDITLABELS)) : (style | TVS_EDITLABELS));
  }
}

TTreeNode* TTreeView::TopItem() const {
  return FHandle ? NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)))
                 : FItems.GetFirstNode();
}

bool TTreeView::CNNotify(NMHDR* header, LRESULT& result) {
  if (FDeleting) return false;
  switch (header->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      if (FSelecting || !OnChanging) return false;
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      bool allow = true;
      OnChanging(this, reinterpret_cast<TTreeNode*>(nm->itemNew.lParam), allow);
      result = allow ? FALSE : TRUE;
      return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      if (FSelecting) return true;
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      if (node != FSelected) {
        FSelected = node;
        Change(node);
      }
      return true;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
      auto* nm = reinterpret_cast<NMTVDISPINFOA*>(header);
      bool allow = !FReadOnly;
      if (OnEditing) OnEditing(this, reinterpret_cast<TTreeNode*>(nm->item.lParam), allow);
      result = allow ? FALSE : TRUE;
      return true;
    }
    case TVN_ENDLABELEDITA: {
      auto* nm = reinterpret_cast<NMTVDISPINFOA*>(header);
      auto* node = reinterpret_cast<TTreeNode*>(nm->item.lParam);
      if (!nm->item.pszText || !node) {
        result = FALSE;
        return true;
      }
      std::string s = nm->item.pszText;
      if (OnEdited) OnEdited(this, node, s);
      node->FText = s;
      if (s != nm->item.pszText) {
        node->SetText(s);
        result = FALSE;
      } else {
        result = TRUE;
      }
      return true;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      bool allow = true;
      if (nm->action & TVE_EXPAND) {
        if (OnExpanding) OnExpanding(this, node, allow);
      } else if (OnCollapsing) {
        OnCollapsing(this, node, allow);
      }
      result = allow ? FALSE : TRUE;
      return true;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      if (auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam)) node->FExpanded = (nm->action & TVE_EXPAND) != 0;
      return true;
    }
    case NM_CLICK:
      Click();
      return true;
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick(this);
      return false;
    default:
      return false;
  }
}

bool TTreeView::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "ReadOnly")) FReadOnly = prop.Value.AsBool();
  else if (SameText(n, "ToolTips")) FToolTips = prop.Value.AsBool();
  else if (SameText(n, "ShowLines")) FShowLines = prop.Value.AsBool();
  else if (SameText(n, "ShowRoot")) FShowRoot = prop.Value.AsBool();
  else if (SameText(n, "ShowButtons")) FShowButtons = prop.Value.AsBool();
  else if (SameText(n, "HideSelection")) FHideSelection = prop.Value.AsBool();
  else if (SameText(n, "BorderStyle"))
    FBorder = LayoutEnumValue(prop, loader, {{"bsNone", bsNone}, {"bsSingle", bsSingle}}) == bsSingle;
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else if (SameText(n, "OnChanging")) loader.Bind(OnChanging, prop);
  else if (SameText(n, "OnEditing")) loader.Bind(OnEditing, prop);
  else if (SameText(n, "OnEdited")) loader.Bind(OnEdited, prop);
  else if (SameText(n, "OnExpanding")) loader.Bind(OnExpanding, prop);
  else if (SameText(n, "OnCollapsing")) loader.Bind(OnCollapsing, prop);
  else if (SameText(n, "Indent")) FIndent = prop.Value.AsInt();
  else if (SameText(n, "RightClickSelect") || SameText(n, "AutoExpand") ||
           SameText(n, "SortType") || SameText(n, "RowSelect") || SameText(n, "Images"))
    return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
