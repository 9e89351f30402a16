#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The requests another process (jotletctl, a second start) may send to the
// running instance: the one list that the server accepts, the program
// carries out and jotletctl offers.
namespace platform {

enum class ControlCommand { Exit, Restart, New, ShowAll, HideAll, Options, About };

struct ControlCommandName
{
    ControlCommand command;
    const char *word; // as sent and as typed after jotletctl
    const char *summary; // what it does, for jotletctl's help
};

inline constexpr std::array<ControlCommandName, 7> kControlCommands {{
    {ControlCommand::Exit, "exit", "save every note and end Jotlet Light"},
    {ControlCommand::Restart, "restart", "save every note and start Jotlet Light again"},
    {ControlCommand::New, "new", "make a new note"},
    {ControlCommand::ShowAll, "show-all", "show every note"},
    {ControlCommand::HideAll, "hide-all", "hide every note"},
    {ControlCommand::Options, "options", "open the options dialog"},
    {ControlCommand::About, "about", "open the About window"},
}};

// The command a word names, or nothing.
std::optional<ControlCommand> controlCommandNamed(const QString &word);
// Every command's word, in the order above.
QStringList controlCommandWords();
QString controlCommandWord(ControlCommand command);

} // namespace platform
