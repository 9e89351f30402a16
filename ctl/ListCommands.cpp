// jotletctl list / search: the notes of the note folder as the program
// would show them, read without the program and without changing a file.
#include "ctl/Commands.h"

#include "platform/Errors.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "ui/BodyText.h"
#include "ui/NoteListing.h"

#include <QJsonValue>

#include <exception>
#include <vector>

namespace ctl {
namespace {

struct FolderNote
{
    QString file;
    storage::NoteRecord record;
    QStringList lines; // the body's text
};

struct Failure
{
    QString file;
    QString reason;
};

struct FolderNotes
{
    std::vector<FolderNote> notes;
    QList<Failure> failures; // the notes that cannot be read
};

QStringList textOf(const QString &notePath, const storage::NoteRecord &record)
{
    // As the program loads a note: its body file, else the lines of its record.
    const QString body = storage::companionPath(notePath);
    if (!storage::entryExists(body))
        return record.lines;
    return ui::bodyLines(ui::readBodyFile(body));
}

// Every note file of the note folder in name order, read the way the
// program loads it (a damaged place or timing group falls back as there).
FolderNotes readNoteFolder()
{
    FolderNotes result;
    const QString folder = storage::noteFolderPath();
    for (const QString &name : storage::listNoteFiles(folder)) {
        const QString path = folder + QLatin1Char('/') + name;
        try {
            FolderNote note {name, storage::readNoteFile(path, {}, {}, {}), {}};
            note.lines = textOf(path, note.record);
            result.notes.push_back(std::move(note));
        } catch (const Error &e) {
            result.failures << Failure {name, e.message()};
        } catch (const std::exception &e) {
            result.failures << Failure {name, QString::fromLocal8Bit(e.what())};
        }
    }
    return result;
}

int reportFailures(const QString &command, const QList<Failure> &failures)
{
    for (const Failure &failure : failures)
        printError(QStringLiteral("%1: %2: %3").arg(command, failure.file, failure.reason));
    return failures.isEmpty() ? 0 : 1;
}

// One field of a line of tab-separated fields.
QString field(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString alarmText(const storage::NoteRecord &record)
{
    if (!record.alarmEnabled || record.alarmFired)
        return QStringLiteral("-");
    const std::optional<QDateTime> moment = ui::momentOf(record.alarmDate, record.alarmTime);
    return moment ? moment->toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("-");
}

QString listLine(const FolderNote &note)
{
    const QStringList fields
        = {note.file, note.record.visible ? QStringLiteral("visible") : QStringLiteral("hidden"),
           field(note.record.title), field(ui::firstTextLine(note.lines)), alarmText(note.record)};
    return fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

QString jsonOf(const FolderNote &note)
{
    QList<JsonMember> members {{QStringLiteral("file"), jsonText(note.file)}};
    members += recordMembers(note.record);
    members << JsonMember {QStringLiteral("text"), jsonText(note.lines.join(QLatin1Char('\n')))};
    return jsonObjectText(members, QStringLiteral("    "));
}

QString jsonOf(const Failure &failure)
{
    return jsonObjectText({{QStringLiteral("file"), jsonText(failure.file)},
                           {QStringLiteral("error"), jsonText(failure.reason)}},
                          QStringLiteral("    "));
}

} // namespace

int listNotes(const QStringList &args)
{
    const bool json = args == QStringList {QStringLiteral("--json")};
    if (!args.isEmpty() && !json) {
        printError(QStringLiteral("usage: jotletctl list [--json]"));
        return 2;
    }
    const FolderNotes folder = readNoteFolder();
    if (json) {
        // The notes that cannot be read are there too, with their error.
        QStringList objects;
        for (const FolderNote &note : folder.notes)
            objects << jsonOf(note);
        for (const Failure &failure : folder.failures)
            objects << jsonOf(failure);
        printOutput(objects.isEmpty() ? QStringLiteral("[]\n")
                                      : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n"))
                            + QStringLiteral("\n]\n"));
    } else {
        QString out;
        for (const FolderNote &note : folder.notes)
            out += listLine(note);
        printOutput(out);
    }
    return reportFailures(QStringLiteral("list"), folder.failures);
}

int searchNotes(const QStringList &args)
{
    const QString query = ui::foldForSearch(args.join(QLatin1Char(' ')).trimmed());
    if (query.isEmpty()) {
        printError(QStringLiteral("usage: jotletctl search TEXT"));
        return 2;
    }
    const FolderNotes folder = readNoteFolder();
    QString out;
    for (const FolderNote &note : folder.notes) {
        const ui::NoteMatch match = ui::NoteSearchText(note.record.title, note.lines).find(query);
        if (!match.found())
            continue;
        const QString line
            = match.line >= 0 ? note.lines[match.line].trimmed() : ui::firstTextLine(note.lines);
        out += QStringList {note.file, field(note.record.title), field(line)}.join(
                   QLatin1Char('\t'))
            + QLatin1Char('\n');
    }
    printOutput(out);
    reportFailures(QStringLiteral("search"), folder.failures);
    // As grep: 1 when nothing was found.
    return out.isEmpty() ? 1 : 0;
}

} // namespace ctl
