// jotletctl: the companion command-line program of Jotlet Light.
#include "ctl/Commands.h"
#include "platform/ControlCommands.h"
#include "platform/Product.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Command
{
    const char *name;
    const char *arguments;
    const char *summary;
    bool needsGui; // rich text needs fonts and images, so a GUI application
    std::function<int(const QStringList &)> run;
    const char *option = nullptr; // the one option of its own it takes
};

// The commands on files, then one request to the running program for each
// command it takes.
const std::vector<Command> &commands()
{
    static const std::vector<Command> all = [] {
        std::vector<Command> list = {
            {"dump", "FILE", "print a note file as JSON", false, ctl::dumpNoteFile},
            {"make", "FILE", "write a note file from JSON on standard input", false,
             ctl::makeNoteFile},
            {"convert", "IN OUT", "convert a note body between .rtf, .jtl2, .txt and .html", true,
             ctl::convertBody},
            {"list", "[--json]", "print every note: file, visible or hidden, title, text, alarm",
             false, ctl::listNotes, "--json"},
            {"search", "TEXT", "print the notes whose title or text holds TEXT", false,
             ctl::searchNotes},
        };
        for (const platform::ControlCommandName &request : platform::kControlCommands) {
            const char *arguments
                = request.argument == platform::ControlArgument::NoteFile ? "FILE" : "";
            list.push_back({request.word, arguments, request.summary, false,
                            [&request](const QStringList &args) {
                                return ctl::sendRequest(request, args);
                            }});
        }
        return list;
    }();
    return all;
}

int usage(std::FILE *to, int status)
{
    std::fprintf(to,
                 "usage: jotletctl COMMAND [ARGS]\n"
                 "       jotletctl --help | --version\n\ncommands:\n");
    for (const Command &c : commands()) {
        const QByteArray call = QByteArray(c.name) + ' ' + c.arguments;
        std::fprintf(to, "  %-20s %s\n", call.constData(), c.summary);
    }
    std::fprintf(to,
                 "\noptions:\n"
                 "  -h, --help           show this help\n"
                 "  --version            show the version\n"
                 "  --                   the arguments after it are file names\n");
    return status;
}

// A wrong command line names the word at fault.
int wrongWord(const char *what, const char *word)
{
    std::fprintf(stderr, "jotletctl: unknown %s '%s'\nTry 'jotletctl --help'.\n", what, word);
    return 2;
}

bool isHelp(const char *word)
{
    return std::strcmp(word, "-h") == 0 || std::strcmp(word, "--help") == 0;
}

// A lone "-" is a file name argument, as in other tools.
bool isOption(const char *word)
{
    return word[0] == '-' && word[1] != '\0';
}

const Command *commandNamed(const char *name)
{
    for (const Command &c : commands()) {
        if (std::strcmp(name, c.name) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace

namespace ctl {
void printError(const QString &message)
{
    std::fprintf(stderr, "jotletctl: %s\n", message.toLocal8Bit().constData());
}

void printOutput(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}
} // namespace ctl

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage(stderr, 2);
    const char *first = argv[1];
    if (isHelp(first))
        return usage(stdout, 0);
    if (std::strcmp(first, "--version") == 0) {
        std::printf("jotletctl (Jotlet Light) %s\n", product::kFileVersion);
        return 0;
    }
    if (isOption(first))
        return wrongWord("option", first);
    const Command *command = commandNamed(first);
    if (!command)
        return wrongWord("command", first);

    QStringList args;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        if (!optionsEnded && std::strcmp(argv[i], "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && isHelp(argv[i])) {
            return usage(stdout, 0);
        } else if (!optionsEnded && isOption(argv[i])) {
            if (!command->option || std::strcmp(argv[i], command->option) != 0)
                return wrongWord("option", argv[i]);
            args << QString::fromLatin1(argv[i]);
        } else {
            args << QString::fromLocal8Bit(argv[i]);
        }
    }

    // Qt sees no argument but the program's name, so it takes none of the
    // command's own (a file named "-display" stays a file name).
    int appArgc = 1;
    std::unique_ptr<QCoreApplication> app;
    if (command->needsGui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(appArgc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(appArgc, argv);
    }
    return command->run(args);
}
