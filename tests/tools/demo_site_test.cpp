#include "tools/demo-site/demo_site.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/gbk.h"
#include "harvest/cut_steps.h"
#include "harvest/listing_parser.h"
#include "platform/http.h"
#include "tools/demo-site/archive_bytes.h"
#include "tools/demo-site/cover_renderer.h"

namespace lumora::demo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr CategoryKind kBothKinds[] = {CategoryKind::finished, CategoryKind::ongoing};

// One exchange over a fresh connection, read until the server closes it: what httpGet does not
// show (status, headers, the announced length).
struct RawResponse {
    int status = 0;
    std::string headers;  // the status line and header lines
    ByteData body;
    bool closedByServer = false;

    std::optional<std::string> header(const std::string& name) const {
        const std::string key = "\r\n" + name + ": ";
        const size_t at = headers.find(key);
        if (at == std::string::npos)
            return std::nullopt;
        const size_t from = at + key.size();
        return headers.substr(from, headers.find("\r\n", from) - from);
    }
};

RawResponse rawGet(int port, const std::string& path) {
    RawResponse response;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return response;
    timeval timeout{10, 0};  // a server that never closes fails the test instead of hanging it
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return response;
    }
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    ::send(fd, request.data(), request.size(), 0);
    std::string raw;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            response.closedByServer = got == 0;
            break;
        }
        raw.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    const size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos)
        return response;
    response.headers = raw.substr(0, end);
    response.body = raw.substr(end + 4);
    if (response.headers.size() > 12)
        response.status = std::stoi(response.headers.substr(9, 3));
    return response;
}

// The path of a URL on the demo site ("http://127.0.0.1:PORT/..." less the address).
std::string pathOf(const ByteText& url) {
    const std::string& text = url.str();
    return text.substr(text.find('/', std::string("http://").size()));
}

// Characters of a GBK text, or -1 when the bytes are not GBK.
int gbkCharacters(const ByteText& text) {
    const auto utf8 = gbkToUtf8(text.str());
    if (!utf8)
        return -1;
    int count = 0;
    for (unsigned char c : *utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

// The novel total as the single-book edition cuts it: the last p bytes of the page, where p is
// the position of the last total-pages marker, up to their first marker, after "总数：".
ByteText cutTotal(const ByteText& page, const ByteText& totalPagesHead) {
    const ByteText tail = textRight(page, textFindLast(page, totalPagesHead, true));
    const ByteText head = textLeft(tail, textFind(tail, totalPagesHead, 1, true) - 1);
    return textAfter(head, gbk("总数："));
}

std::vector<NovelRecord> walk(const SiteProfile& profile, const ByteText& page, CategoryKind kind) {
    ListingParser parser(profile);
    std::vector<NovelRecord> records;
    walkPageText(
        parser, page, kind, [&](const NovelRecord& record) { records.push_back(record); }, [] {});
    return records;
}

void expectRecordOf(const NovelRecord& record, const NovelEntry& novel,
                    const SiteProfile& profile) {
    EXPECT_EQ(record.stem, novel.stem);
    EXPECT_EQ(record.title, novel.title);
    EXPECT_EQ(record.author, novel.author);
    EXPECT_EQ(record.synopsis, novel.synopsis);
    EXPECT_EQ(record.coverUrl, profile.coverUrl(novel.coverPath));
    EXPECT_EQ(record.archiveUrl, profile.archiveUrl(novel.stem));
    EXPECT_EQ(record.textPageUrl, profile.textPageUrl(novel.stem));
}

class DemoSiteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(site_.start(0), 0); }

    ByteData get(const std::string& path) const {
        return httpGet(ByteText("http://" + site_.address() + path));
    }
    ByteText listingPage(CategoryKind kind, int index, int page) const {
        const SiteProfile profile = site_.profile();
        return textOf(
            httpGet(SiteProfile::listingUrl(profile.category(kind, index).listingPrefix, page)));
    }
    std::string listingPath(CategoryKind kind, int index, int page) const {
        return pathOf(
            SiteProfile::listingUrl(site_.profile().category(kind, index).listingPrefix, page));
    }

    DemoSite site_;
};

