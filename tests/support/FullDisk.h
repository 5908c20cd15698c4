#pragma once
// Real full-disk conditions for tests of whole-file writes.
//
//   FileSizeLimit   while it lives, no regular file this process writes can
//                   grow past `bytes` (RLIMIT_FSIZE).  SIGXFSZ is ignored,
//                   so a write past the limit fails (EFBIG) the way a
//                   write to a full disk fails (ENOSPC) instead of ending
//                   the process.  The old limit comes back at its end.
//                   active() is false when it cannot be set.
//   inSmallTmpfs    runs `body` in a child process with a mount namespace
//                   of its own, where a tmpfs of a few pages is mounted on
//                   a temporary folder; the mount goes with the child,
//                   however it ends.  Root only: nullopt when it cannot be
//                   set up here (the test then skips that case).
//   inChildProcess  runs `body` in a child process once `setUp` has held
//                   there; nullopt when it did not (the test then skips).
//   fillDisk        takes up what is left of the file system of `folder`
//                   but `leaveBytes` (rounded to pages by the file system).

#include <QString>
#include <functional>
#include <optional>
#include <string>
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

// `body` returns "" when all held, else what failed; that text is returned
// (a child that did not end normally says so).
std::optional<std::string> inChildProcess(const std::function<bool()>& setUp,
                                          const std::function<std::string()>& body);

// `body` gets the tmpfs folder and returns "" when all held, else what
// failed; that text is returned (a child that did not end normally says
// so).
std::optional<std::string> inSmallTmpfs(int kibibytes,
                                        const std::function<std::string(const QString&)>& body);

void fillDisk(const QString& folder, qint64 leaveBytes = 0);

} // namespace zq::test
