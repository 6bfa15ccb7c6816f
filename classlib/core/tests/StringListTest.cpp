#include <gtest/gtest.h>

#include <vector>

#include "Classes.h"
#include "TempDir.h"

using namespace tq;

namespace {
std::vector<std::string> Entries(const TStrings& s) {
  std::vector<std::string> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.Get(i));
  return v;
}
using V = std::vector<std::string>;

class TCounted : public TObject {
 public:
  explicit TCounted(int& alive) : FAlive(alive) { ++FAlive; }
  ~TCounted() override { --FAlive; }

 private:
  int& FAlive;
};
}  // namespace

TEST(TList, IndexErrorsNameTheIndex) {
  TList list;
  int a, b, c;
  EXPECT_EQ(0, list.Add(&a));
  EXPECT_EQ(1, list.Add(&b));
  list.Insert(0, &c);
  EXPECT_EQ(&c, list[0]);
  EXPECT_EQ(2, list.IndexOf(&b));
  EXPECT_EQ(1, list.Remove(&a));
  EXPECT_EQ(-1, list.Remove(&a));
  list.Exchange(0, 1);
  EXPECT_EQ(&b, list.First());
  EXPECT_EQ(&c, list.Last());
  try {
    list.Get(2);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ("List index out of bounds (2)", e.Message);
  }
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(3, nullptr), EListError);
  list.Insert(2, nullptr);
  list.Pack();
  EXPECT_EQ(2, list.Count());
}

TEST(TList, SortIsStable) {
  int v[] = {3, 1, 3, 2, 1};
  TList list;
  for (int& x : v) list.Add(&x);
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  EXPECT_EQ(&v[1], list[0]);
  EXPECT_EQ(&v[4], list[1]);
  EXPECT_EQ(&v[3], list[2]);
  EXPECT_EQ(&v[0], list[3]);
  EXPECT_EQ(&v[2], list[4]);
}

TEST(TObject, ClassNameWithoutNamespace) {
  TStringList s;
  EXPECT_EQ("TStringList", s.ClassName());
  TObject& o = s;
  EXPECT_EQ("TStringList", o.ClassName());
}

TEST(TStringList, PropertiesAndObjects) {
  TStringList s;
  s.Add("one");
  s.AddObject("two", &s);
  s.AddIntObject("three", 7);
  EXPECT_EQ("two", s.Strings[1]);
  std::string t = s.Strings[0];
  EXPECT_EQ("one", t);
  s.Strings[0] = "uno";
  EXPECT_EQ("uno", s[0]);
  EXPECT_EQ(&s, static_cast<TObject*>(s.Objects[1]));
  EXPECT_EQ(7, s.GetIntObject(2));
  s.Objects[2] = TStrings::IntToObject(-1);
  EXPECT_EQ(-1, s.GetIntObject(2));
  EXPECT_EQ(1, s.IndexOfObject(&s));
  EXPECT_EQ(1, s.IndexOf("TWO"));  // case-insensitive by default
  s.SetCaseSensitive(true);
  EXPECT_EQ(-1, s.IndexOf("TWO"));
  s.Insert(0, "zero");
  EXPECT_EQ(V({"zero", "uno", "two", "three"}), Entries(s));
  EXPECT_EQ(&s, s.GetObjectAt(2));  // the object moved with its string
  s.Delete(0);
  s.Move(0, 2);
  EXPECT_EQ(V({"two", "three", "uno"}), Entries(s));
  EXPECT_EQ(7 - 8, s.GetIntObject(1));
  try {
    s.Get(3);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ("List index out of bounds (3)", e.Message);
  }
  EXPECT_THROW(s.Insert(5, "x"), EStringListError);
}

TEST(TStringList, SortedWithEachDuplicatesRule) {
  struct C {
    TDuplicates Dup;
    V Expected;
  } cases[] = {
      {dupIgnore, {"a", "b", "c"}},
      {dupAccept, {"a", "B", "b", "c"}},
  };
  for (const C& c : cases) {
    TStringList s;
    s.SetDuplicates(c.Dup);
    s.SetSorted(true);
    for (const char* x : {"c", "b", "a", "B"}) s.Add(x);
    EXPECT_EQ(c.Expected, Entries(s)) << c.Dup;
  }
  TStringList s;
  s.SetSorted(true);
  s.SetDuplicates(dupError);
  s.Add("x");
  try {
    s.Add("X");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ("String list does not allow duplicates", e.Message);
  }
  EXPECT_THROW(s.Insert(0, "a"), EStringListError);
  EXPECT_THROW(s.Put(0, "a"), EStringListError);
  // dupIgnore answers the index of the entry already there.
  TStringList t;
  t.SetSorted(true);
  t.Add("m");
  t.Add("z");
  EXPECT_EQ(1, t.Add("Z"));
  EXPECT_EQ(2, t.Count());
}

TEST(TStringList, FindGivesTheInsertionPoint) {
  TStringList s;
  s.SetSorted(true);
  for (const char* x : {"b", "d", "f"}) s.Add(x);
  int i = -1;
  EXPECT_TRUE(s.Find("D", i));
  EXPECT_EQ(1, i);
  EXPECT_FALSE(s.Find("e", i));
  EXPECT_EQ(2, i);
  EXPECT_FALSE(s.Find("a", i));
  EXPECT_EQ(0, i);
  EXPECT_FALSE(s.Find("g", i));
  EXPECT_EQ(3, i);
  EXPECT_EQ(1, s.IndexOf("d"));
  EXPECT_EQ(-1, s.IndexOf("e"));
}

