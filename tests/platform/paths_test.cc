// Paths as users give them: both separators on every system, a root that
// stays a root, a name without a folder.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillaret::platform {
namespace {

TEST(Paths, FolderNameAndJoin) {
  struct Row {
    std::string path, folder, name;
  };
  for (const Row& row : std::vector<Row>{{"Mod.esp", "", "Mod.esp"},
                                         {"/Mod.esp", "/", "Mod.esp"},
                                         {"Data Files/Mod.esp", "Data Files", "Mod.esp"},
                                         {"C:\\Games\\Data Files\\My.Mod.esp", "C:\\Games\\Data Files", "My.Mod.esp"},
                                         {"a\\b/Mod.esp", "a\\b", "Mod.esp"},
                                         {"Data/", "Data", ""}}) {
    EXPECT_EQ(folder_of(row.path), row.folder) << row.path;
    EXPECT_EQ(file_name(row.path), row.name) << row.path;
  }
  EXPECT_EQ(join_path("", "Mod.esp"), "Mod.esp");
  EXPECT_EQ(join_path("Data", "Mod.esp"), "Data" + std::string(1, native_separator()) + "Mod.esp");
  EXPECT_EQ(join_path("C:\\Data\\", "Mod.esp"), "C:\\Data\\Mod.esp");
  EXPECT_EQ(join_path("/", "Mod.esp"), "/Mod.esp");
}

}  // namespace
}  // namespace quillaret::platform
