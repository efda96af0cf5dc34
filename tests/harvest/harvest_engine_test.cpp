#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "core/gbk.h"
#include "harvest/harvest_run.h"
#include "harvest/listing_fetch.h"
#include "harvest/novel_step.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/ini_file.h"
#include "tests/support/listing_page_fixture.h"
#include "tests/support/temporary_directory.h"

namespace lumora {
namespace {

// A site on loopback that answers each path with a given status and body and remembers what
// was asked.
class LoopbackSite {
public:
    LoopbackSite() {
        server_.set_tcp_nodelay(true);
        server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            requests_.push_back(req.path);
            const auto found = answers_.find(req.path);
            if (found == answers_.end()) {
                res.status = 404;
                res.set_content("<html>not found</html>", "text/html");
                return;
            }
            res.status = found->second.first;
            res.set_content(found->second.second, "application/octet-stream");
            res.set_header("Connection", "close");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::yield();
    }
    ~LoopbackSite() {
        server_.stop();
        thread_.join();
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    void answer(const std::string& path, std::string body, int status = 200) {
        std::lock_guard lock(mutex_);
        answers_[path] = {status, std::move(body)};
    }
    std::vector<std::string> requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    int count(const std::string& path) {
        const auto all = requests();
        return static_cast<int>(std::count(all.begin(), all.end(), path));
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex mutex_;
    std::map<std::string, std::pair<int, std::string>> answers_;
    std::vector<std::string> requests_;
};

class RecordingView : public HarvestView {
public:
    ByteText pageBox = ByteText("1");
    std::vector<ByteText> pageBoxHistory;
    std::vector<ByteText> progress;
    std::vector<int> pauses;

    ByteText pageBoxText() const override { return pageBox; }
    void setPageBoxText(const ByteText& text) override {
        pageBox = text;
        pageBoxHistory.push_back(text);
    }
    void setProgressText(const ByteText& text) override { progress.push_back(text); }
    void pause(int ms) override { pauses.push_back(ms); }
};

// A run directory with the library set up, and a site that has novel 100.
class NovelStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(runDir.empty());
        setUpLibrary(layout, profile);
        site.answer("/txt/100txt.html", "text page");
        site.answer("/dianzishu/UploadPic/100.jpg", std::string(2500, 'c'));
        site.answer("/down/2011/100.rar", std::string(45000, 'r'));
    }

    void useKind(CategoryKind kind, bool overwrite = true) {
        settings.kind = kind;
        settings.category = profile.category(kind, 0);
        settings.overwrite = overwrite;
    }

    NovelRecord novel(const char* title, const char* stem = "100") {
        NovelRecord r;
        r.stem = ByteText(stem);
        r.title = gbk(title);
        r.author = gbk("作者甲");
        r.synopsis = gbk("简介内容");
        r.coverUrl = profile.coverUrl(ByteText(std::string(stem) + ".jpg"));
        r.textPageUrl = profile.textPageUrl(r.stem);
        r.archiveUrl = profile.archiveUrl(r.stem);
        return r;
    }

    void harvest(const NovelRecord& record) {
        HarvestContext run{profile, layout, settings, counters, fetch, view};
        harvestNovel(run, record);
    }

    ByteText archiveOf(const NovelRecord& r) {
        return layout.archive(settings.kind, settings.category.name, r.title);
    }

