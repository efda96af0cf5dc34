#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "batch/batch_app.h"
#include "batch/library_browser.h"
#include "batch/main_window.h"
#include "batch/mode_chooser.h"
#include "batch/progress_window.h"
#include "batch/update_window.h"
#include "core/gbk.h"
#include "harvest/harvest_run.h"
#include "platform/desktop/event_pump.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/picture_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/shell_open.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/ini_file.h"
#include "tests/support/temporary_directory.h"
#include "tools/demo-site/demo_site.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

QString ui(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control* control(QWidget* window, const char* name) {
    auto* found = window->findChild<Control*>(ui(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Runs until the condition holds or a few seconds pass.
bool waitFor(const std::function<bool()>& condition, int ms = 5000) {
    for (int waited = 0; waited < ms && !condition(); waited += 10)
        pumpEvents(10);
    return condition();
}

struct Asked {
    ByteText text;
    int style;
};

// A run directory, the demo site, and recorders for message boxes, shellOpen and the end.
class BatchWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(runDir.empty());
        ASSERT_GT(site.start(0), 0);
        state.runDirectory = ByteText(runDir);
        state.profile = site.profile();
        state.endProgram = [this](int code) { endCodes.push_back(code); };
        setMessageBoxAnswerer([this](const ByteText& text, int style) {
            asked.push_back({text, style});
            const int answer = answers.empty() ? kAnswerOk : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            return answer;
        });
        setShellOpenHandler([this](const ByteText& target) { opened.push_back(target); });
    }

    void TearDown() override {
        setMessageBoxAnswerer({});
        setShellOpenHandler({});
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        site.stop();
    }

    LibraryLayout layout() const { return LibraryLayout(ByteText(runDir)); }

    demo::DemoSite site;
    fixture::TemporaryDirectory temporary;
    const std::string& runDir = temporary.path();
    ProgramState state;
    std::vector<int> endCodes;
    std::vector<Asked> asked;
    std::vector<int> answers;  // given in order; OK once they run out
    std::vector<ByteText> opened;
};

// The mode chooser runs modally: act on it from inside its own loop.
void whenChooserOpens(const std::function<void(ModeChooser*)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* chooser = qobject_cast<ModeChooser*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(chooser);
        }
    });
    poll->start(10);
}

