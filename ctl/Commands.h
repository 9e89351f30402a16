#pragma once

#include <QList>
#include <QStringList>

#include <cstdio>
#include <utility>

class QJsonValue;
namespace platform {
struct ControlCommandName;
}
namespace storage {
struct NoteRecord;
}

// Each jotletctl command takes its arguments (without the command name),
// writes to stdout/stderr and returns the process exit status.
namespace ctl {

int dumpNoteFile(const QStringList &args);
int makeNoteFile(const QStringList &args);
int convertBody(const QStringList &args);
// The notes of the note folder, read as the program loads them; nothing is
// changed, and the program need not run.
int listNotes(const QStringList &args);
int searchNotes(const QStringList &args);
// Sends the request with its argument to the running Jotlet Light; 1 when
// none runs or it refused, with the reason on standard error.
int sendRequest(const platform::ControlCommandName &request, const QStringList &args);

// Prints "jotletctl: <message>" to standard error.
void printError(const QString &message);
// Prints the text to standard output as UTF-8.
void printOutput(const QString &text);

// JSON as dump prints it: objects with their members in the order given.
using JsonMember = std::pair<QString, QString>; // name, JSON text of the value
QString jsonText(const QJsonValue &value);
// On one line without an indent, else one member a line.
QString jsonObjectText(const QList<JsonMember> &members, const QString &indent);
// Every field of the record, in file order.
QList<JsonMember> recordMembers(const storage::NoteRecord &record);

} // namespace ctl
