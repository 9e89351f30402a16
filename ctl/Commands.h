#pragma once

#include <QStringList>

#include <cstdio>

// Each jotletctl command takes its arguments (without the command name),
// writes to stdout/stderr and returns the process exit status.
namespace ctl {

int dumpNoteFile(const QStringList &args);
int makeNoteFile(const QStringList &args);
int convertBody(const QStringList &args);
// Sends `command` to the running Jotlet Light; 1 when none runs or it
// refused, with the reason on standard error.
int sendRequest(const QString &command, const QStringList &args);

// Prints "jotletctl: <message>" to standard error.
void printError(const QString &message);

} // namespace ctl