TEST_F(BatchWindowsTest, StartChecksTheServersVersion) {
    struct Case {
        const char* serverVersion;  // nullptr: the server cannot be reached
        bool offered;
    };
    const Case cases[] = {
        {"1190", false}, {"1190.00000005", false}, {"", false}, {"1191", true}, {nullptr, false}};
    for (const auto& c : cases) {
        if (c.serverVersion) {
            site.setUpdateVersion(c.serverVersion);
        } else {
            site.stop();
        }
        BatchApp app(state);
        bool chooserOpened = false;
        if (!c.offered) {
            whenChooserOpens([&](ModeChooser* chooser) {
                chooserOpened = true;
                QTest::mouseClick(control<QPushButton>(chooser, "按钮1"), Qt::LeftButton);
            });
        }
        app.start();
        ASSERT_NE(app.mainWindow(), nullptr);
        EXPECT_FALSE(app.mainWindow()->isVisible());
        if (c.offered) {
            UpdateWindow* update = app.updateWindow();
            ASSERT_NE(update, nullptr);
            EXPECT_TRUE(update->isVisible());
            EXPECT_TRUE(update->windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_EQ(control<QLineEdit>(update, "编辑框2")->text(), ui("1190"));
            EXPECT_EQ(control<QLineEdit>(update, "编辑框3")->text(), ui("1191"));
            update->deleteLater();
        } else {
            EXPECT_TRUE(waitFor([&] { return app.mainWindow() && app.mainWindow()->isVisible(); }))
                << (c.serverVersion ? c.serverVersion : "unreachable");
            EXPECT_TRUE(chooserOpened);
            EXPECT_EQ(app.updateWindow(), nullptr);
        }
        if (!c.serverVersion)
            site.start(0);
        app.mainWindow()->hide();
    }
    EXPECT_TRUE(endCodes.empty());
}

TEST_F(BatchWindowsTest, QuitAndCancelInTheUpdateWindowLeadToTheChooser) {
    site.setUpdateVersion("1191");
    for (const bool byQuit : {true, false}) {
        BatchApp app(state);
        app.start();
        ASSERT_TRUE(app.updateWindow() && app.updateWindow()->isVisible());
        bool chooserOpened = false;
        whenChooserOpens([&](ModeChooser* chooser) {
            chooserOpened = true;
            chooser->reject();
        });
        if (byQuit) {
            QTest::mouseClick(control<QPushButton>(app.updateWindow(), "按钮2"), Qt::LeftButton);
        } else {
            answers = {kAnswerCancel, kAnswerCancel};
            QTest::mouseClick(control<QPushButton>(app.updateWindow(), "按钮1"), Qt::LeftButton);
            ASSERT_EQ(asked.size(), 2u);
            EXPECT_EQ(asked[0].style, kMessageQuestion);
            EXPECT_EQ(asked[1].text,
                      gbk("更新文件不知道怎么回事一直误报，放心绝对没有毒，如果更新请确认！！"));
            EXPECT_EQ(asked[1].style, kMessageOkCancel);
            EXPECT_TRUE(opened.empty());  // Cancel on the first question opens no report
        }
        EXPECT_TRUE(waitFor([&] { return chooserOpened; }));
        // A closed chooser ends the program: no window is left to show.
        EXPECT_TRUE(waitFor([&] { return !endCodes.empty(); }));
        endCodes.clear();
        asked.clear();
    }
}

TEST_F(BatchWindowsTest, UpdaterIsDownloadedStartedAndTheProgramEnds) {
    site.setUpdateVersion("1191");
    site.setUpdaterExecutable("#!/bin/sh\nexit 0\n");
    BatchApp app(state);
    app.start();
    answers = {kAnswerOk, kAnswerOk};
    QTest::mouseClick(control<QPushButton>(app.updateWindow(), "按钮1"), Qt::LeftButton);
    const ByteText updater = layout().updaterProgram();
    ASSERT_EQ(opened.size(), 2u);  // the scan report, then the updater
    EXPECT_EQ(opened[1], updater);
    EXPECT_EQ(readFile(updater), "#!/bin/sh\nexit 0\n");
    EXPECT_NE(fs::status(runDir + "/Lumora-更新").permissions() & fs::perms::owner_exec,
              fs::perms::none);
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(app.updateWindow()->isVisible());

    // A failed download never replaces an updater already there.
    site.setUpdaterExecutable("");
    opened.clear();
    endCodes.clear();
    UpdateWindow again(state);
    answers = {kAnswerCancel, kAnswerOk};
    QTest::mouseClick(control<QPushButton>(&again, "按钮1"), Qt::LeftButton);
    EXPECT_EQ(readFile(updater), "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(opened, std::vector<ByteText>{updater});
}

TEST_F(BatchWindowsTest, UpdateWindowAndChooserAreLaidOutAsDesigned) {
    site.setUpdateVersion("1191");
    UpdateWindow update(state);
    EXPECT_EQ(update.windowTitle(), ui("Lumora-程序更新"));
    EXPECT_EQ(update.size(), QSize(189, 148));
    ModeChooser chooser(state);
    EXPECT_EQ(chooser.size(), QSize(374, 338));
    EXPECT_TRUE(chooser.windowTitle().isEmpty());
    EXPECT_TRUE(chooser.isModal());
    struct Case {
        QWidget* window;
        const char* name;
        QRect place;
        const char* text;
    };
    const Case cases[] = {
        {&update, "编辑框1", {0, 0, 72, 32}, "本程序版本"},
        {&update, "编辑框2", {72, 0, 48, 32}, "1190"},
        {&update, "编辑框4", {0, 40, 72, 32}, "本程序最新版本"},
        {&update, "编辑框3", {72, 40, 48, 32}, "1191"},
        {&update, "按钮2", {136, 0, 48, 72}, "退出"},
        {&update, "按钮1", {0, 80, 184, 32}, "已有最新版本，是否更新"},
        {&chooser, "按钮1", {32, 10, 100, 50}, "进入群采版"},
        {&chooser, "按钮2", {208, 10, 100, 50}, "进入单本版"},
        {&chooser, "按钮3", {48, 80, 80, 24}, "什么是群采？"},
        {&chooser, "按钮4", {216, 80, 80, 24}, "什么是单本？"},
    };
    for (const auto& c : cases) {
        QWidget* w = control<QWidget>(c.window, c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.place) << c.name;
        EXPECT_EQ(w->property("text").toString(), ui(c.text)) << c.name;
    }
    EXPECT_TRUE(control<QLineEdit>(&update, "编辑框2")->isReadOnly());
    EXPECT_TRUE(control<QLineEdit>(&update, "编辑框3")->isReadOnly());
}

TEST_F(BatchWindowsTest, ModeChooserShowsHelpAndStartsTheSingleBookEdition) {
    ModeChooser chooser(state);
    chooser.show();
    auto* picture = control<PictureBox>(&chooser, "图片框1");
    EXPECT_EQ(picture->geometry(), QRect(8, 120, 344, 160));
    QTest::mouseClick(control<QPushButton>(&chooser, "按钮4"), Qt::LeftButton);
    EXPECT_EQ(picture->picture().size(), QSize(795, 418));
    EXPECT_EQ(picture->pictureRect(), QRect(20, 0, 304, 160));
    QTest::mouseClick(control<QPushButton>(&chooser, "按钮3"), Qt::LeftButton);
    EXPECT_EQ(picture->picture().size(), QSize(266, 194));
    QTest::mouseClick(control<QPushButton>(&chooser, "按钮2"), Qt::LeftButton);
    EXPECT_EQ(chooser.choice(), ModeChooser::singleBookEdition);
    EXPECT_EQ(opened, std::vector<ByteText>{gbk((runDir + "/Lumora-单本版").c_str())});
}

class MainWindowTest : public BatchWindowsTest {
protected:
    void SetUp() override {
        BatchWindowsTest::SetUp();
        window = new MainWindow(state);
        window->show();
    }
    QPointer<MainWindow> window;
};

TEST_F(MainWindowTest, ControlsSitWhereTheyWereDesigned) {
    EXPECT_EQ(window->windowTitle(), ui("Lumora     BY:Tamber"));
    EXPECT_EQ(window->size(), QSize(269, 161));
    struct Case {
        const char* name;
        QRect place;
        const char* text;  // nullptr: not a text control
        bool visible;
    };
    const Case cases[] = {
        {"超级按钮1", {0, 8, 34, 20}, "加群", true},
        {"超级按钮2", {35, 8, 32, 20}, "加Q", true},
        {"编辑框1", {72, 8, 56, 16}, "1", true},
        {"完本类", {165, 8, 96, 20}, nullptr, true},
        {"连载类", {166, 8, 96, 20}, nullptr, false},
        {"单选框1", {8, 56, 48, 16}, "完本", true},
        {"单选框2", {8, 80, 56, 16}, "连载中", true},
        {"选择框1", {72, 80, 120, 16}, "若重复覆盖文件", false},
        {"按钮2", {208, 64, 56, 32}, "采集", true},
        {"编辑框2", {120, 104, 80, 24}, "默认为：1", true},
        {"按钮3", {208, 104, 56, 24}, "确认", true},
        {"完本网页", {32, 448, 264, 20}, nullptr, false},
        {"连载网页", {48, 377, 264, 20}, nullptr, false},
        {"按钮1", {64, 384, 80, 32}, "立即全部采集", false},
    };
    for (const auto& c : cases) {
        QWidget* w = control<QWidget>(window, c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.place) << c.name;
        EXPECT_EQ(w->isVisible(), c.visible) << c.name;
        if (!c.text)
            continue;
        QString text = w->property("text").toString();
        EXPECT_EQ(text, ui(c.text)) << c.name;
    }
    auto* finished = control<QComboBox>(window, "完本类");
    EXPECT_EQ(finished->count(), 16);
    EXPECT_EQ(finished->currentText(), ui("玄幻小说"));
    EXPECT_EQ(control<QComboBox>(window, "连载类")->count(), 8);
    EXPECT_TRUE(control<QCheckBox>(window, "选择框1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(window, "单选框1")->isChecked());
}

TEST_F(MainWindowTest, KindAndCategoryKeepTheUrlListPaired) {
    auto* finished = control<QComboBox>(window, "完本类");
    auto* finishedUrls = control<QComboBox>(window, "完本网页");
    auto* ongoing = control<QComboBox>(window, "连载类");
    auto* ongoingUrls = control<QComboBox>(window, "连载网页");
    finished->setFocus();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(finished, Qt::Key_Down);
    EXPECT_EQ(finished->currentIndex(), 5);
    EXPECT_EQ(finishedUrls->currentIndex(), 5);
    EXPECT_TRUE(finishedUrls->currentText().endsWith("/wanben/qh/tuijian"));

    QTest::mouseClick(control<QRadioButton>(window, "单选框2"), Qt::LeftButton);
    EXPECT_TRUE(ongoing->isVisible());
    EXPECT_FALSE(finished->isVisible());
    EXPECT_TRUE(control<QCheckBox>(window, "选择框1")->isVisible());
    ongoing->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(ongoing, Qt::Key_Down);
    EXPECT_EQ(ongoingUrls->currentIndex(), 3);
    // A category chosen without the handler is copied over when the kind is switched to.
    ongoing->setCurrentIndex(6);
    QTest::mouseClick(control<QRadioButton>(window, "单选框1"), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(window, "单选框2"), Qt::LeftButton);
    EXPECT_EQ(ongoingUrls->currentIndex(), 6);
    QTest::mouseClick(control<QRadioButton>(window, "单选框1"), Qt::LeftButton);
    EXPECT_TRUE(finished->isVisible());
    EXPECT_FALSE(ongoing->isVisible());
    EXPECT_FALSE(control<QCheckBox>(window, "选择框1")->isVisible());
}

TEST_F(MainWindowTest, ConfirmSetsTheResponseTime) {
    struct Case {
        const char* text;
        int delay;
    };
    const Case cases[] = {
        {"默认为：1", 1}, {"默认为：25", 25}, {"40", 40}, {"默认为：", 0}, {"7.9", 7}};
    auto* box = control<QLineEdit>(window, "编辑框2");
    for (const auto& c : cases) {
        box->setText(ui(c.text));
        QTest::mouseClick(control<QPushButton>(window, "按钮3"), Qt::LeftButton);
        EXPECT_EQ(state.responseDelay, c.delay) << c.text;
    }
    // Only digits can be typed.
    box->clear();
    QTest::keyClicks(box, "a1b2");
    EXPECT_EQ(box->text(), ui("12"));
}

TEST_F(MainWindowTest, MessengerButtonsOpenTheirLinksOnce) {
    auto* group = control<QToolButton>(window, "超级按钮1");
    auto* contact = control<QToolButton>(window, "超级按钮2");
    EXPECT_TRUE(group->toolTip().startsWith(ui("学习使用方法")));
    QTest::mouseClick(group, Qt::LeftButton);
    QTest::mouseClick(contact, Qt::LeftButton);
    EXPECT_FALSE(group->isVisible());
    EXPECT_FALSE(contact->isVisible());
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(MainWindowTest, ClosingTheWindowDeletesTheCacheOnly) {
    setUpLibrary(layout(), state.profile);
    writeFile(layout().listingPage(gbk("玄幻小说"), 1), "page");
    writeFile(layout().cover(gbk("书")), "cover");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(fs::exists(runDir + "/缓存"));
    EXPECT_EQ(readFile(layout().cover(gbk("书"))), "cover");
    EXPECT_EQ(endCodes, std::vector<int>{0});
}

// A whole harvest through the main window.
class HarvestRunTest : public MainWindowTest {
protected:
    void harvest(CategoryKind kind, int categoryIndex, const char* pages, bool overwrite = true) {
        window->show();
        QTest::mouseClick(
            control<QRadioButton>(window, kind == CategoryKind::finished ? "单选框1" : "单选框2"),
            Qt::LeftButton);
        auto* names =
            control<QComboBox>(window, kind == CategoryKind::finished ? "完本类" : "连载类");
        auto* urls =
            control<QComboBox>(window, kind == CategoryKind::finished ? "完本网页" : "连载网页");
        names->setCurrentIndex(categoryIndex);
        urls->setCurrentIndex(categoryIndex);
        control<QCheckBox>(window, "选择框1")->setChecked(overwrite);
        control<QLineEdit>(window, "编辑框1")->setText(ui(pages));
        QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
    }

    std::vector<demo::NovelEntry> novelsOn(CategoryKind kind, int index, int pages) {
        std::vector<demo::NovelEntry> novels;
        for (int page = 1; page <= pages; ++page) {
            for (const auto& n : site.catalogue().page(kind, index, page))
                novels.push_back(n);
        }
        return novels;
    }

    ByteText categoryName(CategoryKind kind, int index) {
        return state.profile.category(kind, index).name;
    }
};

TEST_F(HarvestRunTest, HarvestsTwoPagesIntoAnEmptyLibraryAndHandsOver) {
    harvest(CategoryKind::finished, 0, "2");
    const auto novels = novelsOn(CategoryKind::finished, 0, 2);
    ASSERT_EQ(novels.size(), 40u);
    const ByteText category = categoryName(CategoryKind::finished, 0);
    int recorded = 0;
    for (const auto& n : novels) {
        if (n.synopsis.empty())
            continue;  // such a novel is never recorded
        ++recorded;
        const ByteText archive = layout().archive(CategoryKind::finished, category, n.title);
        EXPECT_EQ(fileSize(archive), n.archiveSize) << n.title;
        EXPECT_GT(fileSize(layout().cover(n.title)), 2000) << n.title;
        EXPECT_EQ(readFile(layout().synopsisFile(CategoryKind::finished, category, n.title)),
                  n.synopsis.str());
        EXPECT_EQ(
            readFile(layout().novelRecord(CategoryKind::finished, category, n.title)),
            (ByteText("[") + n.title + gbk("]\r\n作者=") + n.author + ByteText("\r\n")).str());
        EXPECT_EQ(iniRead(layout().libraryIndex(), gbk("小说"), n.title), archive);
    }
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().text, gbk("采集完成，共采集") + toText(recorded) +
                                     gbk("篇小说，其中已存在0篇小说，本次成功采集") +
                                     toText(recorded) + gbk("篇小说！是否查看文件？"));
    EXPECT_EQ(asked.back().style, kMessageQuestion);
    EXPECT_EQ(control<QLineEdit>(window, "编辑框1")->text(), ui("0"));

    // OK: the browser on the run's folder; the main window and the cache go.
    ASSERT_NE(window->libraryBrowser(), nullptr);
    LibraryBrowser* browser = window->libraryBrowser();
    EXPECT_EQ(browser->folder(), layout().archiveDir(CategoryKind::finished, category));
    EXPECT_TRUE(browser->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(fs::exists(runDir + "/缓存"));
    EXPECT_TRUE(endCodes.empty());
    browser->close();
    EXPECT_EQ(endCodes, std::vector<int>{0});
}

TEST_F(HarvestRunTest, ASecondRunFetchesOnlyWhatIsTooSmall) {
    const auto novels = novelsOn(CategoryKind::finished, 1, 1);
    const ByteText category = categoryName(CategoryKind::finished, 1);
    harvest(CategoryKind::finished, 1, "1");
    // The first run's main window goes (with the cache) before the next one starts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    site.clearServedPaths();
    state.counters = {};
    window = new MainWindow(state);
    answers = {kAnswerCancel};
    harvest(CategoryKind::finished, 1, "1");
    const auto served = site.servedPaths();
    int expectedPresent = 0;
    for (const auto& n : novels) {
        if (n.synopsis.empty())
            continue;
        const bool fetched = std::find(served.begin(), served.end(),
                                       "/down/2011/" + n.stem.str() + ".rar") != served.end();
        EXPECT_EQ(fetched, n.archiveSize <= 30000) << n.title << " " << n.archiveSize;
        if (n.archiveSize > 30000)
            ++expectedPresent;
    }
    EXPECT_GT(expectedPresent, 0);
    EXPECT_EQ(state.counters.presentCount, expectedPresent);
    // Cancel deleted the cache and ended the program; the library stays.
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(fs::exists(runDir + "/缓存"));
    EXPECT_TRUE(fs::exists(runDir + "/小说/ini/小说.ini"));
    EXPECT_GT(fileSize(layout().archiveDir(CategoryKind::finished, category)), -1);
}

TEST_F(HarvestRunTest, OngoingNovelsFollowTheOverwriteBox) {
    const auto novels = novelsOn(CategoryKind::ongoing, 0, 1);
    int large = 0;
    for (const auto& n : novels)
        large += (n.archiveSize > 300000 && !n.synopsis.empty()) ? 1 : 0;
    ASSERT_GT(large, 0);
    // The first run fills the library; then large archives are present unless the box asks
    // to download them again.
    const bool overwrites[] = {false, true, false};
    for (int run = 0; run < 3; ++run) {
        state.counters = {};
        if (window.isNull())
            window = new MainWindow(state);
        answers = {kAnswerCancel};
        harvest(CategoryKind::ongoing, 0, "1", overwrites[run]);
        window->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (run == 0)
            continue;
        EXPECT_EQ(state.counters.presentCount, overwrites[run] ? 0 : large) << run;
    }
}

TEST_F(HarvestRunTest, FailedDownloadsKeepWhatTheLibraryHad) {
    const ByteText category = categoryName(CategoryKind::ongoing, 1);
    answers = {kAnswerCancel};
    harvest(CategoryKind::ongoing, 1, "1");
    window->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Downloaded again because of the overwrite box, but every archive and cover fails.
    site.setFaults({demo::FaultRule{demo::Resource::archive, demo::FaultKind::errorStatus, 1},
                    demo::FaultRule{demo::Resource::cover, demo::FaultKind::truncate, 1}});
    window = new MainWindow(state);
    answers = {kAnswerCancel};
    state.counters = {};
    harvest(CategoryKind::ongoing, 1, "1", true);
    int kept = 0;
    for (const auto& n : novelsOn(CategoryKind::ongoing, 1, 1)) {
        if (n.synopsis.empty())
            continue;
        EXPECT_EQ(fileSize(layout().archive(CategoryKind::ongoing, category, n.title)),
                  n.archiveSize)
            << n.title;
        EXPECT_GT(fileSize(layout().cover(n.title)), 2000) << n.title;
        ++kept;
    }
    EXPECT_EQ(state.counters.collectedCount, kept);
}

TEST_F(HarvestRunTest, AShortSecondPageEndsTheFetch) {
    site.setFaults({demo::FaultRule{demo::Resource::listing, demo::FaultKind::shortPage, 1, 2}});
    answers = {kAnswerCancel};
    harvest(CategoryKind::finished, 2, "3");
    const auto served = site.servedPaths();
    EXPECT_NE(std::find(served.begin(), served.end(), "/wanben/yq/tuijian2.html"), served.end());
    EXPECT_EQ(std::find(served.begin(), served.end(), "/wanben/yq/tuijian3.html"), served.end());
    EXPECT_EQ(control<QLineEdit>(window, "编辑框1")->text(), ui("1"));
    const auto firstPage = novelsOn(CategoryKind::finished, 2, 1);
    EXPECT_EQ(state.counters.collectedCount + state.counters.presentCount,
              static_cast<int>(std::count_if(firstPage.begin(), firstPage.end(),
                                             [](const auto& n) { return !n.synopsis.empty(); })));
}

TEST_F(HarvestRunTest, NoCategoryIsReportedAfterTheSetUp) {
    control<QComboBox>(window, "完本类")->setCurrentIndex(-1);
    QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, gbk("小说种类还未选择"));
    EXPECT_EQ(asked[0].style, kMessageOk);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fs::exists(runDir + "/小说/完本/校园小说"));
    EXPECT_TRUE(site.servedPaths().empty());
}

TEST_F(HarvestRunTest, FaultySiteStillEndsWithAReadableLibrary) {
    // One archive stalls: the shortened low-speed limit ends its transfer.
    const int stalled = site.catalogue().category(CategoryKind::finished, 3).firstOrdinal + 5;
    HttpLimits impatient;
    impatient.lowSpeedBytes = 1000;
    impatient.lowSpeedSeconds = 1;
    const HttpLimits usual = defaultHttpLimits();
    setDefaultHttpLimits(impatient);
    site.setFaults({
        demo::FaultRule{demo::Resource::archive, demo::FaultKind::slow, stalled, 0, 404, 0.5,
                        1 << 30, 2500},
        demo::FaultRule{demo::Resource::archive, demo::FaultKind::truncate, 3},
        demo::FaultRule{demo::Resource::archive, demo::FaultKind::errorStatus, 4, 0, 500},
        demo::FaultRule{demo::Resource::cover, demo::FaultKind::errorStatus, 5},
        demo::FaultRule{demo::Resource::archive, demo::FaultKind::slow, 7, 0, 404, 0.5, 8192, 5},
    });
    answers = {kAnswerCancel};
    harvest(CategoryKind::finished, 3, "1");
    setDefaultHttpLimits(usual);
    const ByteText category = categoryName(CategoryKind::finished, 3);
    for (const auto& n : novelsOn(CategoryKind::finished, 3, 1)) {
        if (n.ordinal == stalled) {
            EXPECT_EQ(fileSize(layout().archive(CategoryKind::finished, category, n.title)), 0);
        }
    }
    int parsed = 0;
    for (const auto& n : novelsOn(CategoryKind::finished, 3, 1)) {
        if (n.synopsis.empty())
            continue;
        const ByteText archive = layout().archive(CategoryKind::finished, category, n.title);
        EXPECT_EQ(iniRead(layout().libraryIndex(), gbk("小说"), n.title), archive);
        // A cut-off archive is never stored whole-looking: at most an empty file.
        const int size = fileSize(archive);
        EXPECT_TRUE(size == n.archiveSize || size <= 1000) << n.title << " " << size;
        ++parsed;
    }
    EXPECT_GT(parsed, 0);
    // Nothing left the run directory.
    const auto parent = fs::path(runDir).parent_path();
    for (const auto& entry : fs::directory_iterator(parent)) {
        EXPECT_EQ(entry.path().extension() == ".rar", false) << entry.path();
    }
}

TEST_F(HarvestRunTest, ProgressWindowFollowsItsSize) {
    ProgressWindow progress(window);
    progress.show();
    EXPECT_EQ(progress.windowTitle(), ui("小说采集页面 BY：Tamber"));
    EXPECT_EQ(progress.size(), QSize(711, 230));
    progress.resize(500, 300);
    EXPECT_EQ(progress.textBox()->size(), progress.frameGeometry().size());
    EXPECT_TRUE(progress.textBox()->toPlainText().endsWith(ui("捕捉页面中，请稍候。。。")));
}

}  // namespace
}  // namespace lumora
