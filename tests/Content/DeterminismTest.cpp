// Generating the content twice gives the same files, byte for byte; an
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
  std::sort(out.begin(), out.end());
  return out;
}

// Generates the content into `folder` and checks that the list of written files is complete.
void generateInto(const fs::path& folder) {
  assetgen::GeneratedFiles generated;
  std::string error;
  EXPECT_TRUE(assetgen::generateContent(folder.string(), generated, error)) << error;
  EXPECT_EQ(filesBelow(folder).size(), generated.paths.size());
}

TEST(Generation, TwoRunsWriteIdenticalBytes) {
  const TempFolder first("umbrant_content_first"), second("umbrant_content_second");
  generateInto(first.path());
  generateInto(second.path());
  const std::vector<fs::path> files = filesBelow(first.path());
  EXPECT_EQ(files, filesBelow(second.path()));
  EXPECT_EQ(files.size(), 24u) << "8 FBX files and 16 textures";
  for (const fs::path& file : files) {
    EXPECT_TRUE(bytesOf(first.path() / file) == bytesOf(second.path() / file)) << file << " differs between runs";
    EXPECT_TRUE(bytesOf(first.path() / file) == bytesOf(fs::path(contenttest::generatedFolder()) / file))
        << file << " in Resources/ is not what the generator writes now";
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
