// Replacing a file atomically and durably: a temporary file beside the target, synced, renamed over the target,
// then the folder synced. After a crash the target holds the old or the new bytes, whole.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Replaces the file at `path` (a symbolic link is followed: its target is replaced) with `bytes`, keeping the old
// file's permissions. The folder must exist. Before writing, removes the temporaries an earlier save of this program
// left behind when it was killed (by their name, which only this program gives, and only those no process holds a lock
// on); no other file is ever removed. Returns nothing on success, else the system's reason; on failure the old file is
// unchanged and no temporary remains. Once the new file is in place the replacement has succeeded: when syncing the
// folder after the rename then fails, `unsyncedReason` gets the system's reason (the rename may not yet survive a
// power failure) and nothing else changes.
std::optional<QString> replaceFile(const QString &path, const QByteArray &bytes, QString &unsyncedReason);
