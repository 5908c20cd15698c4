#pragma once
// Moves contacts between ContactLog and log.txt in the working folder.
// log.txt holds exactly contacts 1..ContactCount after every operation.
// Whole-file writes replace the file atomically; an append is synced before
// the contact counts.  Failures are reported to the operator (Prompt) and
// the functions return false.

#include "logstore/ContactLog.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace zq {

// The record line of one contact (20 values, CR LF).
QByteArray formatContactLine(const ContactRecord& r);
// Parses a whole log file's content; nullopt (with a reason naming the
// line) when any line is not exactly one record or there are more than
// ContactLog::Capacity records.
std::optional<std::vector<ContactRecord>> parseLogContent(const QByteArray& content,
                                                         QString* error = nullptr);

// Resets the counters and reads log.txt into ContactLog.  A damaged file
// shows "Error opening file." (title "File Error") and returns false; the
// caller ends the program.  The file is never modified.  A missing file is
// created empty and loads as an empty log.
bool LoadLogFile();
// Appends contact ContactCount.  On failure reports it and returns false;
// the caller rolls the contact back.
bool AppendLogFile();
// Writes contacts 1..ContactCount over log.txt (atomically).  On failure
// reports it, reloads memory from disk and returns false.
bool RewriteLogFile();
// Removes contact n (1..ContactCount; anything else does nothing) and
// rewrites the file.
bool DeleteContact(int n);
// Asks for "YES"; backs up a non-empty log, clears the operating time,
// empties log.txt, saves the preferences and reloads.  False when the
// operator declined or a step failed (nothing erased then).
bool NewLogFile();
// Copies log.txt into <UserDirectory>/BACKUP/<yyyymmddhhnn>.log when the
// count changed since the first load; failures are silent.
void BackupLogFile();

// The path of log.txt in the working folder.
QString logFilePath();

} // namespace zq