TEST(DemoCatalogueTest, IsTheSameForOneSeedAndRealisticInEveryCategory) {
    const Catalogue catalogue(7);
    const Catalogue again(7);
    const Catalogue other(8);
    ASSERT_EQ(again.novels().size(), catalogue.novels().size());
    bool otherDiffers = other.novels().size() != catalogue.novels().size();
    for (size_t i = 0; i < catalogue.novels().size(); ++i) {
        const NovelEntry& a = catalogue.novels()[i];
        const NovelEntry& b = again.novels()[i];
        EXPECT_TRUE(a.stem == b.stem && a.title == b.title && a.author == b.author &&
                    a.synopsis == b.synopsis && a.coverPath == b.coverPath &&
                    a.archiveSize == b.archiveSize)
            << i;
        if (i < other.novels().size())
            otherDiffers |= other.novels()[i].title != a.title;
    }
    EXPECT_TRUE(otherDiffers);

    const SiteProfile profile;
    std::set<std::string> stems, coverPaths, titles;
    int small = 0, middle = 0, large = 0;
    for (CategoryKind kind : kBothKinds) {
        ASSERT_EQ(catalogue.categories(kind).size(), profile.categories(kind).size());
        for (const CategoryListing& category : catalogue.categories(kind)) {
            SCOPED_TRACE(gbkToUtf8Lenient(profile.category(kind, category.index).name.str()));
            const int pages = category.pageCount();
            EXPECT_GE(pages, 3);
            EXPECT_LE(pages, 12);
            EXPECT_EQ(category.perPage, kind == CategoryKind::finished ? 20 : 12);
            EXPECT_LT(catalogue.page(category, pages).size(), size_t(category.perPage));
            // The single-book edition counts pages by rounding total / perPage.
            EXPECT_EQ(toInt(roundNumber(double(category.total) / category.perPage)), pages);
            EXPECT_TRUE(catalogue.page(category, pages + 1).empty());
        }
    }
    for (const NovelEntry& novel : catalogue.novels()) {
        SCOPED_TRACE(novel.ordinal);
        const int titleLength = gbkCharacters(novel.title);
        EXPECT_TRUE(titleLength >= 2 && titleLength <= 8) << titleLength;
        const int authorLength = gbkCharacters(novel.author);
        EXPECT_TRUE(authorLength >= 2 && authorLength <= 4) << authorLength;
        if (novel.ordinal != catalogue.hardCases().emptySynopsis) {
            const int synopsisLength = gbkCharacters(novel.synopsis);
            EXPECT_TRUE(synopsisLength >= 60 && synopsisLength <= 200) << synopsisLength;
        }
        EXPECT_EQ(novel.stem.str().find_first_not_of("0123456789"), std::string::npos);
        EXPECT_TRUE(stems.insert(novel.stem.str()).second);
        EXPECT_TRUE(coverPaths.insert(novel.coverPath.str()).second);
        if (novel.ordinal != catalogue.hardCases().sharedTitleOngoing) {
            EXPECT_TRUE(titles.insert(novel.title.str()).second);
        }
        EXPECT_EQ(catalogue.findByStem(novel.stem.str()), &novel);
        EXPECT_EQ(catalogue.findByCoverPath(novel.coverPath.str()), &novel);
        small += novel.archiveSize <= 30000;
        middle += novel.archiveSize > 30000 && novel.archiveSize <= 300000;
        large += novel.archiveSize > 300000;
    }
    EXPECT_GT(small, 100);
    EXPECT_GT(middle, 100);
    EXPECT_GT(large, 100);
}

