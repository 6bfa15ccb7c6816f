// Components, property tables, named constants, fonts and the class registry.
#include <gtest/gtest.h>

#include "ClassRegistry.h"
#include "Component.h"
#include "ComponentTestClasses.h"
#include "Graphics.h"
#include "TypInfo.h"

namespace tq::testing {
namespace {

std::vector<std::string> PropNames(const TPropertyTable& t) {
  std::vector<std::string> names;
  for (const auto& p : t.Props()) names.push_back(p.Name);
  return names;
}

// Counts its own destruction and the removals it is told of.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, int* destroyed) : TComponent(owner), FDestroyed(destroyed) {}
  ~TProbe() override {
    if (FDestroyed) ++*FDestroyed;
  }
  std::vector<TComponent*> Removed;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) Removed.push_back(c);
  }

 private:
  int* FDestroyed;
};

TEST(ComponentOwnership, OwnerFreesItsComponentsAndAChildLeavesItsOwner) {
  int destroyed = 0;
  auto* owner = new TComponent(nullptr);
  auto* a = new TProbe(owner, &destroyed);
  auto* b = new TProbe(owner, &destroyed);
  a->SetName("First");
  b->SetName("Second");
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("first"), a);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(owner->Components(2), EListError);

  delete a;  // leaves the owner's list
  EXPECT_EQ(destroyed, 1);
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), b);
  EXPECT_EQ(owner->FindComponent("First"), nullptr);

  delete owner;
  EXPECT_EQ(destroyed, 2);
}

TEST(ComponentOwnership, InsertMovesBetweenOwnersAndRemoveKeepsTheObject) {
  TComponent one(nullptr), two(nullptr);
  auto* c = new TComponent(&one);
  two.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &two);
  EXPECT_EQ(one.ComponentCount(), 0);
  two.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  EXPECT_EQ(two.ComponentCount(), 0);
  delete c;
}

// Components removed in any order (the first ones, every other one, the
// last, one inserted after the removals) leave the others in order, each at
// its index, found by name, and freed last inserted first.
TEST(ComponentOwnership, RemovalsKeepTheOthersInOrderAndAtTheirIndexes) {
  int destroyed = 0;
  auto* owner = new TProbe(nullptr, &destroyed);
  std::vector<TComponent*> model;
  for (int i = 0; i < 200; ++i) {
    model.push_back(new TComponent(owner));
    model.back()->SetName("Item" + std::to_string(i));
  }
  auto remove = [&](size_t at) {
    delete model[at];
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
  };
  auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(owner->ComponentCount(), static_cast<int>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(owner->Components(static_cast<int>(i)), model[i]);
      ASSERT_EQ(model[i]->ComponentIndex(), static_cast<int>(i));
      ASSERT_EQ(owner->FindComponent(model[i]->Name()), model[i]);
    }
  };
  for (int i = 0; i < 30; ++i) remove(0);
  check("the first removed");
  for (size_t i = 1; i < model.size(); ++i) remove(i);
  check("every other removed");
  remove(model.size() - 1);
  EXPECT_EQ(owner->FindComponent("Item199"), nullptr);
  model.push_back(new TComponent(owner));
  model.back()->SetName("Item199");
  EXPECT_EQ(owner->Components(owner->ComponentCount() - 1), model.back());
  check("the last removed, one inserted");
  owner->Removed.clear();
  owner->DestroyComponents();
  EXPECT_EQ(owner->ComponentCount(), 0);
  EXPECT_EQ(owner->Removed, std::vector<TComponent*>(model.rbegin(), model.rend()));
  delete owner;
  EXPECT_EQ(destroyed, 1);
}

TEST(ComponentNames, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Edit1");
  try {
    b->SetName("EDIT1");
    FAIL() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named EDIT1 already exists");
  }
  for (const char* bad : {"1abc", "a b", "a.b", "-"}) {
    try {
      b->SetName(bad);
      FAIL() << bad;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message, std::string("'") + bad + "' is not a valid component name");
    }
  }
  a->SetName("edit1");  // its own name in another case
  b->SetName("");       // empty names repeat freely
  auto* c = new TComponent(&owner);
  EXPECT_EQ(c->Name(), "");
  // A named component cannot join an owner that has the name already.
  auto* d = new TComponent(nullptr);
  d->SetName("Edit1");
  EXPECT_THROW(owner.InsertComponent(d), EComponentError);
  delete d;
}

