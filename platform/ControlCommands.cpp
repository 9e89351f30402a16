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

QString controlCommandWord(ControlCommand command)
{
    for (const ControlCommandName &name : kControlCommands) {
        if (name.command == command)
            return QLatin1String(name.word);
    }
    return {};
}

QStringList controlCommandWords()
{
    QStringList words;
    for (const ControlCommandName &name : kControlCommands)
        words << QLatin1String(name.word);
    return words;
}

} // namespace platform