TEST(DemoCatalogueTest, HoldsTheHardCasesOnTheFirstPages) {
    const Catalogue catalogue;
    const HardCases& hard = catalogue.hardCases();
    const auto novel = [&](int ordinal) -> const NovelEntry& {
        return catalogue.novels().at(static_cast<size_t>(ordinal));
    };

    // A double-byte character whose trail byte is 0x5C, found on character boundaries.
    const std::string& title = novel(hard.trailByte5cTitle).title.str();
    bool trail5c = false;
    for (size_t i = 0; i + 1 < title.size(); ++i) {
        if (static_cast<unsigned char>(title[i]) < 0x80)
            continue;
        trail5c |= title[i + 1] == '\\';
        ++i;
    }
    EXPECT_TRUE(trail5c);

    EXPECT_TRUE(novel(hard.emptySynopsis).synopsis.empty());
    EXPECT_FALSE(novel(hard.emptySynopsis).title.empty());

    const NovelEntry& finished = novel(hard.sharedTitleFinished);
    const NovelEntry& ongoing = novel(hard.sharedTitleOngoing);
    EXPECT_EQ(finished.title, ongoing.title);
    EXPECT_EQ(finished.kind, CategoryKind::finished);
    EXPECT_EQ(ongoing.kind, CategoryKind::ongoing);
    EXPECT_NE(finished.stem, ongoing.stem);

    std::multiset<int> sizes;
    for (int ordinal : hard.thresholdArchives)
        sizes.insert(novel(ordinal).archiveSize);
    for (int size : {30000, 30001, 300000, 300001})
        EXPECT_EQ(sizes.count(size), 2u) << size;

    std::vector<int> all = hard.thresholdArchives;
    all.insert(all.end(), {hard.trailByte5cTitle, hard.emptySynopsis, hard.sharedTitleFinished,
                           hard.sharedTitleOngoing});
    for (int ordinal : all) {
        EXPECT_EQ(novel(ordinal).page, 1) << ordinal;
        EXPECT_EQ(novel(ordinal).categoryIndex, 0) << ordinal;
    }
}

// Every page of every category, and the page past the last, through the batch edition's cut and
// the single-book edition's total cut.
TEST_F(DemoSiteTest, EveryListingPageCutsIntoTheCatalogueNovels) {
    const SiteProfile profile = site_.profile();
    const Catalogue& catalogue = site_.catalogue();
    for (CategoryKind kind : kBothKinds) {
        for (const CategoryListing& category : catalogue.categories(kind)) {
            for (int page = 1; page <= category.pageCount() + 1; ++page) {
                SCOPED_TRACE(listingPath(kind, category.index, page));
                const ByteText text = listingPage(kind, category.index, page);
                const auto expected = catalogue.page(category, page);
                if (page <= category.pageCount()) {
                    EXPECT_GT(textLength(text), 3000);
                } else {
                    EXPECT_LT(textLength(text), 3000);
                    EXPECT_TRUE(expected.empty());
                }
                EXPECT_EQ(cutTotal(text, profile.markers().totalPagesHead), toText(category.total));

                const std::vector<NovelRecord> records = walk(profile, text, kind);
                const size_t walked = std::min<size_t>(expected.size() + 1, kBatchBlockLimit);
                ASSERT_EQ(records.size(), walked);
                for (size_t i = 0; i < expected.size(); ++i) {
                    expectRecordOf(records[i], expected[i], profile);
                }
                if (expected.size() < size_t(kBatchBlockLimit)) {
                    EXPECT_TRUE(records.back().title.empty());
                }
            }
        }
    }
}

TEST_F(DemoSiteTest, CoversArchivesAndTextPagesFollowTheCatalogue) {
    const Catalogue& catalogue = site_.catalogue();
    const SiteProfile profile = site_.profile();
    for (CategoryKind kind : kBothKinds) {
        for (const CategoryListing& category : catalogue.categories(kind)) {
            for (const NovelEntry& novel : catalogue.page(category, 1)) {
                SCOPED_TRACE(novel.ordinal);
                const ByteData cover = get(pathOf(profile.coverUrl(novel.coverPath)));
                ASSERT_GT(cover.size(), 2000u);
                EXPECT_EQ(cover.substr(0, 2), "\xFF\xD8");
                const QImage picture =
                    QImage::fromData(reinterpret_cast<const uchar*>(cover.data()),
                                     static_cast<int>(cover.size()), "JPEG");
                EXPECT_EQ(picture.width(), kCoverWidth);
                EXPECT_EQ(picture.height(), kCoverHeight);

                const ByteData archive = get(pathOf(profile.archiveUrl(novel.stem)));
                EXPECT_EQ(archive.size(), size_t(novel.archiveSize));
                EXPECT_EQ(archive.substr(0, 7), ByteData(kRarSignature, kRarSignatureLength));

                const ByteData textPage = get(pathOf(profile.textPageUrl(novel.stem)));
                EXPECT_NE(textPage.find(novel.title.str()), std::string::npos);
                EXPECT_NE(textPage.find(profile.archiveUrl(novel.stem).str()), std::string::npos);
            }
        }
    }
}

