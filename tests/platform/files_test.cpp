#include "platform/files.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "tests/support/temporary_directory.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards; paths into it are native UTF-8 or GBK.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    void TearDown() override { testing::setRenameFailure(false); }

    std::string native(std::string_view relative) const { return temporary_.native(relative); }
    ByteText at(std::string_view utf8Relative) const { return temporary_.at(utf8Relative); }
    // A GBK path whose last part is given as raw bytes.
    ByteText atBytes(std::string_view rawRelative) const {
        return gbk(dir_ + "/") + ByteText(rawRelative);
    }

    static void put(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Every path below the directory, relative to it.
    std::set<std::string> tree(const std::string& root) const {
        std::set<std::string> paths;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            paths.insert(entry.path().lexically_relative(root).string());
        return paths;
    }

    fixture::TemporaryDirectory temporary_;
    const std::string& dir_ = temporary_.path();
};

TEST(NativePath, DecodesSafePathsAndRefusesUnsafeNames) {
    const char* accepted[] = {"缓存",
                              "/run/小说/完本/玄幻小说/斗破苍穹.rar",
                              "dir/乗风.rar",
                              "a//b",
                              "/",
                              "...",
                              "a.b.c",
                              "COM0",
                              "CONSOLE",
                              "辛亥1911/x"};
    for (const char* path : accepted)
        EXPECT_EQ(nativePath(gbk(path)), path) << path;

    const char* refused[] = {"",          "a/./b",  "a/../b",  "..",      "./x",    "a\\b",
                             "..\\..\\x", "a<b",    "a>b",     "C:",      "a\"b",   "a|b",
                             "a?b",       "a*b",    "dir/CON", "nul.txt", "d/com1", "LPT9.log",
                             "con .txt",  "x\x01y", "tab\tx",  "x\x7Fy"};
    for (const char* path : refused)
        EXPECT_EQ(nativePath(gbk(path)), std::nullopt) << path;
    EXPECT_EQ(nativePath(ByteText("dir/\xFF\xFF")), std::nullopt);  // not GBK
}

TEST_F(FilesTest, SizeAndExistence) {
    put(native("empty"), "");
    put(native("five"), "12345");
    fs::create_directory(native("dir"));
    struct Case {
        ByteText path;
        int size;
        bool exists;
    };
    const Case cases[] = {
        {at("missing"), -1, false}, {at("missing/deeper"), -1, false},
        {at("empty"), 0, true},     {at("five"), 5, true},
        {at("dir"), 0, true},       {atBytes("\xFF\xFF"), -1, false},
        {ByteText(), -1, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileSize(c.path), c.size) << c.path.str();
        EXPECT_EQ(fileExists(c.path), c.exists) << c.path.str();
    }
}

TEST_F(FilesTest, WriteReplacesTheWholeContentWithAnyBytes) {
    const ByteText path = at("file");
    ASSERT_TRUE(writeFile(path, ByteData()));
    EXPECT_EQ(fileSize(path), 0);
    EXPECT_TRUE(fileExists(path));

    const ByteData binary("a\0b\xFF\r\n", 6);
    ASSERT_TRUE(writeFile(path, "a much longer first content"));
    ASSERT_TRUE(writeFile(path, binary));
    EXPECT_EQ(readFile(path), binary);
    EXPECT_EQ(fileSize(path), 6);

    ASSERT_TRUE(writeFile(path, ByteData()));
    EXPECT_EQ(fileSize(path), 0);
    EXPECT_EQ(readFile(path), ByteData());
    EXPECT_EQ(tree(dir_), std::set<std::string>{"file"});  // no temporary file stays
}

TEST_F(FilesTest, FailedWritesLeaveNoFile) {
    fs::create_directory(native("dir"));
    const ByteText cases[] = {ByteText(),          at("missing/file"), at("dir"),
                              atBytes("\xFF\xFF"), at("a?b"),          at("dir/")};
    for (const ByteText& path : cases) {
        EXPECT_FALSE(writeFile(path, "data")) << path.str();
        EXPECT_EQ(readFile(path), ByteData()) << path.str();
    }
    EXPECT_EQ(tree(dir_), std::set<std::string>{"dir"});
}