TEST(TStringList, SortingAnUnsortedListAndCustomSort) {
  TStringList s;
  s.SetText("b.txt\r\na.exe\r\nc.exe\r\n");
  s.Sort();
  EXPECT_EQ(V({"a.exe", "b.txt", "c.exe"}), Entries(s));
  // By extension, equal extensions in their previous order.
  s.CustomSort([](TStringList& l, int a, int b) {
    return AnsiCompareText(ExtractFileExt(l.Get(a)), ExtractFileExt(l.Get(b)));
  });
  EXPECT_EQ(V({"a.exe", "c.exe", "b.txt"}), Entries(s));
  // Sorted accepted-duplicate inserts land before their equals.
  TStringList keys;
  keys.SetSorted(true);
  keys.SetDuplicates(dupAccept);
  keys.AddIntObject(".exe", 2);
  keys.AddIntObject(".exe", 1);
  EXPECT_EQ(1, keys.GetIntObject(0));
  EXPECT_EQ(2, keys.GetIntObject(1));
}

TEST(TStringList, TextJoinsWithCrLfAndSplitsAnyLineEnd) {
  TStringList s;
  s.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(V({"a", "b", "c", "d"}), Entries(s));
  EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n", s.Text());
  s.SetText("a\r\n\r\n");
  EXPECT_EQ(V({"a", ""}), Entries(s));
  s.SetText("");
  EXPECT_EQ(0, s.Count());
  EXPECT_EQ("", s.Text());
}

TEST(TStringList, CommaText) {
  TStringList s;
  s.Add("plain");
  s.Add("with space");
  s.Add("a,b");
  s.Add("q\"q");
  s.Add("");
  EXPECT_EQ("plain,\"with space\",\"a,b\",\"q\"\"q\",", s.CommaText());
  TStringList t;
  t.SetCommaText(s.CommaText());
  EXPECT_EQ(V({"plain", "with space", "a,b", "q\"q", ""}), Entries(t));
  t.SetCommaText("a b, c");  // unquoted blanks separate too
  EXPECT_EQ(V({"a", "b", "c"}), Entries(t));
  t.Clear();
  t.Add("");
  EXPECT_EQ("\"\"", t.CommaText());
}

TEST(TStringList, NamesAndValues) {
  TStringList s;
  s.Add("Name=Value");
  s.Add("Key=a=b");
  s.Add("NoEquals");
  EXPECT_EQ("Name", s.Names[0]);
  EXPECT_EQ("", s.Names[2]);
  EXPECT_EQ("Value", s.Values["NAME"]);
  EXPECT_EQ("a=b", s.Values["Key"]);
  EXPECT_EQ("", s.Values["missing"]);
  s.Values["Key"] = "c";
  EXPECT_EQ("Key=c", s[1]);
  s.Values["New"] = "n";
  EXPECT_EQ("New=n", s[3]);
  s.Values["Name"] = "";  // empty deletes
  EXPECT_EQ(V({"Key=c", "NoEquals", "New=n"}), Entries(s));
  EXPECT_EQ(2, s.IndexOfName("new"));
}

TEST(TStringList, ChangeEventsFireOncePerUpdate) {
  TStringList s;
  int changes = 0, changings = 0;
  s.OnChange = [&](TObject* sender) {
    EXPECT_EQ(&s, sender);
    ++changes;
  };
  s.OnChanging = [&](TObject*) { ++changings; };
  s.Add("a");
  EXPECT_EQ(1, changes);
  s.BeginUpdate();
  s.Add("b");
  s.Add("c");
  s.Delete(0);
  EXPECT_EQ(1, changes);
  s.EndUpdate();
  EXPECT_EQ(2, changes);
  EXPECT_EQ(2, changings);
  TStringList other;
  other.Add("x");
  s.Assign(other);
  EXPECT_EQ(3, changes);
  EXPECT_EQ(V({"x"}), Entries(s));
}

TEST(TStringList, OwnedObjectsAreFreed) {
  int alive = 0;
  {
    TStringList s;
    s.SetOwnsObjects(true);
    s.AddObject("a", new TCounted(alive));
    s.AddObject("b", new TCounted(alive));
    s.AddObject("c", new TCounted(alive));
    EXPECT_EQ(3, alive);
    s.Delete(0);
    EXPECT_EQ(2, alive);
  }
  EXPECT_EQ(0, alive);
}

class TStringListFiles : public tq::testing::TempDirTest {};

TEST_F(TStringListFiles, CrLfRoundTripAndLfAccepted) {
  TStringList s;
  s.Add("first");
  s.Add("");
  s.Add("C:\\Program Files\\x.ipr");
  s.SaveToFile(Path("list.txt"));
  EXPECT_EQ("first\r\n\r\nC:\\Program Files\\x.ipr\r\n", tq::testing::FileBytes(Path("list.txt")));
  TStringList t;
  t.LoadFromFile(Path("list.txt"));
  EXPECT_TRUE(t.Equals(s));
  tq::testing::WriteBytes(Path("lf.txt"), "a\nb\n");
  t.LoadFromFile(Path("lf.txt"));
  EXPECT_EQ(V({"a", "b"}), Entries(t));
  try {
    t.LoadFromFile(Path("missing.txt"));
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ("Cannot open file " + Path("missing.txt"), e.Message);
  }
}

TEST(TStringList, PropertiesFormatAsStrings) {
  TStringList s;
  s.Add("Name=Value");
  EXPECT_EQ("Name=Value / Value", Format("%s / %s", {s.Strings[0], s.Values["name"]}));
}
