#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "core/site_profile.h"
#include "tests/support/listing_page_fixture.h"

namespace lumora {
namespace {

std::vector<std::string> runCut(const ByteText& page, const char* kind) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("lumora-cut-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         std::string(kind) + ".html");
    std::ofstream(path, std::ios::binary) << page.str();
    const std::string command = std::string(LUMORA_CUT) + " " + path.string() + " --kind " + kind;
    std::vector<std::string> lines;
    if (FILE* out = popen(command.c_str(), "r")) {
        std::string text;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, out)) > 0)
            text.append(buffer, n);
        EXPECT_EQ(pclose(out), 0);
        std::istringstream stream(text);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
    }
    std::filesystem::remove(path);
    return lines;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        out.push_back(field);
    if (!line.empty() && line.back() == '\t')
        out.push_back("");
    return out;
}

TEST(LumoraCut, PrintsOneLinePerRecord) {
    const SiteProfile profile;
    struct Case {
        CategoryKind kind;
        const char* kindName;
        int novels;
        size_t lines;
    };
    const Case cases[] = {{CategoryKind::finished, "finished", 7, 8},
                          {CategoryKind::finished, "finished", 25, 20},
                          {CategoryKind::ongoing, "ongoing", 7, 8}};
    for (const auto& c : cases) {
        const auto novels = fixture::sampleNovels(c.novels);
        const auto lines = runCut(fixture::listingPage(profile, c.kind, novels), c.kindName);
        ASSERT_EQ(lines.size(), c.lines) << c.novels;
        const auto first = fields(lines[0]);
        ASSERT_EQ(first.size(), 7u);
        EXPECT_EQ(first[0], novels[0].stem);
        EXPECT_EQ(first[1], novels[0].title.str());
        EXPECT_EQ(first[2], novels[0].author.str());
        EXPECT_EQ(first[3], novels[0].synopsis.str());
        EXPECT_EQ(first[4], profile.coverUrl(ByteText(novels[0].coverPath)).str());
        EXPECT_EQ(first[6], profile.archiveUrl(ByteText(novels[0].stem)).str());
        if (lines.size() > novels.size()) {
            EXPECT_EQ(fields(lines.back())[1], "");
        }
    }
}

TEST(LumoraCut, EscapesControlBytesAndBackslashes) {
    const SiteProfile profile;
    auto novels = fixture::sampleNovels(1);
    novels[0].title = gbk("乗风");  // 81 5C: a trail byte, not a backslash
    novels[0].synopsis = ByteText("a\tb\r\nc\\d");
    const auto lines =
        runCut(fixture::listingPage(profile, CategoryKind::finished, novels), "finished");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(fields(lines[0])[1], gbk("乗风").str());
    EXPECT_EQ(fields(lines[0])[3], "a\\tb\\r\\nc\\\\d");
}

TEST(LumoraCut, RefusesBadArguments) {
    EXPECT_NE(std::system((std::string(LUMORA_CUT) + " x.html --kind other 2>/dev/null").c_str()),
              0);
    EXPECT_NE(std::system(
                  (std::string(LUMORA_CUT) + " /nonexistent --kind finished 2>/dev/null").c_str()),
              0);
}

}  // namespace
}  // namespace lumora
