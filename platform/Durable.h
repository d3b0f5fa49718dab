#pragma once

#include <QString>

// Steps that make a file's contents survive a crash or a power cut: flushing a written file and its
// folder to disk, and replacing a file in one step. All take paths of this machine (host paths).
namespace platform::durable {

// Flushes a file's contents to disk. False when it cannot be opened or flushed.
bool syncFile(const QString& hostPath);
// Flushes a folder's entries (names made, renamed or removed) to disk.
bool syncFolder(const QString& hostFolder);
// Renames in one step, replacing a file of the target name; false with the system's reason in *reason.
bool renameReplacing(const QString& fromHost, const QString& toHost, QString* reason = nullptr);

// Test hook for crash tests: when the environment variable VORLEX_CRASH_AT names this point
// ("area:number"), the process kills itself at once, as a power cut or kill -9 would stop it.
void crashPoint(const char* area, int number);

} // namespace platform::durable
