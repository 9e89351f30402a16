#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The requests another process (jotletctl, a second start) may send to the
// running instance: the one list that the server accepts, the program
// carries out and jotletctl offers.
namespace platform {

enum class ControlCommand { Exit, Restart, New, ShowAll, HideAll, Options, About, Notes, Show };

// What a command takes after its word.
enum class ControlArgument {
    None,
    NoteFile, // the name of a note file in the note folder (see isNoteFileName)
};

struct ControlCommandName
{
    ControlCommand command;
    const char *word; // as sent and as typed after jotletctl
    ControlArgument argument;
    const char *summary; // what it does, for jotletctl's help
};

inline constexpr std::array<ControlCommandName, 9> kControlCommands {{
    {ControlCommand::Exit, "exit", ControlArgument::None, "save every note and end Jotlet Light"},
    {ControlCommand::Restart, "restart", ControlArgument::None,
     "save every note and start Jotlet Light again"},
    {ControlCommand::New, "new", ControlArgument::None, "make a new note"},
    {ControlCommand::ShowAll, "show-all", ControlArgument::None, "show every note"},
    {ControlCommand::HideAll, "hide-all", ControlArgument::None, "hide every note"},
    {ControlCommand::Options, "options", ControlArgument::None, "open the options dialog"},
    {ControlCommand::About, "about", ControlArgument::None, "open the About window"},
    {ControlCommand::Notes, "notes", ControlArgument::None, "open the window of all notes"},
    {ControlCommand::Show, "show", ControlArgument::NoteFile,
     "show, unroll and raise the note FILE (a name that list prints)"},
}};

// The command a word names, or nothing.
std::optional<ControlCommand> controlCommandNamed(const QString &word);
// Every command's word, in the order above.
QStringList controlCommandWords();
QString controlCommandWord(ControlCommand command);
const ControlCommandName &controlCommandEntry(ControlCommand command);

// The longest argument a request carries.
inline constexpr int kMaxControlArgument = 100;

// A name the program gives a note file, or one a copy of the note folder
// gives it: "123.jtl", "about.jtl", "123.sync-conflict-20240102-030405-ABCDEFG.jtl".
// Letters, digits, '.', '_' and '-' only (so never a path), at most
// kMaxControlArgument characters, not starting with '.', ending in ".jtl"
// and never naming a body file (".jtl2" anywhere).
bool isNoteFileName(const QString &name);

// Why the request is none of kControlCommands with a fitting argument (an
// empty argument is none); empty when it is one.
QString controlRequestRefusal(const QString &word, const QString &argument);

} // namespace platform
