// Generating the content twice gives the same files, byte for byte; an
// unwritable destination is reported, not crashed on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "GeneratedContent.h"
#include "Generator.h"

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

TEST(Generation, TwoRunsWriteIdenticalBytes) {
  const fs::path first = contenttest::generatedFolder();
  const fs::path second = fs::temp_directory_path() / ("umbrant_content_again_" + std::to_string(getpid()));
  fs::remove_all(second);
  assetgen::GeneratedFiles generated;
  std::string error;
  ASSERT_TRUE(assetgen::generateContent(second.string(), generated, error)) << error;
  const std::vector<fs::path> files = filesBelow(first);
  EXPECT_EQ(files, filesBelow(second));
  EXPECT_EQ(files.size(), generated.paths.size());
  for (const fs::path& file : files) {
    EXPECT_TRUE(bytesOf(first / file) == bytesOf(second / file)) << file << " differs between runs";
  }
  fs::remove_all(second);
}

TEST(Generation, UnwritableDestinationIsReportedWithItsPath) {
  const fs::path blocker = fs::temp_directory_path() / ("umbrant_content_blocker_" + std::to_string(getpid()));
  std::ofstream(blocker) << "a file where a folder should be";
  assetgen::GeneratedFiles generated;
  std::string error;
  EXPECT_FALSE(assetgen::generateContent((blocker / "Resources").string(), generated, error));
  EXPECT_NE(error.find(blocker.string()), std::string::npos) << error;
  fs::remove(blocker);
}

}  // namespace
