// The updater stand-ins record the argument text Tarnquill gave them, exactly.
#include <gtest/gtest.h>

#include <ostream>

#include "StandInFixture.h"

namespace tq::testing {
namespace {

struct UpdaterCase {
  const char* Name;
  const char* Program;
  const char* Recording;
  const char* Arguments;
};

void PrintTo(const UpdaterCase& c, std::ostream* os) { *os << c.Name; }

class UpdaterStandInTest : public StandInFolder, public ::testing::WithParamInterface<UpdaterCase> {};

TEST_P(UpdaterStandInTest, RecordsItsArgumentsBesideItself) {
  const UpdaterCase& c = GetParam();
  CopyProgram(c.Program, c.Program);
  EXPECT_EQ(Run(c.Program, c.Arguments), 0);
  EXPECT_EQ(Read(c.Recording), c.Arguments);
  // A later start replaces the record.
  EXPECT_EQ(Run(c.Program, "again"), 0);
  EXPECT_EQ(Read(c.Recording), "again");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdaterStandInTest,
    ::testing::Values(
        UpdaterCase{"UpdatesFromTheMenu", "Updates.exe", "Updates.cmdline.txt",
                    "\"C:\\Program Files\\Tarnquill\\Tarnquill.exe\" \"http://updates.example/tarnquill/\" "
                    "\"Tarnquill\" /now"},
        UpdaterCase{"UpdatesAtStartUp", "Updates.exe", "Updates.cmdline.txt",
                    "\"C:\\Tarnquill\\Tarnquill.exe\" \"http://updates.example/tarnquill/\" \"Tarnquill\""},
        UpdaterCase{"UndoUpdates", "UndoUpdates.exe", "UndoUpdates.cmdline.txt", "C:\\Program Files\\Tarnquill\\Tarnquill.exe"}),
    [](const ::testing::TestParamInfo<UpdaterCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace tq::testing
