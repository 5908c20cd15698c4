#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLockFile;

namespace zq {

// Opens the program's first window; false when start-up cannot go on.
bool startProgram();

// The whole run as main() makes it: the application object, the working
// folder's lock (a second copy on the same folder tells the operator and
// ends before it touches any file), the orderly end on SIGTERM, SIGINT and
// SIGHUP, the first window and the event loop.  `started` (tests) runs
// once the first window shows.  Returns the exit code.
int runProgram(int argc, char** argv, const std::function<void()>& started = {});

// The name of the lock file in the working folder.
QString workingFolderLockName();

// Takes `lock` (the file workingFolderLockName() in `folder`) on the
// working folder for the whole run.  A lock held by a running copy refuses
// the start: the operator is told which folder is in use, and which lock
// file, of which user, names which process on which host, and false is
// returned.  A lock left by a copy that no longer runs is taken over (one
// of another user's too, a copy run through sudo, say, where the folder
// lets this user remove it), and so is a lock file that names no process
// and is over a minute old or dated in the future.  A folder that cannot
// hold a lock file at all (one the user may not write, say), a lock file
// that is no regular file (a pipe, or a link, which no copy makes, even
// one that leads nowhere), or a gone copy's lock that cannot be removed,
// refuses the start too, with the folder and the reason (and the lock
// file's owner): the log is never opened unlocked.
bool lockWorkingFolder(QLockFile& lock, const QString& folder);

// When log.txt of `folder` is a link out of the folder's own log, takes
// `lock` for the whole run on the file it leads to as well, with the lock
// file beside that file (linkedLogLockFile), so that two working folders
// whose logs are one file never both write it; `lock` stays empty when the
// working folder's lock covers the log.  Taken, refused and said as the
// working folder's lock is, with the log named; a log in a folder where
// no lock file can be made (one that the user may not write, where the
// log cannot be rewritten either) refuses the start.
bool lockLinkedLog(std::unique_ptr<QLockFile>& lock, const QString& folder);

// Ends the run in order, from wherever the program is (an end signal, read
// from the event loop): every inner loop is left as its Cancel or close
// would leave it (a question, an input box, a file dialog, a window shown
// modally, a prompt hold, a keyed message, whose key line goes up), none
// starts any more, and every event loop is told to return.  Nothing is
// deleted yet: the handlers that ran those loops return into windows that
// are still there.
void endProgramInOrder();

// Stops every transmitter the program keys: the CW text left unsent goes,
// every playback stops, the WinKeyer's buffer is cleared, every raised key
// or push-to-talk line goes down and every keying port is released (the
// WinKeyer's link closes with its close bytes).  No unload step runs.
void stopTransmitting();

// The last steps of every end (Exit, the close box, an end signal, a failed
// start, a window that ends the program), once the event loop has
// returned: the transmitters stop (stopTransmitting), the work held for
// after a prompt hold and the hand-over of a "!" the keyer reached run (so
// that contact is logged), and nothing they start keys on.  After
// endProgramInOrder, every window then runs its unload steps (the WinKeyer
// gets its close bytes, serial ports and links close) and the log window
// saves the operating time and preferences as its Exit command does.  The
// unloaded windows are deleted.
void finishProgramEnd();

} // namespace zq