    LoopbackSite site;
    SiteProfile profile{siteHostsAt(site.host())};
    fixture::TemporaryDirectory temporary;
    const std::string& runDir = temporary.path();
    LibraryLayout layout{ByteText(runDir)};
    HarvestSettings settings{CategoryKind::finished, profile.category(CategoryKind::finished, 0)};
    HarvestCounters counters;
    RecordingView view;
    Fetch fetch = [](const ByteText& url) { return httpFetch(url); };
};

TEST_F(NovelStepTest, PresenceFollowsTheSizeThresholdsAndTheOverwriteBox) {
    struct Case {
        CategoryKind kind;
        bool overwrite;
        int existingArchive;  // -1: none
        bool present;
    };
    const Case cases[] = {
        {CategoryKind::finished, true, 30001, true},   {CategoryKind::finished, true, 30000, false},
        {CategoryKind::finished, false, 30000, false}, {CategoryKind::finished, true, -1, false},
        {CategoryKind::ongoing, false, 300001, true},  {CategoryKind::ongoing, true, 300001, false},
        {CategoryKind::ongoing, false, 300000, false}, {CategoryKind::ongoing, false, 30001, false},
    };
    for (const auto& c : cases) {
        useKind(c.kind, c.overwrite);
        counters = {};
        const NovelRecord r = novel("测试小说");
        std::filesystem::remove(*nativePath(archiveOf(r)));
        if (c.existingArchive >= 0)
            writeFile(archiveOf(r), std::string(c.existingArchive, 'o'));
        const int before = site.count("/down/2011/100.rar");
        harvest(r);
        EXPECT_EQ(counters.presentCount, c.present ? 1 : 0) << c.existingArchive;
        EXPECT_EQ(counters.collectedCount, c.present ? 0 : 1) << c.existingArchive;
        EXPECT_EQ(site.count("/down/2011/100.rar") - before, c.present ? 0 : 1);
        EXPECT_EQ(fileSize(archiveOf(r)), c.present ? c.existingArchive : 45000);
    }
}

TEST_F(NovelStepTest, WritesTheRecordsAndTheProgressText) {
    counters.presentCount = 2;
    counters.collectedCount = 3;
    const NovelRecord r = novel("斗破苍穹");
    harvest(r);
    EXPECT_EQ(readFile(layout.synopsisFile(settings.kind, settings.category.name, r.title)),
              gbk("简介内容").str());
    EXPECT_EQ(readFile(layout.novelRecord(settings.kind, settings.category.name, r.title)),
              gbk("[斗破苍穹]\r\n作者=作者甲\r\n").str());
    EXPECT_EQ(iniRead(layout.libraryIndex(), gbk("小说"), r.title), archiveOf(r));
    EXPECT_EQ(readFile(layout.cover(r.title)).size(), 2500u);
    EXPECT_EQ(readFile(layout.cachedTextPage(r.title)), "text page");
    ASSERT_EQ(view.progress.size(), 1u);
    EXPECT_EQ(view.progress[0],
              gbk("标题：斗破苍穹 \r\n作者：作者甲\r\n压缩文件大小：45KB\r\n简介：简介内容\r\n\r\n"
                  "               共采集6篇小说，其中已存在2篇小说，本次成功采集4篇小说！  "
                  "正在采集已完结的玄幻小说..."));
    EXPECT_EQ(view.pauses, std::vector<int>{settings.responseDelay});

    // The ongoing kind's label; requests come as text page, cover, archive.
    useKind(CategoryKind::ongoing);
    const auto requestsBefore = site.requests().size();
    harvest(novel("新书"));
    const auto requests = site.requests();
    ASSERT_EQ(requests.size() - requestsBefore, 3u);
    EXPECT_EQ(requests[requestsBefore], "/txt/100txt.html");
    EXPECT_EQ(requests[requestsBefore + 1], "/dianzishu/UploadPic/100.jpg");
    EXPECT_EQ(requests[requestsBefore + 2], "/down/2011/100.rar");
    EXPECT_EQ(textRight(view.progress.back(), textLength(gbk("正在采集连载中的玄幻奇幻小说..."))),
              gbk("正在采集连载中的玄幻奇幻小说..."));
}

TEST_F(NovelStepTest, SizeInKilobytesRoundsHalvesUp) {
    struct Case {
        int bytes;
        const char* kb;
    };
    for (const Case& c : {Case{1499, "1"}, Case{1500, "2"}, Case{0, "0"}}) {
        site.answer("/down/2011/100.rar", std::string(c.bytes, 'r'));
        const NovelRecord r = novel("大小");
        std::filesystem::remove(*nativePath(archiveOf(r)));
        harvest(r);
        EXPECT_NE(
            textFind(view.progress.back(), gbk("压缩文件大小：") + ByteText(c.kb) + ByteText("KB")),
            -1)
            << c.bytes;
    }
}

TEST_F(NovelStepTest, EmptySynopsisOrTitleWritesNothing) {
    NovelRecord r = novel("无简介");
    r.synopsis = ByteText();
    writeFile(archiveOf(r), std::string(30001, 'o'));
    harvest(r);
    EXPECT_EQ(counters.presentCount, 1);
    EXPECT_EQ(fileSize(layout.synopsisFile(settings.kind, settings.category.name, r.title)), -1);
    EXPECT_EQ(fileSize(layout.libraryIndex()), -1);
    EXPECT_TRUE(view.progress.empty());
    harvest(NovelRecord());
    EXPECT_TRUE(site.requests().empty());
}

TEST_F(NovelStepTest, CoverIsFetchedUntilLargeEnoughWithinABound) {
    const NovelRecord r = novel("封面");
    // An existing cover of 2500 bytes (from any category) is not fetched again.
    writeFile(layout.cover(r.title), std::string(2500, 'k'));
    harvest(r);
    EXPECT_EQ(site.count("/dianzishu/UploadPic/100.jpg"), 0);

    // A cover that stays small is asked for a few times, then the archive follows.
    site.answer("/dianzishu/UploadPic/200.jpg", "tiny");
    const NovelRecord small = novel("小封面", "200");
    site.answer("/down/2011/200.rar", std::string(40000, 'r'));
    harvest(small);
    EXPECT_EQ(site.count("/dianzishu/UploadPic/200.jpg"), kCoverAttempts);
    EXPECT_EQ(fileSize(layout.cover(small.title)), 4);
    EXPECT_EQ(fileSize(archiveOf(small)), 40000);

    // No stem: neither text page nor cover, but the bare archive URL.
    NovelRecord noStem = novel("无编号", "");
    harvest(noStem);
    EXPECT_EQ(site.count("/down/2011/.rar"), 1);
    EXPECT_EQ(site.count("/txttxt.html"), 0);
}

TEST_F(NovelStepTest, AFailedRequestNeverReplacesWhatIsOnDisk) {
    useKind(CategoryKind::ongoing, true);
    const NovelRecord r = novel("连载");
    const std::string kept(400000, 'k');
    writeFile(archiveOf(r), kept);
    writeFile(layout.cover(r.title), "old cover");
    site.answer("/down/2011/100.rar", "<html>server error</html>", 500);
    site.answer("/dianzishu/UploadPic/100.jpg", "", 200);
    harvest(r);
    EXPECT_EQ(readFile(archiveOf(r)), kept);
    EXPECT_EQ(readFile(layout.cover(r.title)), "old cover");
    // Still counted and recorded like any downloaded novel.
    EXPECT_EQ(counters.collectedCount, 1);
    EXPECT_EQ(iniRead(layout.libraryIndex(), gbk("小说"), r.title), archiveOf(r));

    // Without an earlier file the error page is stored; it is too small to pass next time.
    const NovelRecord fresh = novel("新连载");
    harvest(fresh);
    EXPECT_EQ(readFile(archiveOf(fresh)), "<html>server error</html>");
}

TEST_F(NovelStepTest, UnsafeTitlesWriteNothingOutsideTheirDirectories) {
    for (const char* title : {"../../逃逸", "a/b", "..\\..\\x"}) {
        harvest(novel(title));
    }
    EXPECT_EQ(counters.collectedCount, 3);
    const auto parent = std::filesystem::path(runDir).parent_path();
    EXPECT_FALSE(std::filesystem::exists(parent / "逃逸.rar"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(runDir) / "小说" / "完本" /
                                         "玄幻小说" / "a"));
    // The index still gets each title as a key.
    EXPECT_EQ(iniRead(layout.libraryIndex(), gbk("小说"), gbk("a/b")), ByteText());
    EXPECT_NE(textFind(textOf(readFile(layout.libraryIndex())), gbk("a/b=")), -1);
}

class ListingFetchTest : public NovelStepTest {
protected:
    int fetchPages(const char* pageBox) {
        view.pageBox = ByteText(pageBox);
        HarvestContext run{profile, layout, settings, counters, fetch, view};
        return fetchListing(run);
    }
};

TEST_F(ListingFetchTest, CountsDownAndStopsAtTheFirstShortPage) {
    struct Case {
        const char* pageBox;
        std::vector<int> pageSizes;  // sizes of pages 1, 2, 3 on the site
        int pageCount;
        int requested;
        const char* boxAfter;
        int pauses;
    };
    const Case cases[] = {
        {"3", {5000, 5000, 5000}, 3, 3, "0", 3},     {"3", {5000, 2999, 5000}, 3, 2, "1", 1},
        {"3", {3000, 3000, 3000}, 3, 3, "0", 3},  // exactly 3000 bytes does not end it
        {"2", {0, 5000, 5000}, 2, 1, "1", 0},     // a failed page ends it
        {"0", {5000, 5000, 5000}, 0, 0, "0", 0},     {"", {5000, 5000, 5000}, 0, 0, "", 0},
        {"abc", {5000, 5000, 5000}, 0, 0, "abc", 0}, {"2.9", {5000, 5000, 5000}, 2, 2, "0.9", 2},
    };
    for (const auto& c : cases) {
        for (int page = 1; page <= 3; ++page) {
            const std::string path = "/wanben/xh/tuijian" + std::to_string(page) + ".html";
            site.answer(path, std::string(c.pageSizes[page - 1], 'p'));
        }
        view.pauses.clear();
        const auto before = site.requests().size();
        EXPECT_EQ(fetchPages(c.pageBox), c.pageCount) << c.pageBox;
        EXPECT_EQ(static_cast<int>(site.requests().size() - before), c.requested) << c.pageBox;
        EXPECT_EQ(view.pageBox, ByteText(c.boxAfter)) << c.pageBox;
        EXPECT_EQ(static_cast<int>(view.pauses.size()), c.pauses) << c.pageBox;
        for (int page = 1; page <= c.requested; ++page) {
            EXPECT_EQ(fileSize(layout.listingPage(settings.category.name, page)),
                      c.pageSizes[page - 1]);
        }
        deleteDirectory(layout.cacheDir());
        setUpLibrary(layout, profile);
    }
}

TEST_F(ListingFetchTest, AHarvestWalksEveryPageNumberAfterAShortPage) {
    const auto novels = fixture::sampleNovels(3);
    site.answer("/wanben/xh/tuijian1.html",
                fixture::listingPage(profile, CategoryKind::finished, novels).str());
    site.answer("/wanben/xh/tuijian2.html", "short");
    for (const auto& n : novels) {
        site.answer("/down/2011/" + n.stem + ".rar", std::string(31000, 'r'));
        site.answer("/dianzishu/UploadPic/" + n.coverPath, std::string(2100, 'c'));
    }
    view.pageBox = ByteText("3");
    HarvestContext run{profile, layout, settings, counters, fetch, view};
    harvestCategory(run);
    EXPECT_EQ(counters.collectedCount, 3);
    EXPECT_EQ(site.count("/wanben/xh/tuijian3.html"), 0);
    EXPECT_EQ(
        summaryMessage(counters),
        gbk("采集完成，共采集3篇小说，其中已存在0篇小说，本次成功采集3篇小说！是否查看文件？"));
    // A second run finds them all present and fetches no archive again.
    const auto before = site.requests().size();
    harvestCategory(run);
    EXPECT_EQ(counters.presentCount, 3);
    for (size_t i = before; i < site.requests().size(); ++i) {
        EXPECT_EQ(site.requests()[i].find("/down/"), std::string::npos);
    }
}

}  // namespace
}  // namespace lumora

