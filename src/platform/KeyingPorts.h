#pragma once
// The one registry of the keying ports.  The CW key line, the voice
// keyer's push-to-talk line and the WinKeyer share the serial ports in
// turns: a claim of a serial port (a serial key line, the WinKeyer's link)
// first releases every other serial keying claim, whatever its port, and
// the owner's own earlier claim.  The keyer that keys last holds the
// serial port; the others claim again when they next key.  The parallel
// port is no serial port: claiming it releases only the owner's own
// earlier claim, and no serial claim releases it, so a WinKeyer for CW and
// push-to-talk on the parallel port live side by side.  (Two owners on
// the same parallel device take turns as well: the device is claimed by
// one descriptor at a time.)
//
// Two kinds of claim:
//
//   claimLine(owner, port, &error)
//       For owners whose line this layer drives (CW key line, PTT).
//       Releases what the claim takes over (above), then opens the port's
//       key line (KeyLine.h) and records it for the owner.  Returns the
//       open line, or nullptr with *error when the port cannot be opened
//       (and *permission, as openKeyLine gives it, when it was refused for
//       want of permission); the owner then holds nothing.  A port of Kind::None releases the
//       owner's earlier claim and opens nothing (nullptr, empty error).
//
//   claim(owner, release)
//       For owners that open their own serial device (the WinKeyer's
//       link).  Releases what a serial claim takes over, then records
//       `release`, which the registry calls, once, when the claim is given
//       up.  Open the device after claiming.  `release` runs on the
//       user-interface thread and may call release(owner) itself (a no-op
//       by then).
//
//   release(owner)   gives up the owner's claim: its line is released
//                    (every raised line dropped) and closed, or its
//                    release callback runs.  Nothing held: nothing happens.
//   releaseAll()     gives up every claim (program end).
//   line(owner)      the owner's line while it is open, else nullptr.  A
//                    line can be closed behind its user's back (another
//                    owner claimed, a device failure): check isOpen() or
//                    look it up again before keying.
//
// The registry itself is used from the user-interface thread only.  The
// lines it hands out are shared with their users (a keying thread may
// hold one); releasing closes the line, after which no call reaches its
// descriptor (KeyLine::close), so the holder can never key a port that
// another owner now has.

#include "platform/KeyLine.h"

#include <functional>
#include <map>
#include <memory>

namespace zq {

// PttParallel is the voice keyer's second line: push-to-talk may be keyed
// on a serial line and on the parallel port at once.
enum class KeyingOwner { CwKeyLine, Ptt, WinKeyer, PttParallel };

class KeyingPorts {
public:
    static KeyingPorts& instance();

    std::shared_ptr<KeyLine> claimLine(KeyingOwner owner, const KeyLinePort& port,
                                       QString* error = nullptr, QString* permission = nullptr);
    void claim(KeyingOwner owner, std::function<void()> release);
    void release(KeyingOwner owner);
    void releaseAll();
    std::shared_ptr<KeyLine> line(KeyingOwner owner) const;
    // True while the owner has a claim (an open line or a release callback).
    bool holds(KeyingOwner owner) const;

    // Tests and benchmarks: open key lines through this function instead
    // of openKeyLine (nullptr restores it); its arguments are openKeyLine's.
    using Opener = std::function<std::unique_ptr<KeyLine>(const KeyLinePort&, QString* error,
                                                          QString* permission)>;
    static void setOpenerForTesting(Opener opener);

private:
    struct Claim {
        std::shared_ptr<KeyLine> line;
        std::function<void()> release;
    };
    // Releases the owner's own claim and every other one that a claim of
    // `port` takes over.
    void releaseClaimsFor(KeyingOwner owner, const KeyLinePort& port);
    void releaseTaken(std::map<KeyingOwner, Claim>& taken);
    std::map<KeyingOwner, Claim> claims_;
};

} // namespace zq
