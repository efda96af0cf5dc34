// The maintainer's check, run on every listing page the demo site serves: lumora-cut prints the
// novels the site generated, then the empty record that ends a short page.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/http.h"
#include "tools/demo-site/demo_site.h"

namespace lumora {
namespace {

std::vector<std::vector<std::string>> cut(const std::string& pageFile, const char* kind,
                                          const std::string& hosts) {
    const std::string command =
        std::string(LUMORA_CUT) + " '" + pageFile + "' --kind " + kind + " --hosts " + hosts;
    std::vector<std::vector<std::string>> records;
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return records;
    std::string text;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;)
        text.append(buffer, n);
    EXPECT_EQ(pclose(out), 0);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            fields.push_back(line.substr(start, tab - start));
        }
        fields.push_back(line.substr(start));
        records.push_back(fields);
    }
    return records;
}

TEST(LumoraCutOnTheDemoSite, YieldsTheGeneratedNovelsOfEveryPage) {
    demo::DemoSite site;
    ASSERT_GT(site.start(0), 0);
    const SiteProfile profile = site.profile();
    const std::string pageFile = std::filesystem::temp_directory_path() / "lumora-cut-demo.html";
    int pages = 0;
    for (const CategoryKind kind : {CategoryKind::finished, CategoryKind::ongoing}) {
        const char* kindName = kind == CategoryKind::finished ? "finished" : "ongoing";
        for (const auto& category : site.catalogue().categories(kind)) {
            for (int page = 1; page <= category.pageCount(); ++page, ++pages) {
                const ByteText url = SiteProfile::listingUrl(
                    profile.category(kind, category.index).listingPrefix, page);
                std::ofstream(pageFile, std::ios::binary) << httpGet(url);
                const auto records = cut(pageFile, kindName, site.address());
                const auto novels = site.catalogue().page(category, page);
                // Ongoing pages hold 12 novels, so the empty record always follows them.
                const size_t expected = std::min<size_t>(novels.size() + 1, 20);
                ASSERT_EQ(records.size(), expected) << url;
                for (size_t i = 0; i < novels.size(); ++i) {
                    ASSERT_EQ(records[i].size(), 7u);
                    EXPECT_EQ(records[i][0], novels[i].stem.str());
                    EXPECT_EQ(records[i][1], novels[i].title.str());
                    EXPECT_EQ(records[i][2], novels[i].author.str());
                    EXPECT_EQ(records[i][3], novels[i].synopsis.str());
                }
                if (records.size() > novels.size()) {
                    EXPECT_EQ(records.back()[1], "") << url;
                }
            }
        }
    }
    EXPECT_GT(pages, 100);
    std::filesystem::remove(pageFile);
}

}  // namespace
}  // namespace lumora
