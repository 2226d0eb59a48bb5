// Files replaced on Windows: Chinese names, a file another program holds open, a read-only file,
// devices, and the system's reasons as the user reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/file_replacement.h"
#include "platform/system_reason.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

namespace fs = std::filesystem;

class WindowsFileReplacement : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  fs::u8path(
                      "hcurve-平台-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string path(const std::string& name) const {
        return (folder_ / fs::u8path(name)).u8string();
    }
    static std::string read(const std::string& p) {
        std::ifstream in(fs::u8path(p), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(fs::u8path(p), std::ios::binary) << bytes;
    }
    static int replace(const std::string& target, const std::string& bytes) {
        FileReplacement file;
        if (int error = file.open(target))
            return error;
        if (int error = file.write(bytes))
            return error;
        return file.commit();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder_))
            out.push_back(entry.path().filename().u8string());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path folder_;
};

TEST_F(WindowsFileReplacement, ChineseNamesAndBytesAsTheyAre) {
    fs::create_directory(folder_ / fs::u8path("成果"));
    const std::string target = path("成果/中桩坐标.csv");
    const std::string bytes = "点名,X\nK12+300.000,3456837.445\r\n";
    ASSERT_EQ(replace(target, "old, and longer than the new"), 0);
    ASSERT_EQ(replace(target, bytes), 0);
    EXPECT_EQ(read(target), bytes);
    const std::string large(300000, 'x');
    ASSERT_EQ(replace(target, large), 0);
    EXPECT_EQ(read(target), large);
    EXPECT_EQ(fs::directory_entry(folder_ / fs::u8path("成果")).exists(), true);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / fs::u8path("成果")),
                            fs::directory_iterator()),
              1);
}

// Another program holding the file open without letting others write (a spreadsheet) or delete
// it: the replacement is refused with words the user understands, the old file is intact and no
// temporary file is left.
TEST_F(WindowsFileReplacement, AFileHeldOpenIsKept) {
    const DWORD shares[] = {FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
    for (const DWORD share : shares) {
        const std::string target = path("打开的.csv");
        put(target, "old");
        const HANDLE held = ::CreateFileW(wideText(target).c_str(), GENERIC_READ, share, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const int error = replace(target, "new");
        ::CloseHandle(held);
        EXPECT_EQ(error, EBUSY) << share;
        EXPECT_EQ(systemReason(error), "文件正被另一个程序使用");
        EXPECT_EQ(read(target), "old");
        EXPECT_EQ(names(), std::vector<std::string>{"打开的.csv"});
    }
}

TEST_F(WindowsFileReplacement, AReadOnlyFileIsKept) {
    const std::string target = path("只读.csv");
    put(target, "old");
    ASSERT_TRUE(::SetFileAttributesW(wideText(target).c_str(), FILE_ATTRIBUTE_READONLY));
    const int error = replace(target, "new");
    EXPECT_EQ(systemReason(error), "没有权限");
    EXPECT_EQ(read(target), "old");
    EXPECT_TRUE(::GetFileAttributesW(wideText(target).c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(names(), std::vector<std::string>{"只读.csv"});
    ::SetFileAttributesW(wideText(target).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindowsFileReplacement, FailuresLeaveNothingBehind) {
    fs::create_directory(folder_ / "folder.csv");
    const struct {
        std::string target, reason;
    } cases[] = {
        {path("没有/stakes.csv"), "没有这个文件或文件夹"},
        {path("folder.csv"), "这是一个文件夹"},
        {path("folder.csv") + "\\", "这是一个文件夹"},
        {path("folder.csv") + "/", "这是一个文件夹"},
        {path("a?b.csv"), "文件名不合法（不能含有 \\ / : * ? \" < > |）"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(systemReason(replace(c.target, "x")), c.reason) << c.target;
    EXPECT_EQ(names(), std::vector<std::string>{"folder.csv"});
}

// One file under another name and through a hard link made by the system; a copy is another file.
TEST_F(WindowsFileReplacement, OneFileUnderEveryName) {
    fs::create_directory(folder_ / fs::u8path("成果"));
    put(path("路线.csv"), "route");
    put(path("副本.csv"), "route");
    ASSERT_TRUE(::CreateHardLinkW(wideText(path("硬链接.csv")).c_str(),
                                  wideText(path("路线.csv")).c_str(), nullptr));
    for (const std::string& name : {path("路线.csv"), path("成果/../路线.csv"),
                                    path("成果\\..\\路线.csv"), path("硬链接.csv")})
        EXPECT_TRUE(sameFile(name, path("路线.csv"))) << name;
    for (const std::string& name : {path("副本.csv"), path("没有.csv"), path("成果")})
        EXPECT_FALSE(sameFile(name, path("路线.csv"))) << name;
    // A pipe is never opened to be compared: its one instance stays for the writer.
    const std::wstring pipe = L"\\\\.\\pipe\\hcurve-same-file";
    const HANDLE server =
        ::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(sameFile(utf8Text(pipe), path("路线.csv")));
    const HANDLE client =
        ::CreateFileW(pipe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(client, INVALID_HANDLE_VALUE) << ::GetLastError();
    if (client != INVALID_HANDLE_VALUE)
        ::CloseHandle(client);
    ::CloseHandle(server);
}

// A device takes the bytes itself and is never replaced by a file.
TEST_F(WindowsFileReplacement, TheNullDeviceIsWrittenInto) {
    EXPECT_EQ(replace("NUL", "discarded"), 0);
    EXPECT_FALSE(fs::is_regular_file("NUL"));
}

TEST(WindowsSystemReason, TheCommonCodesInChinese) {
    const struct {
        DWORD code;
        std::string reason;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "没有这个文件或文件夹"},
        {ERROR_PATH_NOT_FOUND, "没有这个文件或文件夹"},
        {ERROR_ACCESS_DENIED, "没有权限"},
        {ERROR_WRITE_PROTECT, "文件系统是只读的"},
        {ERROR_DISK_FULL, "磁盘已满"},
        {ERROR_FILENAME_EXCED_RANGE, "文件名太长"},
        {ERROR_ALREADY_EXISTS, "文件已存在"},
        {ERROR_NO_DATA, "接收的一方已关闭"},
        {ERROR_INVALID_HANDLE, "没有打开"},
        {ERROR_SHARING_VIOLATION, "文件正被另一个程序使用"},
        {ERROR_LOCK_VIOLATION, "文件正被另一个程序使用"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(systemReason(errorFromWindows(c.code)), c.reason) << c.code;
    // Any other code in the system's own words, never an empty reason.
    const std::string other = systemReason(errorFromWindows(ERROR_CRC));
    EXPECT_EQ(other.rfind("系统错误（", 0), 0u) << other;
    EXPECT_GT(other.size(), std::string("系统错误（）").size());
}

}  // namespace
}  // namespace hcurve::platform
