// Files replaced only by complete new ones: the new content goes into a temporary file beside the
// file it replaces, is put on the disk, and only then is renamed over it. A reader sees the old
// file or the new one, never half of one, and a crash or a full disk leaves the old one intact.
// A file is replaced only where the user could have written it in place. A pipe (FIFO) or a
// character device (/dev/null, a terminal) is never replaced: the complete content is written
// into it.
#pragma once

#include <string>
#include <string_view>

namespace hcurve::platform {

/// Creates a new, empty file at path for reading and writing, exclusively: it fails with EEXIST
/// when anything already has that name, a symbolic link (even a dangling one) included, so nothing
/// is ever written through a link planted there. Returns the descriptor, or -1 with errno set.
int createExclusive(const std::string& path, int permissions = 0600);

/// The path of the file a path names once its symbolic links are followed (a link's relative
/// target is taken from the link's folder); the path itself when it is no link.
std::string followLinks(const std::string& path);

/// Whether two paths lead to one file, their links followed: the same device and inode (on
/// Windows the same volume and file index), so that another name for it, a symbolic link to it, a
/// path through a linked folder and a hard link all count. False when either leads to nothing,
/// and on Windows for a name in the device namespace (\\.\pipe\...), which is never opened here.
bool sameFile(const std::string& a, const std::string& b);

class FileReplacement {
  public:
    /// What may stand at the target: a file to replace (through a symbolic link), or nothing at
    /// all, for a file that must be new.
    enum class Target { Replace, New };

    FileReplacement() = default;
    /// A replacement that was not committed is removed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Creates the temporary file, with a fresh random name, in the folder of the file that the
    /// target names: a target that is a symbolic link is replaced through it, and the link stays.
    /// A target that is (or links to) a pipe or a character device keeps its temporary file in the
    /// system's temporary folder, and commit() writes the content into the target.
    /// 0, or the errno of the failure: EISDIR when the target is a folder or ends in a separator,
    /// EACCES (or EROFS) when the user may not write the existing target, ENOTSUP when it is
    /// something else that is no regular file (a block device, a socket), ELOOP when its symbolic
    /// links go round in a loop (the link is kept, never replaced by a file).
    /// For a New target the path is taken as it is, links and all, and commit() fails with EEXIST
    /// when anything has taken the name by then.
    int open(const std::string& target, Target kind = Target::Replace);

    /// The temporary file, for writers that can only open files by name; commit() checks that the
    /// name still leads to the file open() made.
    const std::string& temporaryPath() const { return temporary_; }

    /// Appends bytes, through a buffer. 0, or the errno of the first failed write; after a
    /// failure nothing more is written and commit() fails with it.
    int write(std::string_view bytes);

    /// Writes what is buffered, gives the file the owner and permission bits of the file it
    /// replaces (for a new file those a new file gets under the umask), puts it on the disk and
    /// renames it over the target. 0, or the errno of the failure; then the temporary file is gone
    /// and the target is as it was.
    /// A pipe or character device is opened only now (a pipe waits for its reader) and gets the
    /// content in one pass; a reader that leaves early gives EPIPE, never the signal. What it read
    /// until a failure stays read.
    int commit();

  private:
    int flushBuffer();
    int writeInto();
    void discard();

    Target kind_ = Target::Replace;
    bool direct_ = false;  // target_ is a pipe or character device, written into
    int fd_ = -1;
    int error_ = 0;
    std::string target_;     // with its links followed (as given when direct_)
    std::string temporary_;  // beside target_, or in the temporary folder when direct_
    std::string buffer_;
};

}  // namespace hcurve::platform
