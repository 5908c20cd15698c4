#pragma once
// One wording, for every user of a port (the rig, the TNC, the WinKeyer,
// the CW and push-to-talk key lines), of a device the operator may not
// open: the device, the group that owns it and how to join that group.
// Serial devices belong to the group dialout on Debian, parallel ones to
// lp; a user outside the group is refused (EACCES) until added to it and
// logged in again.
//
//   /dev/ttyUSB0: Permission denied.  Only the members of its group,
//   dialout, may open it.  Join the group with
//       sudo usermod -aG dialout $USER
//   then log out and in again.
//
// Each port layer keeps this text for its last failed open; the windows
// add it to their own message of a port that did not open.

#include <QString>

namespace zq {

// The text for `device` whose open failed with `err`; "" unless `err` is
// EACCES or EPERM.  Where the device's group cannot be read the text says
// only what was refused; a device of the group root (which no user should
// join) asks for access from whoever runs the machine.
QString portPermissionText(const QString& device, int err);

// For layers whose open does not tell the errno (QSerialPort): the text
// above when this process may not read and write `device`, asked of the
// device itself after the failed open; "" otherwise (also when the device
// is missing: that is no question of permission).
QString portPermissionTextAfterFailedOpen(const QString& device);

// `message`, then `permission` after a blank line; `message` alone when
// `permission` is "".
QString withPortPermission(const QString& message, const QString& permission);

} // namespace zq