TEST_F(FilesTest, ReplacedFileKeepsItsPermissionsAndNewFileFollowsTheUmask) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeFile(at("new"), "x"));
    EXPECT_EQ(fs::status(native("new")).permissions(), fs::perms(0666 & ~mask));

    put(native("program"), "old");
    fs::permissions(native("program"), fs::perms(0755));
    ASSERT_TRUE(writeFile(at("program"), "new build"));
    EXPECT_EQ(fs::status(native("program")).permissions(), fs::perms(0755));
}

TEST_F(FilesTest, RenameFailureLeavesTheOldFileAndNoTemporary) {
    put(native("index"), "old content");
    testing::setRenameFailure(true);
    EXPECT_FALSE(writeFile(at("index"), "new"));
    EXPECT_FALSE(writeFile(at("fresh"), "new"));
    testing::setRenameFailure(false);
    EXPECT_EQ(get(native("index")), "old content");
    EXPECT_EQ(tree(dir_), std::set<std::string>{"index"});
}

TEST_F(FilesTest, TitleWithTrailByte5CKeepsItsExactName) {
    const ByteText name = gbk("乗风破浪.rar");
    ASSERT_NE(name.str().find('\x5C'), std::string::npos);
    const ByteText path = gbk(dir_ + "/") + name;
    ASSERT_TRUE(writeFile(path, "archive"));
    EXPECT_EQ(tree(dir_), std::set<std::string>{"乗风破浪.rar"});
    EXPECT_EQ(readFile(path), "archive");
    EXPECT_EQ(fileSize(path), 7);
    EXPECT_EQ(listFiles(gbk(dir_), ByteText("*.rar")), std::vector<ByteText>{name});
}

TEST_F(FilesTest, TitlesThatLeaveTheirDirectoryWriteNothing) {
    fs::create_directories(native("run/sub"));
    const auto before = tree(dir_);
    const char* titles[] = {"..\\..\\x", "a/b",   "../x", "..", "x/../../y",
                            "/../../z",  "..\\x", "CON",  "a:b"};
    for (const char* title : titles) {
        const ByteText path = at("run/sub/") + gbk(title);
        EXPECT_FALSE(writeFile(path, "escaped")) << title;
        EXPECT_EQ(fileSize(path), -1) << title;
        EXPECT_EQ(readFile(path), ByteData()) << title;
        EXPECT_FALSE(createDirectory(path)) << title;
    }
    EXPECT_EQ(tree(dir_), before);
}

TEST_F(FilesTest, CreateDirectoryMakesOnlyTheLastLevel) {
    EXPECT_TRUE(createDirectory(at("小说")));
    EXPECT_FALSE(createDirectory(at("小说")));     // exists
    EXPECT_FALSE(createDirectory(at("缺/完本")));  // parent missing
    EXPECT_TRUE(createDirectory(at("小说/完本")));
    EXPECT_EQ(tree(dir_), (std::set<std::string>{"小说", "小说/完本"}));

    // A relative path is relative to the current directory.
    const fs::path previous = fs::current_path();
    fs::current_path(dir_);
    const bool created = createDirectory(gbk("缓存"));
    const bool written = writeFile(gbk("缓存/1.html"), "page");
    fs::current_path(previous);
    EXPECT_TRUE(created);
    EXPECT_TRUE(written);
    EXPECT_EQ(get(native("缓存/1.html")), "page");
}

