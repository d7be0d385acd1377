#include "resources.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCourse;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(ExtractResourceTest, ReplacesTheWholeFile) {
    TempDir dir;
    FolderResources resources(FixtureCourse());
    auto trend = dir / "trend2FIX.txt";
    WriteBytes(trend, "#TRD#>50>66.7>100\r\n");
    EXPECT_EQ(ExtractResource(resources, 30126, "Custom", trend), 0);
    EXPECT_EQ(ReadBytes(trend), "#TRD#");
}

TEST(ExtractResourceTest, CopiesTheBytesUnchangedEveryTime) {
    TempDir dir;
    FolderResources resources(FixtureCourse());
    auto file = dir / "temptext30000.txt";
    ASSERT_EQ(ExtractResource(resources, 30000, "Custom", file), 0);
    std::string first = ReadBytes(file);
    ASSERT_EQ(ExtractResource(resources, 30000, "Custom", file), 0);
    EXPECT_EQ(ReadBytes(file), first);
    EXPECT_EQ(first, ReadBytes(FixtureCourse() / "30000"));
}

TEST(ExtractResourceTest, FailuresAreStatusesAndLeaveNoFile) {
    TempDir dir;
    FolderResources resources(FixtureCourse());
    auto file = dir / "out.txt";
    EXPECT_EQ(ExtractResource(resources, 29999, "Custom", file), kExtractResourceMissing);
    EXPECT_EQ(ExtractResource(resources, 30000, "Bitmap", file), kExtractResourceMissing);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(ExtractResource(resources, 30000, "Custom", dir / "no-such-folder" / "out.txt"), kExtractPathNotFound);
    // A folder in the target's place cannot be replaced by a file.
    std::filesystem::create_directory(dir / "taken");
    EXPECT_NE(ExtractResource(resources, 30000, "Custom", dir / "taken"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
    EXPECT_FALSE(ExtractStatusText(kExtractPathNotFound).empty());
}

class ThrowingResources : public ResourceSource {
public:
    std::optional<std::string> Load(int, std::string_view) const override { throw std::bad_alloc(); }
};

TEST(ExtractResourceTest, NeverThrows) {
    TempDir dir;
    EXPECT_NE(ExtractResource(ThrowingResources(), 1, "Custom", dir / "x"), 0);
}

}  // namespace
}  // namespace ep