namespace lumora {
namespace {

// The run's windows, recorded.
class RecordingWindows : public HarvestWindows {
public:
    ByteText pageBox = ByteText("1");
    std::vector<std::string> events;
    std::vector<std::pair<ByteText, int>> asked;
    int answer = kAnswerOk;

    ByteText pageBoxText() const override { return pageBox; }
    void setPageBoxText(const ByteText& text) override { pageBox = text; }
    void setProgressText(const ByteText&) override { note("progress"); }
    void pause(int) override {}
    void hideMainWindow() override { note("hide"); }
    void showProgressWindow() override { note("show progress"); }
    int ask(const ByteText& text, int style) override {
        asked.emplace_back(text, style);
        note("ask");
        return answer;
    }
    void endProgram(int exitCode) override { note("end " + std::to_string(exitCode)); }
    void handOverToLibraryBrowser() override { note("hand over"); }

private:
    void note(const std::string& event) {
        if (events.empty() || events.back() != event)
            events.push_back(event);
    }
};

TEST_F(NovelStepTest, ARunEndsInTheSummaryQuestion) {
    site.answer(
        "/wanben/xh/tuijian1.html",
        fixture::listingPage(profile, CategoryKind::finished, fixture::sampleNovels(2)).str());
    for (const int i : {0, 1}) {
        site.answer("/down/2011/" + std::to_string(10000 + i) + ".rar", std::string(40000, 'r'));
    }
    struct Case {
        bool withCategory;
        int answer;
        RunEnd end;
        std::vector<std::string> events;
        bool cacheAfter;
    };
    const Case cases[] = {
        {false, kAnswerOk, RunEnd::noCategory, {"ask"}, true},
        {true, 1, RunEnd::cancelled, {"hide", "show progress", "progress", "ask", "end 0"}, false},
        {true,
         kAnswerOk,
         RunEnd::handedOver,
         {"hide", "show progress", "progress", "ask", "hand over"},
         true},
    };
    for (const auto& c : cases) {
        deleteDirectory(layout.cacheDir());
        RecordingWindows windows;
        windows.answer = c.answer;
        settings.category =
            c.withCategory ? profile.category(CategoryKind::finished, 0) : Category();
        HarvestContext run{profile, layout, settings, counters, fetch, windows};
        EXPECT_EQ(runHarvest(run, windows), c.end);
        EXPECT_EQ(windows.events, c.events);
        // The library is set up before anything else, even for a run that cannot start.
        EXPECT_TRUE(fileExists(layout.archiveDir(CategoryKind::ongoing, gbk("同人小说"))));
        EXPECT_EQ(fileExists(layout.cacheDir()), c.cacheAfter);
        ASSERT_FALSE(windows.asked.empty());
        EXPECT_EQ(windows.asked.back().second, c.withCategory ? kMessageQuestion : kMessageOk);
    }
    EXPECT_EQ(counters.collectedCount + counters.presentCount, 4);
}

}  // namespace
}  // namespace lumora
