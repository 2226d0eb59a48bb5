// The standard streams on Windows handles: bytes exactly as written, a reader that left is told,
// a writer that left is the end of the input.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <istream>
#include <ostream>
#include <string>

#include "platform/standard_streams.h"

namespace hcurve::platform {
namespace {

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        HANDLE r, w;
        if (::CreatePipe(&r, &w, nullptr, 0)) {
            read = ::_open_osfhandle(reinterpret_cast<intptr_t>(r), _O_RDONLY | _O_BINARY);
            write = ::_open_osfhandle(reinterpret_cast<intptr_t>(w), _O_WRONLY | _O_BINARY);
        }
    }
};

TEST(WindowsStandardStreams, LineEndsPassAsTheyAre) {
    Pipe pipe;
    ASSERT_GE(pipe.read, 0);
    {
        OutputDescriptorBuffer buffer(pipe.write);
        std::ostream out(&buffer);
        out << "? 交点号\nText14\t k 12+168.835\n" << std::flush;
        EXPECT_TRUE(out.good());
    }
    ::_close(pipe.write);
    InputDescriptorBuffer buffer(pipe.read);
    std::istream in(&buffer);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, "? 交点号\nText14\t k 12+168.835\n");  // and then the end, no error
    ::_close(pipe.read);
}

TEST(WindowsStandardStreams, AReaderThatLeftFailsTheFlush) {
    Pipe pipe;
    ASSERT_GE(pipe.read, 0);
    ::_close(pipe.read);
    OutputDescriptorBuffer buffer(pipe.write);
    std::ostream out(&buffer);
    out << "line\n" << std::flush;
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(buffer.error(), EPIPE);
    ::_close(pipe.write);
}

}  // namespace
}  // namespace hcurve::platform