// Runs deleteDirectory on roots inside a chroot jail, so that a fault cannot reach the real
// root. The child's exit code: 0 all refused and the jail intact, 1 a deletion was accepted,
// 2 the jail lost content, 77 no jail could be entered.
int deleteRootsInJail(const std::string& jail) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() != 0) {
            const uid_t uid = ::geteuid();
            const gid_t gid = ::getegid();
            if (::unshare(CLONE_NEWUSER) != 0)
                ::_exit(77);
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        }
        if (::chroot(jail.c_str()) != 0 || ::chdir("/") != 0)
            ::_exit(77);
        for (const char* root : {"/", "  /", "//"})
            if (deleteDirectory(ByteText(root)))
                ::_exit(1);
        ::_exit(fs::exists("/canary") && fs::exists("/sub/file") ? 0 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(FilesTest, DeleteDirectoryRefusesEmptyPathsAndRoots) {
    put(native("file"), "x");
    fs::create_directory(native("target"));
    fs::create_directory_symlink(native("target"), native("link"));
    const ByteText refused[] = {ByteText(),     ByteText("   "), ByteText("C:\\"),
                                ByteText("c:"), ByteText("C:/"), at("missing"),
                                at("file"),     at("link"),      at("nested/..")};
    for (const ByteText& path : refused)
        EXPECT_FALSE(deleteDirectory(path)) << path.str();
    EXPECT_EQ(tree(dir_), (std::set<std::string>{"file", "target", "link"}));

    fs::create_directories(native("jail/sub"));
    put(native("jail/canary"), "x");
    put(native("jail/sub/file"), "x");
    const int jailed = deleteRootsInJail(native("jail"));
    if (jailed == 77)
        GTEST_SKIP() << "no chroot jail for the root case";
    EXPECT_EQ(jailed, 0);
}

TEST_F(FilesTest, DeleteDirectoryRemovesTheTreeButNeverFollowsLinks) {
    fs::create_directories(native("outside/inner"));
    put(native("outside/inner/keep"), "x");
    fs::create_directories(native("d/sub/deeper"));
    put(native("d/a.txt"), "x");
    put(native("d/sub/deeper/c"), "x");
    fs::create_directory_symlink(native("outside"), native("d/sub/dirlink"));
    fs::create_symlink(native("outside/inner/keep"), native("d/filelink"));

    EXPECT_TRUE(deleteDirectory(ByteText("  ") + at("d")));  // leading spaces are ignored
    EXPECT_EQ(tree(dir_),
              (std::set<std::string>{"outside", "outside/inner", "outside/inner/keep"}));
}

TEST_F(FilesTest, DeleteDirectoryKeepsDotEntriesAndTheDirectoriesHoldingThem) {
    fs::create_directories(native("d/plain/deeper"));
    fs::create_directories(native("d/keep/.git"));
    put(native("d/a.txt"), "x");
    put(native("d/.hidden"), "x");
    put(native("d/plain/deeper/b"), "x");
    put(native("d/keep/.git/config"), "x");
    put(native("d/keep/y"), "x");

    EXPECT_FALSE(deleteDirectory(at("d")));
    EXPECT_EQ(tree(dir_), (std::set<std::string>{"d", "d/.hidden", "d/keep", "d/keep/.git",
                                                 "d/keep/.git/config"}));
}

TEST_F(FilesTest, ListFilesMatchesPatternsInListingOrder) {
    for (const char* name : {"甲.rar", "乙.RAR", "丙.rar.tmp", "ab.txt", "a1.txt", "b.txt",
                             "\xF0\x9F\x98\x80.rar"})  // an emoji has no GBK name
        put(native(name), "x");
    fs::create_directory(native("目录.rar"));  // directories are not listed

    struct Case {
        const char* pattern;
        std::set<std::string> names;
    };
    const Case cases[] = {
        {"*.rar", {"甲.rar", "乙.RAR"}},
        {"a?.txt", {"ab.txt", "a1.txt"}},
        {"?.txt", {"b.txt"}},
        {"甲*", {"甲.rar"}},
        {"*.r*", {"甲.rar", "乙.RAR", "丙.rar.tmp"}},
        {"*r*.*", {"丙.rar.tmp"}},
        {"*", {"甲.rar", "乙.RAR", "丙.rar.tmp", "ab.txt", "a1.txt", "b.txt"}},
        {"*.jpg", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<ByteText> expected;  // the native listing's order, filtered
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (c.names.contains(name))
                expected.push_back(gbk(name));
        }
        EXPECT_EQ(listFiles(gbk(dir_), gbk(c.pattern)), expected) << c.pattern;
    }
    EXPECT_TRUE(listFiles(at("missing"), ByteText("*")).empty());
}

}  // namespace
}  // namespace lumora