// Covers are drawn on the server's threads; drawn at once they must equal those drawn one by one.
TEST_F(DemoSiteTest, CoversDrawnConcurrentlyEqualTheSequentialOnes) {
    DemoSite sequential;
    ASSERT_GT(sequential.start(0), 0);
    const auto novels = site_.catalogue().page(CategoryKind::finished, 1, 2);
    std::vector<ByteData> concurrent(novels.size());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (size_t i = static_cast<size_t>(t); i < novels.size(); i += 4) {
                concurrent[i] = get(pathOf(site_.profile().coverUrl(novels[i].coverPath)));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (size_t i = 0; i < novels.size(); ++i) {
        const ByteData alone = httpGet(sequential.profile().coverUrl(novels[i].coverPath));
        EXPECT_GT(alone.size(), 2000u);
        EXPECT_EQ(concurrent[i], alone) << i;
    }
}

TEST_F(DemoSiteTest, UpdateServerNamesItsExecutablesAndServesThem) {
    EXPECT_EQ(get(kVersionPath), kDefaultUpdateVersion);
    site_.setUpdateVersion("1201");
    EXPECT_EQ(get(kVersionPath), "1201");

    const ByteData updater("updater\0\x01\xFF", 10);
    const ByteData batch("batch edition\r\n", 15);
    site_.setUpdaterExecutable(updater);
    site_.setBatchExecutable(batch);
    const struct {
        const char* document;
        const char* file;
        ByteData bytes;
    } executables[] = {{kUpdaterUrlPath, kUpdaterFilePath, updater},
                       {kBatchUrlPath, kBatchFilePath, batch}};
    for (const auto& executable : executables) {
        const ByteData url = get(executable.document);
        EXPECT_EQ(url, "http://" + site_.address() + executable.file);
        EXPECT_EQ(httpGet(ByteText(url)), executable.bytes);
    }
}

// The path of a request a rule hits and of one it spares, both of the rule's resource.
std::pair<std::string, std::string> hitAndSpared(const DemoSite& site, const FaultRule& rule) {
    const SiteProfile profile = site.profile();
    if (rule.resource == Resource::listing) {
        const ByteText prefix = profile.category(CategoryKind::finished, 0).listingPrefix;
        return {pathOf(SiteProfile::listingUrl(prefix, rule.page)),
                pathOf(SiteProfile::listingUrl(prefix, rule.page + 1))};
    }
    const auto novels = site.catalogue().page(CategoryKind::finished, 0, 1);
    const auto url = [&](const NovelEntry& novel) {
        switch (rule.resource) {
            case Resource::cover:
                return profile.coverUrl(novel.coverPath);
            case Resource::archive:
                return profile.archiveUrl(novel.stem);
            default:
                return profile.textPageUrl(novel.stem);
        }
    };
    std::string hit, spared;
    for (const NovelEntry& novel : novels) {
        std::string& slot = faultApplies(rule, rule.resource, novel.ordinal) ? hit : spared;
        if (slot.empty())
            slot = pathOf(url(novel));
    }
    return {hit.substr(0, hit.find('#')), spared.substr(0, spared.find('#'))};
}

FaultRule makeRule(Resource resource, FaultKind kind, int every, int page = 0) {
    FaultRule rule;
    rule.resource = resource;
    rule.kind = kind;
    rule.every = every;
    rule.page = page;
    return rule;
}

TEST_F(DemoSiteTest, DeliveryFaultsHitOnlyTheSelectedRequests) {
    FaultRule truncatedArchive = makeRule(Resource::archive, FaultKind::truncate, 2);
    truncatedArchive.keepFraction = 0.25;
    FaultRule serverErrorCover = makeRule(Resource::cover, FaultKind::errorStatus, 3);
    serverErrorCover.status = 500;
    FaultRule slowArchive = makeRule(Resource::archive, FaultKind::slow, 2);
    slowArchive.chunkBytes = 16384;
    slowArchive.delayMs = 5;
    FaultRule slowListing = makeRule(Resource::listing, FaultKind::slow, 1, 2);
    slowListing.chunkBytes = 8192;
    const FaultRule cases[] = {
        truncatedArchive,
        makeRule(Resource::cover, FaultKind::truncate, 3),
        makeRule(Resource::listing, FaultKind::truncate, 1, 2),
        makeRule(Resource::archive, FaultKind::errorStatus, 2),
        serverErrorCover,
        makeRule(Resource::textPage, FaultKind::errorStatus, 4),
        slowArchive,
        slowListing,
    };
    for (const FaultRule& fault : cases) {
        const auto [hit, spared] = hitAndSpared(site_, fault);
        SCOPED_TRACE(hit);
        ASSERT_FALSE(hit.empty());
        ASSERT_FALSE(spared.empty());
        site_.setFaults({});
        const ByteData whole = rawGet(site_.port(), hit).body;
        const ByteData sparedWhole = rawGet(site_.port(), spared).body;
        site_.setFaults({fault});

        const auto started = Clock::now();
        const RawResponse answer = rawGet(site_.port(), hit);
        const auto took = Clock::now() - started;
        EXPECT_EQ(rawGet(site_.port(), spared).body, sparedWhole);
        switch (fault.kind) {
            case FaultKind::truncate:
                EXPECT_EQ(answer.status, 200);
                EXPECT_EQ(answer.header("Content-Length"), std::to_string(whole.size()));
                EXPECT_EQ(answer.body.size(), size_t(double(whole.size()) * fault.keepFraction));
                EXPECT_EQ(answer.body, whole.substr(0, answer.body.size()));
                EXPECT_TRUE(answer.closedByServer);
                break;
            case FaultKind::errorStatus:
                EXPECT_EQ(answer.status, fault.status);
                EXPECT_EQ(answer.body.rfind("<html>", 0), 0u);
                // Too small for a cover (2000) or an archive (30000) that the harvest keeps.
                EXPECT_LE(answer.body.size(), 2000u);
                break;
            default: {
                EXPECT_EQ(answer.body, whole);
                const auto pieces =
                    (whole.size() + size_t(fault.chunkBytes) - 1) / size_t(fault.chunkBytes);
                EXPECT_GE(took, std::chrono::milliseconds(fault.delayMs) * pieces);
            }
        }
    }
}

TEST_F(DemoSiteTest, ListingFaultsBreakOnlyTheSelectedPage) {
    const SiteProfile profile = site_.profile();
    const auto page2 = site_.catalogue().page(CategoryKind::finished, 0, 2);
    struct Case {
        FaultKind kind;
        const char* marker;
        std::function<bool(const NovelRecord& first, const NovelEntry& expected)> broken;
    };
    const Case cases[] = {
        {FaultKind::shortPage, "", [](const NovelRecord& r, auto&) { return r.title.empty(); }},
        {FaultKind::missingMarker, "标题尾",
         [](const NovelRecord& r, auto&) { return r.title.empty(); }},
        {FaultKind::missingMarker, "小说尾",
         [](const NovelRecord& r, auto&) { return r.title.empty(); }},
        {FaultKind::missingMarker, "序号尾",
         [](const NovelRecord& r, auto&) { return r.stem.empty(); }},
        {FaultKind::missingMarker, "作者尾",
         [](const NovelRecord& r, const NovelEntry& e) { return r.author != e.author; }},
        {FaultKind::missingMarker, "简介头",
         [](const NovelRecord& r, const NovelEntry& e) { return r.synopsis != e.synopsis; }},
        {FaultKind::missingMarker, "图片尾",
         [&](const NovelRecord& r, const NovelEntry& e) {
             return r.coverUrl != profile.coverUrl(e.coverPath);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.marker);
        FaultRule fault = makeRule(Resource::listing, test.kind, 1, 2);
        fault.marker = test.marker;
        site_.setFaults({fault});

        const ByteText broken = listingPage(CategoryKind::finished, 0, 2);
        if (test.kind == FaultKind::shortPage) {
            EXPECT_LT(textLength(broken), 3000);
        }
        const std::vector<NovelRecord> records = walk(profile, broken, CategoryKind::finished);
        ASSERT_FALSE(records.empty());
        EXPECT_TRUE(test.broken(records.front(), page2.front()));

        for (int page : {1, 3}) {
            const ByteText whole = listingPage(CategoryKind::finished, 0, page);
            const auto expected = site_.catalogue().page(CategoryKind::finished, 0, page);
            const std::vector<NovelRecord> spared = walk(profile, whole, CategoryKind::finished);
            ASSERT_GE(spared.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                expectRecordOf(spared[i], expected[i], profile);
            }
        }
    }
}

TEST_F(DemoSiteTest, AnswersHttp10WithConnectionCloseAndRecordsEveryPath) {
    const std::vector<std::string> paths = {listingPath(CategoryKind::ongoing, 7, 1), kVersionPath,
                                            "/no/such/page.html"};
    site_.clearServedPaths();
    std::vector<RawResponse> answers;
    for (const std::string& path : paths)
        answers.push_back(rawGet(site_.port(), path));
    for (const RawResponse& answer : answers) {
        EXPECT_EQ(answer.header("Connection"), "close");
        EXPECT_TRUE(answer.closedByServer);
    }
    EXPECT_EQ(answers[0].status, 200);
    EXPECT_EQ(answers[2].status, 404);
    EXPECT_EQ(site_.servedPaths(), paths);
    site_.clearServedPaths();
    EXPECT_TRUE(site_.servedPaths().empty());
}

TEST_F(DemoSiteTest, StopsServingAndStartsAgainOnTheSamePort) {
    const int port = site_.port();
    EXPECT_EQ(get(kVersionPath), kDefaultUpdateVersion);
    const std::string address = site_.address();
    site_.stop();
    EXPECT_FALSE(site_.running());
    EXPECT_EQ(site_.port(), 0);
    EXPECT_TRUE(httpGet(ByteText("http://" + address + kVersionPath)).empty());
    ASSERT_EQ(site_.start(port), port);
    EXPECT_EQ(get(kVersionPath), kDefaultUpdateVersion);
}

TEST(DemoFaultRuleTest, ReadsTheCommandLineForms) {
    const auto archive = parseFaultRule("archive:truncate,every=3,keep=0.4");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->resource, Resource::archive);
    EXPECT_EQ(archive->kind, FaultKind::truncate);
    EXPECT_EQ(archive->every, 3);
    EXPECT_DOUBLE_EQ(archive->keepFraction, 0.4);

    const auto cover = parseFaultRule("cover:error,status=500");
    ASSERT_TRUE(cover);
    EXPECT_EQ(cover->kind, FaultKind::errorStatus);
    EXPECT_EQ(cover->status, 500);

    const auto listing = parseFaultRule("listing:missing-marker,page=2,marker=序号尾");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->kind, FaultKind::missingMarker);
    EXPECT_EQ(listing->page, 2);
    EXPECT_EQ(listing->marker, "序号尾");

    const auto slow = parseFaultRule("text:slow,delay=50,chunk=1024");
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->resource, Resource::textPage);
    EXPECT_EQ(slow->delayMs, 50);
    EXPECT_EQ(slow->chunkBytes, 1024);

    for (const char* bad : {"archive", "archive:", "page:truncate", "archive:explode",
                            "cover:short", "archive:truncate,every=0", "archive:truncate,keep=1",
                            "archive:truncate,every", "archive:truncate,colour=red"}) {
        EXPECT_FALSE(parseFaultRule(bad)) << bad;
    }
}

}  // namespace
}  // namespace lumora::demo
