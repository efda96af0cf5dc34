// The library browser over a real library in a temporary run directory, on the offscreen
// platform: listing, synopsis and cover, opening, searching, suggestions and the hand-over.

#include "batch/library_browser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "core/library_layout.h"
#include "harvest/harvest_run.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/picture_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/shell_open.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace lumora {
namespace {

QString ui(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const char* const kNoSynopsis = "该文件没有简介  或者重新采集下该类文件！！";
const char* const kSearchFailed =
    "寻找失败，原因如下：\r\n  ①：本文件不存在\r\n  ②：本文件存在但是本程序更新后没有采集过本类"
    "小说，采集时不论是否成功、失败！！";
const char* const kSearchFound = "寻找成功，是否打开？";

struct Message {
    ByteText text;
    int style;
};

ByteData jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes.toStdString();
}

ByteData plainCover(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(90, 120, 160));
    return jpegOf(image);
}

std::vector<ByteText> bytesOfItems(const QListWidget* list) {
    std::vector<ByteText> items;
    for (int row = 0; row < list->count(); ++row) {
        items.emplace_back(list->item(row)->data(Qt::UserRole).toByteArray().toStdString());
    }
    return items;
}

std::vector<ByteText> gbkList(std::initializer_list<const char*> utf8) {
    std::vector<ByteText> list;
    for (const char* text : utf8)
        list.push_back(gbk(text));
    return list;
}

std::vector<ByteText> sorted(std::vector<ByteText> list) {
    std::sort(list.begin(), list.end(),
              [](const ByteText& a, const ByteText& b) { return a.str() < b.str(); });
    return list;
}

class LibraryBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runDir_.isValid());
        state_.runDirectory = ByteText(runDir_.path().toStdString());
        setUpLibrary(layout(), state_.profile);
        setMessageBoxAnswerer([this](const ByteText& text, int style) {
            messages_.push_back({text, style});
            return answer_;
        });
        setShellOpenHandler([this](const ByteText& target) { opened_.push_back(target); });
    }

    void TearDown() override {
        delete browser_;
        setMessageBoxAnswerer({});
        setShellOpenHandler({});
    }

    LibraryLayout layout() const { return LibraryLayout(state_.runDirectory); }
    ByteText categoryName(CategoryKind kind, int index) const {
        return state_.profile.category(kind, index).name;
    }
    ByteText underRun(const char* utf8) const { return state_.runDirectory + gbk(utf8); }

    // A novel as a harvest leaves it: its archive, its synopsis file unless synopsis is null,
    // its cover when coverSize is valid, and its entry in the library index.
    void addNovel(CategoryKind kind, int category, const char* title,
                  const char* synopsis = nullptr, QSize coverSize = {}) {
        const ByteText name = categoryName(kind, category);
        const ByteText t = gbk(title);
        ASSERT_TRUE(writeFile(layout().archive(kind, name, t), ByteData(40000, 'R')));
        if (synopsis) {
            ASSERT_TRUE(writeFile(layout().synopsisFile(kind, name, t), toBytes(gbk(synopsis))));
        }
        if (coverSize.isValid()) {
            ASSERT_TRUE(writeFile(layout().cover(t), plainCover(coverSize)));
        }
        iniWrite(layout().libraryIndex(), LibraryLayout::indexSection(), t,
                 layout().archive(kind, name, t));
    }

    LibraryBrowser* open() {
        delete browser_;
        browser_ = new LibraryBrowser(state_);
        browser_->onClosed = [this] { ++closedCount_; };
        return browser_;
    }

    void showActive() {
        browser_->show();
        browser_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(browser_));
    }

    template <typename Control>
    Control* control(const char* name) {
        auto* found = browser_->findChild<Control*>(ui(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Selects a file box entry with the mouse, as the user does.
    void clickEntry(const char* utf8Name) {
        auto* box = control<QListWidget>("文件框1");
        const auto items = box->findItems(ui(utf8Name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << utf8Name;
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                          box->visualItemRect(items.first()).center());
    }

    void fireTimer() { QMetaObject::invokeMethod(control<QTimer>("时钟1"), "timeout"); }

    QTemporaryDir runDir_;
    ProgramState state_;
    QPointer<LibraryBrowser> browser_;
    int closedCount_ = 0;
    int answer_ = kAnswerOk;
    std::vector<Message> messages_;
    std::vector<ByteText> opened_;
};

TEST_F(LibraryBrowserTest, WindowAndControlsAreLaidOutAsDesigned) {
    open();
    EXPECT_EQ(browser_->windowTitle(), ui("Lumora-搜小说 -BY：Tamber"));
    EXPECT_EQ(browser_->size(), QSize(394, 409));
    EXPECT_EQ(browser_->minimumSize(), browser_->maximumSize());
    const Qt::WindowFlags flags = browser_->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((browser_->frameGeometry().center() - screen.center()).manhattanLength(), 2);

    struct Row {
        const char* name;
        const char* className;
        QRect place;
        const char* text;
        bool shown;
    };
    const Row rows[] = {
        {"单选框1", "QRadioButton", {0, 0, 48, 25}, "完本", true},
        {"单选框2", "QRadioButton", {56, 0, 72, 25}, "连载中", true},
        {"完本类", "QComboBox", {133, 0, 83, 20}, "玄幻小说", true},
        {"连载类", "QComboBox", {128, 0, 82, 20}, "玄幻奇幻", false},
        {"文件框1", "QListWidget", {0, 24, 224, 192}, nullptr, true},
        {"图片框1", "lumora::PictureBox", {224, 0, 152, 216}, nullptr, true},
        {"标签1", "QLabel", {0, 232, 384, 112}, "", true},
        {"编辑框1", "QLineEdit", {0, 352, 224, 24}, "", true},
        {"按钮1", "QPushButton", {232, 352, 144, 24}, "搜索文件 是文件总名称", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(row.className));
        EXPECT_EQ(widget->geometry(), row.place);
        EXPECT_EQ(!widget->isHidden(), row.shown);
        if (row.text) {
            const auto* combo = qobject_cast<QComboBox*>(widget);
            EXPECT_EQ(combo ? combo->currentText() : widget->property("text").toString(),
                      ui(row.text));
        }
    }
    EXPECT_TRUE(control<QRadioButton>("单选框1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("单选框2")->isChecked());
    for (const auto& [name, kind] : {std::pair{"完本类", CategoryKind::finished},
                                     std::pair{"连载类", CategoryKind::ongoing}}) {
        const auto* combo = control<QComboBox>(name);
        const auto& table = state_.profile.categories(kind);
        ASSERT_EQ(combo->count(), static_cast<int>(table.size()));
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_EQ(combo->itemText(i), toQString(table[i].name));
    }
    EXPECT_EQ(control<QComboBox>("完本类")->count(), 16);
    EXPECT_EQ(control<QComboBox>("连载类")->count(), 8);
    EXPECT_EQ(control<QListWidget>("文件框1")->selectionMode(), QAbstractItemView::SingleSelection);
    const auto* label = control<QLabel>("标签1");
    EXPECT_TRUE(label->wordWrap());
    EXPECT_TRUE(label->testAttribute(Qt::WA_TranslucentBackground));

    // The suggestion list sits inside the picture box, hidden and outside its visible area.
    auto* suggestions = control<QListWidget>("列表框1");
    auto* cover = control<PictureBox>("图片框1");
    EXPECT_EQ(suggestions->parentWidget(), cover);
    EXPECT_TRUE(suggestions->isHidden());
    EXPECT_FALSE(cover->rect().intersects(suggestions->geometry()));

    const auto* timer = control<QTimer>("时钟1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);
}

TEST_F(LibraryBrowserTest, CreationListsTheFirstFinishedCategoryAndFillsSuggestions) {
    addNovel(CategoryKind::finished, 0, "凡人修仙传");
    addNovel(CategoryKind::finished, 0, "斗破苍穹");
    addNovel(CategoryKind::finished, 0, "Alpha");
    const ByteText folder = underRun("/小说/完本/玄幻小说");
    ASSERT_TRUE(writeFile(folder + gbk("/notes.txt"), "n"));
    ASSERT_TRUE(createDirectory(folder + gbk("/旧书")));
    addNovel(CategoryKind::finished, 1, "都市之王");  // another category: not listed

    open();
    EXPECT_EQ(browser_->folder(), folder);
    // GBK byte order: 斗 (B6 B7) before 凡 (B7 B2), though Unicode orders them the other way.
    const auto* fileBox = control<QListWidget>("文件框1");
    EXPECT_EQ(bytesOfItems(fileBox),
              gbkList({"Alpha.rar", "notes.txt", "斗破苍穹.rar", "凡人修仙传.rar"}));
    EXPECT_EQ(fileBox->item(2)->text(), ui("斗破苍穹.rar"));
    EXPECT_TRUE(fileBox->selectedItems().isEmpty());
    // Only archives are suggested, by title, in the directory's own order.
    EXPECT_EQ(sorted(bytesOfItems(control<QListWidget>("列表框1"))),
              gbkList({"Alpha", "斗破苍穹", "凡人修仙传"}));
}

TEST_F(LibraryBrowserTest, SelectionShowsTitleSynopsisAndCover) {
    addNovel(CategoryKind::finished, 0, "Alpha", "", QSize(90, 120));
    addNovel(CategoryKind::finished, 0, "斗破苍穹", "天才少年的逆袭之路", QSize(100, 150));
    addNovel(CategoryKind::finished, 0, "凡人修仙传");
    addNovel(CategoryKind::finished, 0, "星辰变", "前半\x1A后半", QSize(300, 400));
    open();
    showActive();
    const auto* label = control<QLabel>("标签1");
    const auto* cover = control<PictureBox>("图片框1");

    // In this order, so that each row follows one with a different cover.
    struct Row {
        const char* entry;
        const char* label;
        QSize cover;  // invalid: the picture is cleared
    };
    const Row rows[] = {
        {"斗破苍穹.rar", "斗破苍穹 简介：\n  天才少年的逆袭之路", {100, 150}},
        {"凡人修仙传.rar", "凡人修仙传 简介：\n  该文件没有简介  或者重新采集下该类文件！！", {}},
        {"Alpha.rar", "Alpha 简介：\n  该文件没有简介  或者重新采集下该类文件！！", {90, 120}},
        {"星辰变.rar", "星辰变 简介：\n  前半", {300, 400}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        clickEntry(row.entry);
        EXPECT_EQ(label->text(), ui(row.label));
        if (row.cover.isValid()) {
            EXPECT_EQ(cover->picture().size(), row.cover);
        } else {
            EXPECT_TRUE(cover->picture().isNull());
        }
    }
    // The keyboard selects as well: up from 星辰变 is 凡人修仙传.
    QTest::keyClick(control<QListWidget>("文件框1"), Qt::Key_Up);
    EXPECT_TRUE(label->text().startsWith(ui("凡人修仙传 简介：\n  ") + ui(kNoSynopsis)));
    EXPECT_TRUE(cover->picture().isNull());
}

TEST_F(LibraryBrowserTest, DoubleClickOpensTheFolderAndName) {
    addNovel(CategoryKind::finished, 0, "斗破苍穹");
    addNovel(CategoryKind::finished, 0, "凡人修仙传");
    open();
    showActive();
    auto* box = control<QListWidget>("文件框1");
    const QListWidgetItem* item = box->findItems(ui("凡人修仙传.rar"), Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr);
    // A double click arrives as a click followed by the double-click event.
    const QPoint centre = box->visualItemRect(item).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(opened_, std::vector<ByteText>{underRun("/小说/完本/玄幻小说/凡人修仙传.rar")});
}

TEST_F(LibraryBrowserTest, SearchFindsTitlesInTheWholeLibraryIndex) {
    addNovel(CategoryKind::finished, 0, "星辰变");
    addNovel(CategoryKind::ongoing, 2, "都市之王");  // the finished kind stays shown
    const ByteText upperCase = underRun("/小说/完本/玄幻小说/星辰变.RAR.rar");
    iniWrite(layout().libraryIndex(), LibraryLayout::indexSection(), gbk("星辰变.RAR"), upperCase);
    const ByteText xingchen = underRun("/小说/完本/玄幻小说/星辰变.rar");
    const ByteText dushi = underRun("/小说/连载中/都市小说/都市之王.rar");

    struct Row {
        const char* searchText;
        int answer;
        const char* message;
        int style;
        std::optional<ByteText> opened;
    };
    const Row rows[] = {
        {"星辰变", kAnswerOk, kSearchFound, kMessageOkCancel, xingchen},
        {"星辰变.rar", kAnswerOk, kSearchFound, kMessageOkCancel, xingchen},
        {"星辰变rar", kAnswerOk, kSearchFound, kMessageOkCancel, xingchen},
        {"星辰变rar.rar", kAnswerOk, kSearchFound, kMessageOkCancel, xingchen},
        {"星辰变.RAR", kAnswerOk, kSearchFound, kMessageOkCancel, upperCase},
        {"都市之王", kAnswerOk, kSearchFound, kMessageOkCancel, dushi},
        {"星辰变", kAnswerCancel, kSearchFound, kMessageOkCancel, std::nullopt},
        {"星辰", kAnswerOk, kSearchFailed, kMessageInformation, std::nullopt},
        {"", kAnswerOk, kSearchFailed, kMessageInformation, std::nullopt},
    };
    open();
    showActive();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.searchText);
        messages_.clear();
        opened_.clear();
        answer_ = row.answer;
        control<QLineEdit>("编辑框1")->setText(ui(row.searchText));
        QTest::mouseClick(control<QPushButton>("按钮1"), Qt::LeftButton);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, gbk(row.message));
        EXPECT_EQ(messages_[0].style, row.style);
        EXPECT_EQ(opened_,
                  row.opened ? std::vector<ByteText>{*row.opened} : std::vector<ByteText>{});
    }
}

TEST_F(LibraryBrowserTest, TimerSuggestsTitlesOfTheListedCategory) {
    addNovel(CategoryKind::finished, 0, "重生之都市修仙");
    addNovel(CategoryKind::finished, 0, "斗破苍穹");
    addNovel(CategoryKind::finished, 0, "Beta");
    open();
    showActive();

    struct Phase {
        const char* name;
        std::function<void()> enter;
        std::vector<ByteText> titles;
    };
    const Phase phases[] = {
        {"created on 玄幻小说", [] {}, gbkList({"Beta", "斗破苍穹", "重生之都市修仙"})},
        // The ongoing 玄幻奇幻 was never harvested: every tick empties the box.
        {"switched to 连载中",
         [this] { QTest::mouseClick(control<QRadioButton>("单选框2"), Qt::LeftButton); },
         {}},
    };
    auto* suggestions = control<QListWidget>("列表框1");
    auto* searchBox = control<QLineEdit>("编辑框1");
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.name);
        phase.enter();
        EXPECT_EQ(sorted(bytesOfItems(suggestions)), phase.titles);
        searchBox->setText(ui("typed"));
        // The same generator, stepped alongside, names the entry each tick must show.
        RandomNumbers expected = state_.random;
        std::set<std::string> seen;
        for (int tick = 0; tick < 12; ++tick) {
            fireTimer();
            const int index = expected.next(0, suggestions->count() - 1);
            const ByteText shown = toByteText(searchBox->text());
            if (phase.titles.empty()) {
                EXPECT_TRUE(shown.empty());
                continue;
            }
            EXPECT_EQ(shown, bytesOfItems(suggestions).at(index));
            EXPECT_NE(std::find(phase.titles.begin(), phase.titles.end(), shown),
                      phase.titles.end());
            seen.insert(shown.str());
        }
        if (!phase.titles.empty()) {
            EXPECT_GT(seen.size(), 1u);
        }
    }
}

TEST_F(LibraryBrowserTest, SearchBoxFocusStopsTheSuggestionsUntilItLeaves) {
    open();
    showActive();
    auto* timer = control<QTimer>("时钟1");
    auto* searchBox = control<QLineEdit>("编辑框1");
    QTest::mouseClick(searchBox, Qt::LeftButton);
    ASSERT_TRUE(searchBox->hasFocus());
    EXPECT_FALSE(timer->isActive());

    QTest::mouseClick(control<QListWidget>("文件框1")->viewport(), Qt::LeftButton);
    ASSERT_FALSE(searchBox->hasFocus());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);
    EXPECT_GT(timer->remainingTime(), 4000);  // the next suggestion comes a full period later
}

TEST_F(LibraryBrowserTest, SwitchingKindOrCategoryRelistsAndKeepsTheShownNovel) {
    addNovel(CategoryKind::finished, 0, "斗破苍穹", "天才少年的逆袭之路", QSize(100, 150));
    addNovel(CategoryKind::finished, 1, "重生之都市修仙");
    addNovel(CategoryKind::ongoing, 0, "万古神帝", "连载中的简介");
    addNovel(CategoryKind::ongoing, 0, "武动乾坤");
    open();
    showActive();
    clickEntry("斗破苍穹.rar");
    auto* label = control<QLabel>("标签1");
    auto* cover = control<PictureBox>("图片框1");
    const QString shownSynopsis = label->text();
    const qint64 shownCover = cover->picture().cacheKey();
    ASSERT_FALSE(cover->picture().isNull());

    auto* finishedBox = control<QComboBox>("完本类");
    auto* ongoingBox = control<QComboBox>("连载类");
    auto* fileBox = control<QListWidget>("文件框1");
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* folder;
        std::vector<ByteText> files;
        bool finishedShown;
    };
    const Step steps[] = {
        {"单选框2", [this] { QTest::mouseClick(control<QRadioButton>("单选框2"), Qt::LeftButton); },
         "/小说/连载中/玄幻奇幻", gbkList({"万古神帝.rar", "武动乾坤.rar"}), false},
        {"连载类 down",
         [&] { QTest::keyClick(ongoingBox, Qt::Key_Down); },
         "/小说/连载中/武侠仙侠",
         {},
         false},
        {"单选框1", [this] { QTest::mouseClick(control<QRadioButton>("单选框1"), Qt::LeftButton); },
         "/小说/完本/玄幻小说", gbkList({"斗破苍穹.rar"}), true},
        {"完本类 down", [&] { QTest::keyClick(finishedBox, Qt::Key_Down); }, "/小说/完本/都市小说",
         gbkList({"重生之都市修仙.rar"}), true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(browser_->folder(), underRun(step.folder));
        EXPECT_EQ(bytesOfItems(fileBox), step.files);
        std::vector<ByteText> titles;
        for (const ByteText& file : step.files)
            titles.push_back(textLeft(file, textLength(file) - 4));
        EXPECT_EQ(sorted(bytesOfItems(control<QListWidget>("列表框1"))), titles);
        EXPECT_EQ(!finishedBox->isHidden(), step.finishedShown);
        EXPECT_EQ(!ongoingBox->isHidden(), !step.finishedShown);
        EXPECT_TRUE(fileBox->hasFocus());
        EXPECT_EQ(label->text(), shownSynopsis);
        EXPECT_EQ(cover->picture().cacheKey(), shownCover);
    }

    // The synopsis follows the kind shown: an ongoing novel's comes from the ongoing records.
    QTest::mouseClick(control<QRadioButton>("单选框2"), Qt::LeftButton);
    EXPECT_EQ(ongoingBox->currentText(), ui("武侠仙侠"));
    QTest::keyClick(ongoingBox, Qt::Key_Up);
    clickEntry("万古神帝.rar");
    EXPECT_EQ(label->text(), ui("万古神帝 简介：\n  连载中的简介"));
    EXPECT_TRUE(cover->picture().isNull());
}

TEST_F(LibraryBrowserTest, PresetRunSelectsWithoutRunningTheHandlers) {
    addNovel(CategoryKind::finished, 0, "斗破苍穹");
    addNovel(CategoryKind::finished, 3, "黑道风云");
    addNovel(CategoryKind::ongoing, 2, "都市之王");
    struct Row {
        CategoryKind kind;
        int category;
        const char* folder;
        std::vector<ByteText> files;
    };
    const Row rows[] = {
        {CategoryKind::finished, 3, "/小说/完本/黑道小说", gbkList({"黑道风云.rar"})},
        {CategoryKind::ongoing, 2, "/小说/连载中/都市小说", gbkList({"都市之王.rar"})},
    };
    for (const Row& row : rows) {
        const bool finished = row.kind == CategoryKind::finished;
        SCOPED_TRACE(row.folder);
        open();
        const ByteText createdFolder = browser_->folder();
        auto* fileBox = control<QListWidget>("文件框1");
        auto* suggestions = control<QListWidget>("列表框1");
        const std::vector<ByteText> createdSuggestions = bytesOfItems(suggestions);
        ASSERT_EQ(createdSuggestions, gbkList({"斗破苍穹"}));

        browser_->presetRun(row.kind, row.category);
        EXPECT_EQ(control<QRadioButton>("单选框1")->isChecked(), finished);
        EXPECT_EQ(control<QRadioButton>("单选框2")->isChecked(), !finished);
        auto* shownBox = control<QComboBox>(finished ? "完本类" : "连载类");
        auto* hiddenBox = control<QComboBox>(finished ? "连载类" : "完本类");
        EXPECT_EQ(shownBox->currentIndex(), row.category);
        EXPECT_FALSE(shownBox->isHidden());
        EXPECT_TRUE(hiddenBox->isHidden());
        EXPECT_EQ(browser_->folder(), createdFolder);

        browser_->setFolder(layout().archiveDir(row.kind, categoryName(row.kind, row.category)));
        EXPECT_EQ(browser_->folder(), underRun(row.folder));
        EXPECT_EQ(bytesOfItems(fileBox), row.files);
        EXPECT_EQ(bytesOfItems(suggestions), createdSuggestions);
        EXPECT_TRUE(control<QLabel>("标签1")->text().isEmpty());
    }
}

TEST_F(LibraryBrowserTest, ClosingReportsOnceAndTheWindowGoes) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Esc in the file box",
         [this] { QTest::keyClick(control<QListWidget>("文件框1"), Qt::Key_Escape); }},
        {"Esc in the search box",
         [this] { QTest::keyClick(control<QLineEdit>("编辑框1"), Qt::Key_Escape); }},
        {"close box", [this] { browser_->close(); }},
    };
    for (const auto& [name, closeIt] : ways) {
        SCOPED_TRACE(name);
        closedCount_ = 0;
        open();
        showActive();
        closeIt();
        EXPECT_EQ(closedCount_, 1);
        EXPECT_FALSE(browser_ && browser_->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(browser_.isNull());
        EXPECT_EQ(closedCount_, 1);
    }
}

}  // namespace
}  // namespace lumora
