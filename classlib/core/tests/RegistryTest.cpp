#ifdef _WIN32
#include "Registry.h"

#include <gtest/gtest.h>

using namespace tq;

// A key of each case's own: ctest runs the cases side by side.
class TRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TRegistry r;
    r.DeleteKey(TestKey);
  }
  const std::string TestKey = std::string("Software\\Quorvel\\TarnquillCoreTest.") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(TRegistryTest, ALeadingBackslashIsStrippedAndMeansFromTheRoot) {
  bool relative = true;
  EXPECT_EQ("Software\\Quorvel\\Tarnquill", TRegistry::SystemPath("\\Software\\Quorvel\\Tarnquill", relative));
  EXPECT_FALSE(relative);
  EXPECT_EQ("Sub", TRegistry::SystemPath("Sub\\", relative));
  EXPECT_TRUE(relative);

  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + TestKey, true));
  EXPECT_EQ(TestKey, reg.CurrentPath());
  reg.WriteString("BdeProPath", "C:\\bde.msm");
  reg.WriteInteger("Count", 42);
  reg.CloseKey();

  TRegistry read;
  ASSERT_TRUE(read.OpenKeyReadOnly(std::string("\\") + TestKey));
  EXPECT_EQ("C:\\bde.msm", read.ReadString("BdeProPath"));
  EXPECT_EQ(42, read.ReadInteger("Count"));
  EXPECT_TRUE(read.ValueExists("count"));
  EXPECT_EQ("", read.ReadString("Missing"));
  EXPECT_THROW(read.ReadInteger("Missing"), ERegistryException);
  try {
    read.ReadInteger("BdeProPath");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_EQ("Invalid data type for 'BdeProPath'", e.Message);
  }
  EXPECT_THROW(read.ReadString("Count"), ERegistryException);
  TStringList names;
  read.GetValueNames(names);
  names.Sort();
  EXPECT_EQ("BdeProPath,Count", names.CommaText());
}

TEST_F(TRegistryTest, RelativeKeysSubKeysAndDeletion) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(TestKey, true));
  ASSERT_TRUE(reg.OpenKey("Product A", true));  // relative to the open key
  EXPECT_EQ(TestKey + "\\Product A", reg.CurrentPath());
  reg.WriteString("ProgramTitle", "A");
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + TestKey + "\\Product B", true));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(std::string("\\") + TestKey + "\\Product A"));
  EXPECT_FALSE(reg.OpenKey(TestKey + "\\Missing", false));
  ASSERT_TRUE(reg.OpenKey(TestKey, false));
  TStringList keys;
  reg.GetKeyNames(keys);
  keys.Sort();
  EXPECT_EQ("\"Product A\",\"Product B\"", keys.CommaText());
  EXPECT_TRUE(reg.HasSubKeys());
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey(std::string("\\") + TestKey));  // with its sub-keys
  EXPECT_FALSE(reg.KeyExists(TestKey));
}
#endif
