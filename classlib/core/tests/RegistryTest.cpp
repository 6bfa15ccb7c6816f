#ifdef _WIN32
#include "Registry.h"

#include <gtest/gtest.h>

using namespace tq;

namespace {
const char* const kTestKey = "Software\\Quorvel\\TarnquillCoreTest";
}

class TRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TRegistry r;
    r.DeleteKey(kTestKey);
  }
};

TEST_F(TRegistryTest, ALeadingBackslashIsStrippedAndMeansFromTheRoot) {
  bool relative = true;
  EXPECT_EQ("Software\\Quorvel\\Tarnquill", TRegistry::SystemPath("\\Software\\Quorvel\\Tarnquill", relative));
  EXPECT_FALSE(relative);
  EXPECT_EQ("Sub", TRegistry::SystemPath("Sub\\", relative));
  EXPECT_TRUE(relative);

  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kTestKey, true));
  EXPECT_EQ(kTestKey, reg.CurrentPath());
  reg.WriteString("BdeProPath", "C:\\bde.msm");
  reg.WriteInteger("Count", 42);
  reg.CloseKey();

  TRegistry read;
  ASSERT_TRUE(read.OpenKeyReadOnly(std::string("\\") + kTestKey));
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
  ASSERT_TRUE(reg.OpenKey(kTestKey, true));
  ASSERT_TRUE(reg.OpenKey("Product A", true));  // relative to the open key
  EXPECT_EQ(std::string(kTestKey) + "\\Product A", reg.CurrentPath());
  reg.WriteString("ProgramTitle", "A");
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kTestKey + "\\Product B", true));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(std::string("\\") + kTestKey + "\\Product A"));
  EXPECT_FALSE(reg.OpenKey(std::string(kTestKey) + "\\Missing", false));
  ASSERT_TRUE(reg.OpenKey(kTestKey, false));
  TStringList keys;
  reg.GetKeyNames(keys);
  keys.Sort();
  EXPECT_EQ("\"Product A\",\"Product B\"", keys.CommaText());
  EXPECT_TRUE(reg.HasSubKeys());
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey(std::string("\\") + kTestKey));  // with its sub-keys
  EXPECT_FALSE(reg.KeyExists(kTestKey));
}
#endif
