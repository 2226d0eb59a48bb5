// Files replaced only by complete new ones: permissions, links, planted names, failures.
#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <vector>

#include "platform/system_reason.h"

namespace hcurve::platform {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("hcurve-platform-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "other");
        oldMask_ = ::umask(022);
    }
    void TearDown() override {
        ::umask(oldMask_);
        fs::remove_all(folder_);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static int replace(const std::string& target, const std::string& bytes) {
        FileReplacement file;
        if (int error = file.open(target))
            return error;
        if (int error = file.write(bytes))
            return error;
        return file.commit();
    }
    static unsigned permissions(const std::string& p) {
        struct stat info;
        return ::stat(p.c_str(), &info) == 0 ? info.st_mode & 07777 : 01000000;
    }
    // Every name in the folder (hidden ones too), sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path folder_;
    mode_t oldMask_ = 022;
};

TEST_F(FileReplacementTest, NewAndReplacedFilesGetTheirPermissions) {
    // A new file: what the umask leaves of 0666, even through the 0600 temporary file.
    ASSERT_EQ(replace(path("new.csv"), "one"), 0);
    EXPECT_EQ(read(path("new.csv")), "one");
    EXPECT_EQ(permissions(path("new.csv")), 0644u);
    // A private file stays private.
    put(path("private.csv"), "old contents, longer");
    ::chmod(path("private.csv").c_str(), 0600);
    ASSERT_EQ(replace(path("private.csv"), "two"), 0);
    EXPECT_EQ(read(path("private.csv")), "two");
    EXPECT_EQ(permissions(path("private.csv")), 0600u);
    // Large content goes through the buffer in several writes.
    const std::string large(300000, 'x');
    ASSERT_EQ(replace(path("new.csv"), large), 0);
    EXPECT_EQ(read(path("new.csv")), large);
    EXPECT_EQ(names(), (std::vector<std::string>{"new.csv", "other", "private.csv"}));
}

TEST_F(FileReplacementTest, ALinkIsWrittenThroughAndStays) {
    const struct {
        std::string link, pointsTo, file;  // file: where the content must land
        bool fileExists;
    } cases[] = {
        {"abs.csv", path("other/real.csv"), path("other/real.csv"), true},
        {"rel.csv", "other/rel-real.csv", path("other/rel-real.csv"), true},
        {"dangling.csv", "other/not-yet.csv", path("other/not-yet.csv"), false},
        {"chain.csv", "abs.csv", path("other/real.csv"), true},
    };
    for (const auto& c : cases) {
        if (c.fileExists && !fs::exists(c.file)) {
            put(c.file, "old");
            ::chmod(c.file.c_str(), 0640);
        }
        fs::create_symlink(c.pointsTo, path(c.link));
        ASSERT_EQ(replace(path(c.link), "new " + c.link), 0) << c.link;
        EXPECT_TRUE(fs::is_symlink(path(c.link))) << c.link;
        EXPECT_EQ(fs::read_symlink(path(c.link)).string(), c.pointsTo);
        EXPECT_EQ(read(c.file), "new " + c.link);
        EXPECT_EQ(permissions(c.file), c.fileExists ? 0640u : 0644u) << c.link;
    }
    // Nothing left over beside the links or their files.
    EXPECT_EQ(names(), (std::vector<std::string>{"abs.csv", "chain.csv", "dangling.csv", "other",
                                                 "rel.csv"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "other"), fs::directory_iterator()),
              3);
}

// One file however it is named: another path, a symbolic link, a linked folder, a hard link; a copy
// is another file, and a name that leads nowhere is no file at all.
TEST_F(FileReplacementTest, OneFileUnderEveryName) {
    put(path("route.csv"), "route");
    put(path("copy.csv"), "route");
    fs::create_symlink("route.csv", path("link.csv"));
    fs::create_directory_symlink("..", path("other/up"));
    fs::create_hard_link(path("route.csv"), path("hard.csv"));
    fs::create_symlink("loop.csv", path("loop.csv"));
    for (const std::string& name :
         {path("route.csv"), path("./route.csv"), path("link.csv"), path("other/up/route.csv"),
          path("other/../route.csv"), path("hard.csv")})
        EXPECT_TRUE(sameFile(name, path("route.csv"))) << name;
    for (const std::string& name :
         {path("copy.csv"), path("missing.csv"), path("loop.csv"), path("other")})
        EXPECT_FALSE(sameFile(name, path("route.csv"))) << name;
    EXPECT_FALSE(sameFile(path("missing.csv"), path("missing.csv")));
}

// A loop of links is refused as the target and stays the link it is.
TEST_F(FileReplacementTest, ALoopOfLinksIsKept) {
    fs::create_symlink("b.csv", path("a.csv"));
    fs::create_symlink("a.csv", path("b.csv"));
    const int error = replace(path("a.csv"), "new");
    EXPECT_EQ(error, ELOOP);
    EXPECT_EQ(systemReason(error), "符号链接绕成了圈，指不到文件");
    EXPECT_TRUE(fs::is_symlink(path("a.csv")) && fs::is_symlink(path("b.csv")));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.csv", "b.csv", "other"}));
}

TEST_F(FileReplacementTest, APlantedLinkIsNeverWrittenThrough) {
    // A dangling link planted under the name a temporary file would take: creating the file
    // there fails, and nothing appears where the link points.
    fs::create_symlink(path("other/victim"), path(".stakes.csv.planted.tmp"));
    errno = 0;
    EXPECT_EQ(createExclusive(path(".stakes.csv.planted.tmp")), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(fs::exists(path("other/victim")));

    // A writer that opens the temporary file by name finds a link planted in its place: the
    // replacement is refused and the target keeps its contents.
    put(path("stakes.csv"), "kept");
    FileReplacement file;
    ASSERT_EQ(file.open(path("stakes.csv")), 0);
    fs::remove(file.temporaryPath());
    fs::create_symlink(path("other/victim"), file.temporaryPath());
    std::ofstream(file.temporaryPath()) << "planted";
    EXPECT_EQ(file.commit(), EEXIST);
    EXPECT_EQ(read(path("stakes.csv")), "kept");

    // A file that must be new does not take a name a link holds.
    fs::create_symlink(path("other/victim2"), path("report.pdf"));
    FileReplacement report;
    ASSERT_EQ(report.open(path("report.pdf"), FileReplacement::Target::New), 0);
    ASSERT_EQ(report.write("%PDF"), 0);
    EXPECT_EQ(report.commit(), EEXIST);
    EXPECT_FALSE(fs::exists(path("other/victim2")));
    EXPECT_TRUE(fs::is_symlink(path("report.pdf")));
}

TEST_F(FileReplacementTest, FailuresLeaveNothingBehind) {
    fs::create_directory(path("folder.csv"));
    const struct {
        std::string target;
        int error;
    } cases[] = {
        {path("missing/stakes.csv"), ENOENT},
        {path("folder.csv"), EISDIR},
        {path("other") + "/", EISDIR},
        {path(std::string(300, 'n') + ".csv"), ENAMETOOLONG},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replace(c.target, "x"), c.error) << c.target;
    EXPECT_EQ(names(), (std::vector<std::string>{"folder.csv", "other"}));
}

// A pipe or a character device, named or linked to, gets the content written into it and stays what
// it is; a file the user may not write in place is kept; nothing else that is no file is written.
TEST_F(FileReplacementTest, PipesAndDevicesAreWrittenIntoNeverReplaced) {
    ASSERT_EQ(::mkfifo(path("pipe.csv").c_str(), 0600), 0);
    fs::create_symlink(path("pipe.csv"), path("to-pipe.csv"));
    fs::create_symlink("/dev/null", path("to-null.csv"));
    const std::string content(200000, 'p');  // more than a pipe holds at once
    for (const char* name : {"pipe.csv", "to-pipe.csv"}) {
        std::future<std::string> reader =
            std::async(std::launch::async, [this] { return read(path("pipe.csv")); });
        EXPECT_EQ(replace(path(name), content), 0) << name;
        EXPECT_EQ(reader.get(), content) << name;
        EXPECT_TRUE(fs::is_fifo(path("pipe.csv"))) << name;
    }
    EXPECT_EQ(replace(path("to-null.csv"), content), 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(replace("/dev/full", content), ENOSPC);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A reader that leaves early is a failure, not the end of the program.
    std::future<void> leaver = std::async(std::launch::async, [this] {
        const int fd = ::open(path("pipe.csv").c_str(), O_RDONLY);
        char some[16];
        EXPECT_GT(::read(fd, some, sizeof some), 0);
        ::close(fd);
    });
    EXPECT_EQ(replace(path("pipe.csv"), std::string(10000000, 'q')), EPIPE);
    leaver.get();

    // A socket is none of these.
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path("socket.csv").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(replace(path("socket.csv"), "x"), ENOTSUP);
    ::close(sock);
    EXPECT_EQ(systemReason(ENOTSUP), "只能写入普通文件、管道或字符设备");

    // A write-protected file of the user's own (root may write it in place, and does).
    put(path("protected.csv"), "kept");
    ::chmod(path("protected.csv").c_str(), 0444);
    if (::geteuid() != 0) {
        EXPECT_EQ(replace(path("protected.csv"), "new"), EACCES);
        EXPECT_EQ(read(path("protected.csv")), "kept");
        EXPECT_EQ(permissions(path("protected.csv")), 0444u);
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"other", "pipe.csv", "protected.csv", "socket.csv",
                                                 "to-null.csv", "to-pipe.csv"}));
}

// A full quota reads as a full disk; a failure the program has no words for gives the system's.
TEST(SystemReason, InChineseOrWithTheSystemsText) {
    EXPECT_EQ(systemReason(ENOENT), "没有这个文件或文件夹");
    EXPECT_EQ(systemReason(EDQUOT), "磁盘已满");
    EXPECT_EQ(systemReason(EIO), "系统错误（Input/output error）");
}

}  // namespace
}  // namespace hcurve::platform
