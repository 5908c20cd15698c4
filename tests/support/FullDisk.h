#pragma once
// Real full-disk conditions for tests of whole-file writes.
//
//   FileSizeLimit   while it lives, no regular file this process writes can
//                   grow past `bytes` (RLIMIT_FSIZE).  SIGXFSZ is ignored,
//                   so a write past the limit fails (EFBIG) the way a
//                   write to a full disk fails (ENOSPC) instead of ending
//                   the process.  The old limit comes back at its end.
//   SmallDisk       a tmpfs of a few pages mounted on a temporary folder
//                   (root only; unmounted at its end); fill() takes up what
//                   is left, so the next write fails with ENOSPC.
//
// Each reports active() false when it cannot be set up; the test then
// skips that case.

#include <QString>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace zq::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit old_{};
    bool active_ = false;
};

class SmallDisk {
public:
    explicit SmallDisk(int kibibytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool active() const { return mounted_; }
    QString path() const { return dir_.path(); }
    // Writes a filler file until the disk is full, then frees `leaveBytes`
    // of it again (rounded to whole pages by the file system).
    void fill(qint64 leaveBytes = 0);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace zq::test
