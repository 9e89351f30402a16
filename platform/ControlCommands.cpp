#include "platform/ControlCommands.h"

namespace platform {

std::optional<ControlCommand> controlCommandNamed(const QString &word)
{
    for (const ControlCommandName &name : kControlCommands) {
        if (word == QLatin1String(name.word))
            return name.command;
    }
    return std::nullopt;
}

const ControlCommandName &controlCommandEntry(ControlCommand command)
{
    for (const ControlCommandName &name : kControlCommands) {
        if (name.command == command)
            return name;
    }
    // Every enumerator has its row.
    Q_UNREACHABLE();
}

QString controlCommandWord(ControlCommand command)
{
    return QLatin1String(controlCommandEntry(command).word);
}

QStringList controlCommandWords()
{
    QStringList words;
    for (const ControlCommandName &name : kControlCommands)
        words << QLatin1String(name.word);
    return words;
}

bool isNoteFileName(const QString &name)
{
    if (name.size() > kMaxControlArgument || name.startsWith(QLatin1Char('.'))
        || !name.endsWith(QLatin1String(".jtl"))
        || name.contains(QLatin1String(".jtl2"), Qt::CaseInsensitive))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
            || (u >= '0' && u <= '9') || u == '.' || u == '_' || u == '-';
        if (!allowed)
            return false;
    }
    return true;
}

QString controlRequestRefusal(const QString &word, const QString &argument)
{
    const std::optional<ControlCommand> command = controlCommandNamed(word);
    if (!command)
        return QStringLiteral("unknown command ") + word;
    switch (controlCommandEntry(*command).argument) {
    case ControlArgument::None:
        if (!argument.isEmpty())
            return word + QStringLiteral(" takes no argument");
        break;
    case ControlArgument::NoteFile:
        if (argument.isEmpty())
            return word + QStringLiteral(" needs the name of a note file");
        if (!isNoteFileName(argument))
            return QStringLiteral("no note file name: ") + argument;
        break;
    }
    return {};
}

} // namespace platform
