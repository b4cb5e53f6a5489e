// Generating the content gives the same files, byte for byte, every time; an
// unwritable destination is reported, not crashed on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "GeneratedContent.h"
#include "Generator.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::vector<char> bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The build's content step wrote Resources/ in another process: a run here
// giving the same bytes shows the generator deterministic (and Resources/ current).
TEST(Generation, AFreshRunWritesTheBytesOfTheBuildsContentStep) {
  const TempFolder folder("umbrant_content_fresh");
  assetgen::GeneratedFiles generated;
  std::string error;
  ASSERT_TRUE(assetgen::generateContent(folder.path().string(), generated, error)) << error;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path file = fs::relative(entry.path(), folder.path());
    EXPECT_TRUE(bytesOf(entry.path()) == bytesOf(contenttest::kGeneratedFolder / file))
        << file << " differs from Resources/";
  }
  EXPECT_EQ(files, generated.paths.size());
}

TEST(Generation, UnwritableDestinationIsReportedWithItsPath) {
  const TempFolder folder("umbrant_content_blocker");
  const std::string blocker = folder.file("blocker");
  std::ofstream(blocker) << "a file where a folder should be";
  assetgen::GeneratedFiles generated;
  std::string error;
  EXPECT_FALSE(assetgen::generateContent(blocker + "/Resources", generated, error));
  EXPECT_NE(error.find(blocker), std::string::npos) << error;
}

}  // namespace