TEST(ComponentNotification, FreeNotificationTellsTheOtherSideOnce) {
  int destroyed = 0;
  auto* watcher = new TProbe(nullptr, &destroyed);
  auto* watched = new TComponent(nullptr);
  watched->FreeNotification(watcher);
  delete watched;
  ASSERT_EQ(watcher->Removed.size(), 1u);
  delete watcher;  // must not touch the freed object

  // Either side may go first.
  auto* w2 = new TProbe(nullptr, &destroyed);
  auto* x2 = new TComponent(nullptr);
  x2->FreeNotification(w2);
  delete w2;
  delete x2;
  EXPECT_EQ(destroyed, 2);
}

TEST(ComponentPropertyTable, OwnNameTakesTheInheritedPlaceBeforeTag) {
  EXPECT_EQ(PropNames(TTestItem::ClassProperties()),
            (std::vector<std::string>{"Name", "Tag", "Count", "Limit", "Enabled", "Hidden", "Caption", "Files",
                                      "Font", "Options", "Border", "Color", "Ratio", "Big", "Columns", "Link"}));
  // Without a Name of its own the component's name is not stored: Tag first.
  EXPECT_EQ(PropNames(TTestData::ClassProperties()), (std::vector<std::string>{"Name", "Tag", "Title", "Flag"}));
  TTestData d;
  EXPECT_FALSE(TTestData::ClassProperties().Find("name")->IsStored(d));
  EXPECT_EQ(PropNames(TFont::ClassProperties()),
            (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Style"}));
  EXPECT_EQ(TTestItem::ClassProperties().Find("COUNT"), &TTestItem::ClassProperties().Props()[2]);
  EXPECT_EQ(TTestItem::ClassProperties().Find("Nope"), nullptr);
}

TEST(ComponentPropertyTable, AccessorsGoThroughTheSetterAndDefaultsDecideStorage) {
  TTestItem item;
  const auto& t = TTestItem::ClassProperties();
  t.Find("Count")->SetOrd(item, 42);
  EXPECT_EQ(item.Count, 42);
  EXPECT_EQ(item.CountSets, 1);
  EXPECT_EQ(t.Find("Count")->GetOrd(item), 42);
  EXPECT_FALSE(t.Find("Count")->IsDefault(item));  // no declared default
  EXPECT_TRUE(t.Find("Limit")->IsDefault(item));
  item.Limit = 8;
  EXPECT_FALSE(t.Find("Limit")->IsDefault(item));
  EXPECT_TRUE(t.Find("Caption")->IsDefault(item));
  t.Find("Caption")->SetStr(item, "x");
  EXPECT_EQ(item.Caption, "x");
  EXPECT_TRUE(t.Find("Files")->IsDefault(item));
  item.Files.Add("a");
  EXPECT_FALSE(t.Find("Files")->IsDefault(item));
  EXPECT_EQ(t.Find("Font")->GetNested(item), &item.Font);
  EXPECT_TRUE(t.Find("Tag")->IsDefault(item));
}

TEST(ComponentNamedConstants, ColoursAndCharsetsMapBothWays) {
  struct Case {
    const char* Name;
    int64_t Value;
  } cases[] = {
      {"clBlack", 0x000000},          {"clBlue", 0xFF0000},           {"clRed", 0x0000FF},
      {"clWhite", 0xFFFFFF},          {"clBtnFace", 0x8000000F},      {"clWindow", 0x80000005},
      {"clWindowText", 0x80000008},   {"clHighlight", 0x8000000D},    {"clNone", 0x1FFFFFFF},
      {"clDefault", 0x20000000},      {"clInfoBk", 0x80000018},       {"clMenuBar", 0x8000001E},
  };
  for (const auto& c : cases) {
    TColor v;
    ASSERT_TRUE(IdentToColor(c.Name, v)) << c.Name;
    EXPECT_EQ(static_cast<uint32_t>(v), static_cast<uint32_t>(c.Value)) << c.Name;
    std::string back;
    ASSERT_TRUE(ColorToIdent(v, back));
    EXPECT_EQ(back, c.Name);
  }
  TColor v;
  ASSERT_TRUE(IdentToColor("CLLTGRAY", v));  // alias, any case
  EXPECT_EQ(v, clSilver);
  EXPECT_EQ(ColorToString(clSilver), "clSilver");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("$00123456"), 0x123456);
  EXPECT_THROW(StringToColor("clNothing"), EConvertError);

  int32_t cs;
  ASSERT_TRUE(CharsetIdents().IdentToInt("DEFAULT_CHARSET", cs));
  EXPECT_EQ(cs, 1);
  ASSERT_TRUE(CharsetIdents().IdentToInt("ANSI_CHARSET", cs));
  EXPECT_EQ(cs, 0);
  std::string id;
  ASSERT_TRUE(CharsetIdents().IntToIdent(255, id));
  EXPECT_EQ(id, "OEM_CHARSET");
  EXPECT_FALSE(CharsetIdents().IntToIdent(3, id));
  EXPECT_EQ(FindIntegerConsts("TColor"), &ColorIdents());
  ASSERT_TRUE(FindIntegerConst("RUSSIAN_CHARSET", cs));
  EXPECT_EQ(cs, 204);

  EXPECT_EQ(FontStyleNames().ValueOf("FSSTRIKEOUT"), fsStrikeOut);
  EXPECT_EQ(FontStyleNames().SetToString(FontStyle(fsBold) | FontStyle(fsUnderline)), "[fsBold, fsUnderline]");
  EXPECT_EQ(BorderStyleNames().ValueOf("bsNone"), bsNone);
  EXPECT_EQ(FontPitchNames().ValueOf("fpFixed"), fpFixed);
  EXPECT_EQ(FontPitchNames().ValueOf("fpOther"), -1);
}

TEST(ComponentFont, SizeFollowsHeightAt96DpiAndChangesAreSignalled) {
  TFont f;
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Pitch(), fpDefault);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  EXPECT_EQ(f.Size(), 10);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(-16);  // unchanged: no signal
  EXPECT_EQ(changes, 2);
  f.SetStyle(FontStyle(fsBold) | FontStyle(fsItalic));
  EXPECT_EQ(changes, 3);

  TFont g;
  g.Assign(f);
  EXPECT_EQ(g.Height(), -16);
  EXPECT_EQ(g.Style(), FontStyle(fsBold) | FontStyle(fsItalic));
  EXPECT_EQ(g.Name(), f.Name());
  TTestData d;
  EXPECT_THROW(g.Assign(d), EConvertError);
}

