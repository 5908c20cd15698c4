#pragma once
// Durable file writes.  A whole-file write goes to a temporary file that is
// synced and renamed over the target, so a failure leaves the old file whole.
// An append is flushed and synced; a failed append is cut back so nothing
// half-written stays.  Every function reports failure with a reason.

#include <QByteArray>
#include <QString>
#include <functional>

namespace zq {

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);
// With keep >= 0, the file is first cut to its first `keep` bytes (blank
// lines after its last record, say); a failed append is cut back to there.
bool appendAndSync(const QString& path, const QByteArray& data, QString* error = nullptr,
                   qint64 keep = -1);
// Copies src to dst atomically (dst replaced only when the copy is complete).
bool copyFileAtomically(const QString& src, const QString& dst, QString* error = nullptr);

// `path` when no file of that name exists or it holds exactly `content`'s
// bytes; otherwise the first free "stem-2.ext", "stem-3.ext", ... so that a
// backup never replaces a different file.
QString uniqueBackupPath(const QString& path, const QByteArray& content);

// Test hook: when set, a write to a path for which it returns true fails
// (before anything reaches the target) as a full disk would.
void setWriteFaultForTesting(std::function<bool(const QString& path)> fails);

} // namespace zq
