// The standard streams on their descriptors: failures are kept and told, never taken for an end.
#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <istream>
#include <ostream>
#include <system_error>

namespace hcurve::platform {
namespace {

TEST(OutputDescriptorBuffer, AFullDiskFailsTheFlushAndEveryWriteAfter) {
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0)
        GTEST_SKIP() << "no /dev/full";
    OutputDescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    out << "line\n";
    EXPECT_TRUE(out.good());  // still in the buffer
    out.flush();
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(buffer.error(), ENOSPC);
    EXPECT_EQ(buffer.sputn("more", 4), 0);
    ::close(fd);
}

TEST(InputDescriptorBuffer, AReadErrorIsThrownNotTakenForTheEnd) {
    const int fd = ::open("/", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    InputDescriptorBuffer buffer(fd);
    try {
        buffer.sgetc();
        ADD_FAILURE() << "no error";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().value(), EISDIR);
    }
    ::close(fd);
}

}  // namespace
}  // namespace hcurve::platform