TEST(ComponentCollection, AddAssignDeleteAndIndexes) {
  TCollection a([] { return new TTestColumn; });
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  static_cast<TTestColumn*>(a.Add())->Width = 5;
  static_cast<TTestColumn*>(a.Add())->Width = 6;
  EXPECT_EQ(a.Items(1)->Index(), 1);
  EXPECT_EQ(changes, 2);
  TCollection b([] { return new TTestColumn; });
  EXPECT_THROW(b.Assign(a), EConvertError);  // the items cannot assign themselves
  a.Delete(0);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(static_cast<TTestColumn*>(a.Items(0))->Width, 6);
  EXPECT_THROW(a.Delete(3), EListError);
}

TEST(ComponentClassRegistry, RegisteredClassesAreFoundAndMade) {
  RegisterClass<TTestPanel>();
  const TComponentClass* c = GetClass("ttestpanel");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Name, "TTestPanel");
  TComponent owner(nullptr);
  TComponent* made = c->Create(&owner);
  EXPECT_EQ(made->ClassName(), "TTestPanel");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  try {
    FindClass("TNoSuchClass");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchClass not found");
  }
  RegisterClass("TTestAlias", [](TComponent* o) -> TComponent* { return new TTestData(o); });
  EXPECT_EQ(FindClass("TTestAlias").Create(&owner)->ClassName(), "TTestData");
  UnRegisterClass("TTestAlias");
  EXPECT_EQ(GetClass("TTestAlias"), nullptr);
}

}  // namespace
}  // namespace tq::testing
