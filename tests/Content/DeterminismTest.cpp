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

fs::path generateInto(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / (name + std::to_string(getpid()));
  fs::remove_all(folder);
  assetgen::GeneratedFiles generated;
  std::string error;
  EXPECT_TRUE(assetgen::generateContent(folder.string(), generated, error)) << error;
  EXPECT_EQ(filesBelow(folder).size(), generated.paths.size());
  return folder;
}

TEST(Generation, TwoRunsWriteIdenticalBytes) {
  const fs::path first = generateInto("umbrant_content_first_");
  const fs::path second = generateInto("umbrant_content_second_");
  const std::vector<fs::path> files = filesBelow(first);
  EXPECT_EQ(files, filesBelow(second));
  EXPECT_EQ(files.size(), 24u) << "8 FBX files and 16 textures";
  for (const fs::path& file : files) {
    EXPECT_TRUE(bytesOf(first / file) == bytesOf(second / file)) << file << " differs between runs";
    EXPECT_TRUE(bytesOf(first / file) == bytesOf(fs::path(contenttest::generatedFolder()) / file))
        << file << " in Resources/ is not what the generator writes now";
  }
  fs::remove_all(first);
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
