#pragma once
// Durable file writes.  A whole-file write goes to a temporary file beside
// the target; every write, the file's sync and its close are checked, then
// it is renamed over the target and the folder is synced.  On any failure
// the temporary file is removed and the old file stays whole.
// An append is flushed and synced; a failed append is cut back so nothing
// half-written stays.  Every function reports failure with a reason.
//
// The target of every write is the real file at the end of any chain of
// links.  An existing target that this process may not write is refused
// by every write alike: one that the kernel would not open for writing,
// one that is not a regular file, and one with no write permission bit at
// all (read-only for every user, root included).  A replaced file keeps
// its mode, and its owner and group as far as the process may set them.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>

namespace zq {

// Opens `file` on `path` for reading, as every reader of a file that the
// operator or another program can replace does: only a regular file (a
// link is followed) is opened.  A folder is refused with the reason the
// system gives ("Is a directory"), a pipe, a socket or a device with "Not
// a regular file", before anything could wait on it or set a device's
// lines: a log replaced by a pipe never freezes the program.  `extra` is
// added to the read-only mode (Unbuffered, say).  False with the reason
// when the file cannot be opened.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr,
                     QIODevice::OpenMode extra = {});

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);
// With keep >= 0, the file is first cut to its first `keep` bytes (blank
// lines after its last record, say); a failed append is cut back to there.
bool appendAndSync(const QString& path, const QByteArray& data, QString* error = nullptr,
                   qint64 keep = -1);
// Copies src to dst atomically (dst replaced only when the copy is complete).
bool copyFileAtomically(const QString& src, const QString& dst, QString* error = nullptr);

// The absolute path of the file that a write to `path` replaces or
// makes: the end of its chain of links.
QString resolvedWriteTarget(const QString& path);

// Removes the temporary files that whole-file writes of the files `names`
// in `folder` left when the process making them was killed (names match in
// any letter case); a file whose write is still under way is kept, and so
// is the temporary file of any other file.  Returns how many were removed.
int removeStaleTemporaryFiles(const QString& folder, const QStringList& names);

// `path` when no file of that name exists or it holds exactly `content`'s
// bytes; otherwise the first free "stem-2.ext", "stem-3.ext", ... so that a
// backup never replaces a different file.
QString uniqueBackupPath(const QString& path, const QByteArray& content);

// Test hook: when set, a write to a path for which it returns true fails
// as a full disk would (ENOSPC): a whole-file write once its temporary file
// is made, an append before anything reaches the file.
void setWriteFaultForTesting(std::function<bool(const QString& path)> fails);

} // namespace zq
