// POSIX realisation of the standard streams.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/standard_streams.h"

namespace hcurve::platform {
namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

InputDescriptorBuffer::InputDescriptorBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

InputDescriptorBuffer::int_type InputDescriptorBuffer::underflow() {
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        throw std::system_error(errno, std::generic_category());
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

OutputDescriptorBuffer::OutputDescriptorBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

OutputDescriptorBuffer::~OutputDescriptorBuffer() {
    drain();
}

bool OutputDescriptorBuffer::drain() {
    const char* data = pbase();
    std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    while (error_ == 0 && size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno != EINTR)
                error_ = errno;
            continue;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return error_ == 0;
}

OutputDescriptorBuffer::int_type OutputDescriptorBuffer::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize OutputDescriptorBuffer::xsputn(const char* s, std::streamsize n) {
    std::streamsize done = 0;
    while (done < n) {
        if (error_ != 0)
            return done;
        const std::streamsize room = epptr() - pptr();
        if (room == 0) {
            if (!drain())
                return done;
            continue;
        }
        const std::streamsize chunk = std::min(room, n - done);
        std::memcpy(pptr(), s + done, static_cast<std::size_t>(chunk));
        pbump(static_cast<int>(chunk));
        done += chunk;
    }
    return done;
}

int OutputDescriptorBuffer::sync() {
    return drain() ? 0 : -1;
}

int guardStandardDescriptors() {
    int closed = 0;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        closed |= 1 << fd;
        const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
    return closed;
}

}  // namespace hcurve::platform
