#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "core/library_layout.h"
#include "platform/files.h"
#include "tests/support/temporary_directory.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    void TearDown() override { testing::setRenameFailure(false); }

    std::string native(std::string_view relative) const { return temporary_.native(relative); }
    ByteText at(std::string_view utf8Relative) const { return temporary_.at(utf8Relative); }

    static void put(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // An outside edit in place that keeps the size: only the modification time tells.
    static void rewriteInPlace(const std::string& path, std::string_view bytes) {
        const auto stamp = fs::last_write_time(path);
        std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << bytes;
        fs::last_write_time(path, stamp - std::chrono::hours(1));
    }
    // Makes the next call read the file again, as any outside edit would.
    static void touch(const std::string& path) {
        fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(1));
    }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fixture::TemporaryDirectory temporary_;
    const std::string& dir_ = temporary_.path();
};

ByteText G(const char* utf8) {
    return gbk(utf8);
}

TEST_F(IniFileTest, ReadingRules) {
    struct Case {
        std::string content;
        const char* section;
        const char* key;
        std::optional<std::string> value;  // nothing: the default
    };
    const Case cases[] = {
        {"[Sec]\r\nKey=v\r\n", "sEC", "kEY", "v"},
        {"[s]\r\na=1\r\na=2\r\n", "s", "a", "1"},
        {"[s]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n", "s", "a", "1"},
        {"[s]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n", "s", "b", std::nullopt},
        {"[s]\r\na=\"x y\"\r\n", "s", "a", "x y"},
        {"[s]\r\na='q'\r\n", "s", "a", "q"},
        {"[s]\r\na=\"\"\r\n", "s", "a", ""},
        {"[s]\r\na=\"x'\r\n", "s", "a", "\"x'"},
        {"[s]\r\na=\"\r\n", "s", "a", "\""},
        {" \t[ s ] \t\r\n \t a \t= \t v  v \t\r\n", "s", "a", "v  v"},
        {"[s]\ra=1\rb=2", "s", "b", "2"},
        {"[s]\na=1\nb=2\n", "s", "b", "2"},
        {"[s]\r\n\r\n\n\r\r\n;b=9\r\nb=2\r\n", "s", "b", "2"},
        {";[s]\r\nb=1\r\n", "s", "b", std::nullopt},
        {"b=0\r\n[s]\r\n", "s", "b", std::nullopt},
        {"[s]\r\na=b=c\r\n", "s", "a", "b=c"},
        {"[s]\r\na\r\n", "s", "a", std::nullopt},
        {"[s]\r\nA=\r\n", "s", "a", ""},
        {"[s] trailing\r\na=1\r\n", "s", "a", "1"},
        {"[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
        // GBK trail bytes are neither brackets nor letters: 乚 is 81 5D, 丄 81 41, 乤 81 61.
        {gbk("[乚\r\na=1\r\n").str(), "乚", "a", "1"},
        {gbk("[丄]\r\na=1\r\n").str(), "乤", "a", std::nullopt},
        {gbk("[s]\r\n乤=1\r\n").str(), "s", "丄", std::nullopt},
        {gbk("[小说]\r\n斗破苍穹=/run/斗破苍穹.rar\r\n").str(), "小说", "斗破苍穹",
         gbk("/run/斗破苍穹.rar").str()},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "read" + std::to_string(n++) + ".ini";
        put(native(name), c.content);
        const ByteText value = iniRead(at(name), G(c.section), G(c.key), ByteText("default"));
        EXPECT_EQ(value, ByteText(c.value.value_or("default"))) << c.content;
    }
}

TEST_F(IniFileTest, ReadingArgumentsAndLimits) {
    put(native("f.ini"), "[s]\r\nk=v\r\nlong=" + std::string(20000, 'x') + "\r\n");
    const ByteText file = at("f.ini");
    const ByteText none("default");
    fs::create_directory(native("dir.ini"));
    struct Case {
        ByteText file, section, key;
        ByteText expected;
    };
    const Case cases[] = {
        {ByteText(" \t\x01") + file, ByteText("\x1F s"), ByteText("\n k"), ByteText("v")},
        {file, ByteText("s "), ByteText("k\t"), ByteText("v")},
        {file, ByteText("s"), ByteText("long"), ByteText(std::string(10239, 'x'))},
        {ByteText("   "), ByteText("s"), ByteText("k"), ByteText()},
        {file, ByteText(" \t"), ByteText("k"), ByteText()},
        {file, ByteText("s"), ByteText("\x1F"), ByteText()},
        {at("missing.ini"), ByteText("s"), ByteText("k"), none},
        {at("dir.ini"), ByteText("s"), ByteText("k"), none},
        {gbk(dir_ + "/") + ByteText("\xFF\xFF"), ByteText("s"), ByteText("k"), none},
        {file, ByteText("t"), ByteText("k"), none},
        {file, ByteText("s"), ByteText("x"), none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniRead(c.file, c.section, c.key, none), c.expected)
            << c.file.str() << " [" << c.section.str() << "] " << c.key.str();
    EXPECT_EQ(iniRead(file, ByteText("s"), ByteText("x")), ByteText());
}

TEST_F(IniFileTest, WritesSpliceIntoTheOriginalBytes) {
    struct Case {
        std::optional<std::string> before;  // nothing: no file
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {std::nullopt, "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"[s]\r\n  K \t= old ; x\r\nx=1\r\n", "s", "k", "new", "[s]\r\nK=new\r\nx=1\r\n"},
        {"[S]\r\nA=1\r\n", "s", "a", "2", "[S]\r\nA=2\r\n"},
        {"[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n", "s", "c", "3",
         "[s]\r\na=1\r\nc=3\r\n\r\n[t]\r\nb=2\r\n"},
        {"[s]\r\na=1\r\n; note\r\n\r\n", "s", "c", "3", "[s]\r\na=1\r\n; note\r\nc=3\r\n\r\n"},
        {"[s]\r\n\r\n", "s", "c", "3", "[s]\r\nc=3\r\n\r\n"},
        {"[s]\r\na=1\r\n\r\n", "t", "b", "2", "[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n"},
        {"[s]\r\na=1", "t", "b", "2", "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
        {"[s]\r\na=1", "s", "c", "3", "[s]\r\na=1\r\nc=3\r\n"},
        {"[s]\r\na=1\r\n[t]\r\nb=2", "s", "a", "9", "[s]\r\na=9\r\n[t]\r\nb=2"},
        {"[s]\na=1\n", "s", "b", "2", "[s]\na=1\nb=2\r\n"},
        {"[s]\ra=1\r", "s", "a", "2", "[s]\ra=2\r"},
        {"\xFF\xFE\x01 odd\r\n[s]\r\n\x7F?\r\na=1\r\n;c\r\n", "s", "a", "2",
         "\xFF\xFE\x01 odd\r\n[s]\r\n\x7F?\r\na=2\r\n;c\r\n"},
        {"[s]\r\na=1\r\n[s]\r\nb=2\r\n", "s", "b", "3", "[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"},
        {"k=0\r\n; top", "s", "k", "v", "k=0\r\n; top\r\n[s]\r\nk=v\r\n"},
        {"[s]\r\nk=v\r\n", "s", "k", "v", "[s]\r\nk=v\r\n"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "write" + std::to_string(n++) + ".ini";
        if (c.before)
            put(native(name), *c.before);
        iniWrite(at(name), G(c.section), G(c.key), G(c.value));
        EXPECT_EQ(get(native(name)), c.after) << c.before.value_or("(no file)");
        EXPECT_EQ(iniRead(at(name), G(c.section), G(c.key)), G(c.value)) << c.after;
    }
}

// The cached parse after many edits must read exactly like the file parsed afresh, also when a
// key or value holds characters that change how its line reads back.
TEST_F(IniFileTest, EditedCacheReadsLikeTheFileReadAfresh) {
    const ByteText file = at("series.ini");
    put(native("series.ini"), "; head\r\n[a]\r\nx=1\r\n\r\n[b]\r\ny=2");
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {
        {"a", "x", "10"},
        {"b", "z", "3"},
        {"c", "x", "4"},
        {"A", "new", "5"},
        {"b", "Y", "6"},
        {"a", "k=j", "7"},
        {"c", "w", "8\r\n[d]\r\nq=9"},
        {"d", "r", "11"},
        {"e", "[f", "12"},
        {"f", "g", "13"},
        {"a", ";h", "14"},
    };
    std::vector<std::pair<ByteText, ByteText>> probes;
    for (const auto& w : writes) {
        iniWrite(file, G(w.section), G(w.key), G(w.value));
        probes.emplace_back(G(w.section), G(w.key));
    }
    for (const char* extra : {"x", "y", "z", "q", "k", "r", "new", "[f", ";h", "g", "w"})
        for (const char* section : {"a", "b", "c", "d", "e", "f"})
            probes.emplace_back(G(section), G(extra));

    std::vector<ByteText> cached;
    for (const auto& [section, key] : probes)
        cached.push_back(iniRead(file, section, key, G("-")));
    touch(native("series.ini"));
    for (size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(iniRead(file, probes[i].first, probes[i].second, G("-")), cached[i])
            << "[" << probes[i].first.str() << "] " << probes[i].second.str();
    EXPECT_EQ(iniRead(file, G("d"), G("q")), G("9"));
    EXPECT_EQ(iniRead(file, G("a"), G("x")), G("10"));
    EXPECT_EQ(iniRead(file, G("b"), G("y")), G("6"));
}

TEST_F(IniFileTest, CacheNoticesOutsideChanges) {
    const ByteText file = at("index.ini");
    const std::string path = native("index.ini");
    iniWrite(file, G("s"), G("a"), G("1"));
    ASSERT_EQ(iniRead(file, G("s"), G("a")), G("1"));

    put(native("other"), "[s]\r\na=2\r\n");  // replaced: same size, another inode
    fs::rename(native("other"), path);
    EXPECT_EQ(iniRead(file, G("s"), G("a")), G("2"));

    rewriteInPlace(path, "[s]\r\na=3\r\n");
    EXPECT_EQ(iniRead(file, G("s"), G("a")), G("3"));

    put(path, "[s]\r\na=3\r\noutside=4\r\n");
    iniWrite(file, G("s"), G("b"), G("5"));
    EXPECT_EQ(get(path), "[s]\r\na=3\r\noutside=4\r\nb=5\r\n");

    fs::remove(path);
    EXPECT_EQ(iniRead(file, G("s"), G("a"), G("gone")), G("gone"));
    iniWrite(file, G("t"), G("c"), G("6"));
    EXPECT_EQ(get(path), "[t]\r\nc=6\r\n");
}

TEST_F(IniFileTest, RenameFailureKeepsTheOldIndex) {
    const ByteText file = at("index.ini");
    iniWrite(file, G("小说"), G("甲"), G("old"));
    const std::string before = get(native("index.ini"));

    testing::setRenameFailure(true);
    iniWrite(file, G("小说"), G("甲"), G("new"));
    iniWrite(file, G("小说"), G("乙"), G("added"));
    iniWrite(at("fresh.ini"), G("s"), G("k"), G("v"));
    testing::setRenameFailure(false);

    EXPECT_EQ(get(native("index.ini")), before);
    EXPECT_EQ(entries(), std::set<std::string>{"index.ini"});
    EXPECT_EQ(iniRead(file, G("小说"), G("甲")), G("old"));
    EXPECT_EQ(iniRead(file, G("小说"), G("乙")), ByteText());

    iniWrite(file, G("小说"), G("丙"), G("later"));
    EXPECT_EQ(get(native("index.ini")), before + gbk("丙=later\r\n").str());
}

TEST_F(IniFileTest, NovelRecordAndLibraryIndexFormats) {
    const LibraryLayout layout(gbk(dir_));
    const ByteText category = G("玄幻小说");
    for (const char* sub : {"小说", "小说/ini", "小说/ini/完本", "小说/ini/完本/玄幻小说"})
        ASSERT_TRUE(createDirectory(at(sub)));
    const ByteText title = G("乗风破浪");
    const ByteText record = layout.novelRecord(CategoryKind::finished, category, title);
    iniWrite(record, title, LibraryLayout::authorKey(), G("某作者"));
    EXPECT_EQ(readFile(record), (G("[") + title + G("]\r\n作者=某作者\r\n")).str());

    const ByteText index = layout.libraryIndex();
    const ByteText first = layout.archive(CategoryKind::finished, category, title);
    const ByteText later = layout.archive(CategoryKind::ongoing, G("都市小说"), title);
    iniWrite(index, LibraryLayout::indexSection(), title, first);
    iniWrite(index, LibraryLayout::indexSection(), G("另一本"), first);
    iniWrite(index, LibraryLayout::indexSection(), title, later);
    EXPECT_EQ(
        readFile(index),
        (G("[小说]\r\n") + title + G("=") + later + G("\r\n另一本=") + first + G("\r\n")).str());
    EXPECT_EQ(iniRead(index, LibraryLayout::indexSection(), title), later);
}

// Recording a title must not parse the index again: apart from rewriting the file, the
// 10,000th record costs what the first did. Reads show it without the write's cost.
TEST_F(IniFileTest, RecordingTheTenThousandthTitleDoesNotParseTheIndexAgain) {
    using Clock = std::chrono::steady_clock;
    const auto micros = [](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count();
    };
    const ByteText index = at("小说.ini");
    const ByteText section = G("小说");
    const auto title = [](int i) { return G("斗破苍穹第") + toText(i) + G("部"); };
    const auto archive = [&](int i) { return at("小说/完本/玄幻小说/") + title(i) + G(".rar"); };
    constexpr int kTitles = 10000;
    constexpr int kTail = 100;

    Clock::duration firstWrite{}, tailWrites{};
    for (int i = 0; i < kTitles; ++i) {
        const auto start = Clock::now();
        iniWrite(index, section, title(i), archive(i));
        const auto spent = Clock::now() - start;
        if (i == 0)
            firstWrite = spent;
        if (i >= kTitles - kTail)
            tailWrites += spent;
    }
    ASSERT_EQ(iniRead(index, section, title(kTitles - 1)), archive(kTitles - 1));

    constexpr int kReads = 200;
    auto start = Clock::now();
    for (int i = 0; i < kReads; ++i)
        iniRead(index, section, title(i * 37 % kTitles));
    const double cachedRead = micros(Clock::now() - start) / kReads;

    constexpr int kReparses = 5;
    Clock::duration reparses{};
    for (int i = 0; i < kReparses; ++i) {
        touch(native("小说.ini"));
        start = Clock::now();
        EXPECT_EQ(iniRead(index, section, title(i)), archive(i));
        reparses += Clock::now() - start;
    }
    const double reparseRead = micros(reparses) / kReparses;

    std::printf(
        "index of %d titles, %d bytes: first write %.0f us, %dth write %.0f us; "
        "cached read %.1f us, read after an outside change %.0f us\n",
        kTitles, fileSize(index), micros(firstWrite), kTitles, micros(tailWrites) / kTail,
        cachedRead, reparseRead);
    // A generous bound: a read that parsed the index would cost as much as a reparse.
    EXPECT_LT(cachedRead * 10, reparseRead);
}

}  // namespace
}  // namespace lumora
