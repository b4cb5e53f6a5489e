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

std::vector<fs::path> filesBelow(const fs::path& folder) {
  std::vector<fs::path> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) out.push_back(fs::relative(entry.path(), folder));
  }
  return out;
}

// The build's content step wrote Resources/ in another process: a run here
// giving the same bytes shows the generator deterministic (and Resources/ current).
TEST(Generation, AFreshRunWritesTheBytesOfTheBuildsContentStep) {
  const TempFolder folder("umbrant_content_fresh");
  assetgen::GeneratedFiles generated;
  std::string error;
  ASSERT_TRUE(assetgen::generateContent(folder.path().string(), generated, error)) << error;
  const std::vector<fs::path> files = filesBelow(folder.path());
  EXPECT_EQ(files.size(), generated.paths.size());
  for (const fs::path& file : files) {
    EXPECT_TRUE(bytesOf(folder.path() / file) == bytesOf(fs::path(contenttest::kGeneratedFolder) / file))
        << file << " differs from Resources/";
  }
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
