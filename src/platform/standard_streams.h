// The process's standard input and output as stream buffers on the descriptors themselves: no
// second layer of buffering, every system error kept, and a closed descriptor told apart from an
// empty one.
#pragma once

#include <streambuf>
#include <vector>

namespace hcurve::platform {

/// Reads a descriptor through a buffer of its own. A read that fails throws std::system_error
/// with the system's error, so that a failure is never taken for the end of the input.
class InputDescriptorBuffer : public std::streambuf {
  public:
    explicit InputDescriptorBuffer(int fd);

  protected:
    int_type underflow() override;

  private:
    int fd_;
    std::vector<char> buffer_;
};

/// Writes a descriptor through a buffer of its own, which goes to the system when it is full and
/// on sync (flush). After the first failed write nothing more is written, and every later write
/// and sync fails too; error() tells why.
class OutputDescriptorBuffer : public std::streambuf {
  public:
    explicit OutputDescriptorBuffer(int fd);
    ~OutputDescriptorBuffer() override;
    /// 0, or the errno of the first failed write.
    int error() const { return error_; }
    /// Makes every write fail with the error given (a descriptor found closed).
    void fail(int error) { error_ = error; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    bool drain();

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

/// Makes sure descriptors 0, 1 and 2 are open (on /dev/null where one was closed), so that no file
/// the program opens later takes the place of a standard stream. Returns, per descriptor, whether
/// it was closed: bit 0 for standard input, bit 1 for output, bit 2 for errors.
int guardStandardDescriptors();

}  // namespace hcurve::platform
