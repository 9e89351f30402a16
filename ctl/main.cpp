// jotletctl: the companion command-line program of Jotlet Light.
#include "ctl/Commands.h"
#include "platform/Product.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <functional>
#include <memory>

namespace {

struct Command
{
    const char *name;
    const char *usage;
    bool needsGui; // rich text needs fonts and images, so a GUI application
    std::function<int(const QStringList &)> run;
};

// A request to the running program, by the command's own name.
std::function<int(const QStringList &)> request(const char *command)
{
    return [command](const QStringList &args) {
        return ctl::sendRequest(QLatin1String(command), args);
    };
}

const Command kCommands[] = {
    {"dump", "dump FILE            print a note file as JSON", false, ctl::dumpNoteFile},
    {"make", "make FILE            write a note file from JSON on standard input", false,
     ctl::makeNoteFile},
    {"convert", "convert IN OUT       convert a note body between .rtf, .jtl2, .txt and .html",
     true, ctl::convertBody},
    {"exit", "exit                 save every note and end Jotlet Light", false, request("exit")},
    {"restart", "restart              save every note and start Jotlet Light again", false,
     request("restart")},
    {"new", "new                  make a new note", false, request("new")},
    {"show-all", "show-all             show every note", false, request("show-all")},
    {"hide-all", "hide-all             hide every note", false, request("hide-all")},
    {"options", "options              open the options dialog", false, request("options")},
    {"about", "about                open the About window", false, request("about")},
};

int usage(std::FILE *to, int status)
{
    std::fprintf(to,
                 "usage: jotletctl COMMAND [ARGS]\n"
                 "       jotletctl --help | --version\n\ncommands:\n");
    for (const Command &c : kCommands)
        std::fprintf(to, "  %s\n", c.usage);
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
    for (const Command &c : kCommands) {
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
            return wrongWord("option", argv[i]);
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
