#pragma once
// A serial device this process may not open, as a port is refused to a
// user outside the group that owns it: a pseudo-terminal whose slave is
// the "port".
//
// Run as root (where permissions stop no open), the slave is made root's
// and the group dialout's, mode 0660, and `asRefusedUser` runs its body
// with the effective user and group 65534, which are neither (the current
// folder, the working one, may then be read by everyone).  Run as any
// other user, the slave is that user's own with mode 0, and the body runs
// as it is.  Either way an open inside the body fails with EACCES.

#include <QString>
#include <functional>

namespace zq::test {

class RefusedPort {
public:
    RefusedPort();
    ~RefusedPort();
    RefusedPort(const RefusedPort&) = delete;
    RefusedPort& operator=(const RefusedPort&) = delete;

    // False when the device could not be set up (the test then fails).
    bool ok() const { return ok_; }
    QString device() const { return device_; }
    // The name of the group that owns the device.
    QString group() const { return group_; }

    void asRefusedUser(const std::function<void()>& body) const;

private:
    int master_ = -1;
    int slave_ = -1;
    QString device_;
    QString group_;
    bool ok_ = false;
};

// The words the program gives for this device (PortAccess.h); a failure of
// the test unless they name the device, its group and the command that
// joins it.
QString refusal(const RefusedPort& port);

} // namespace zq::test
