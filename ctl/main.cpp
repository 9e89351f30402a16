// jotletctl: the companion command-line program of Jotlet Light.
#include "ctl/Commands.h"

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
    {"convert", "convert IN OUT       convert a note body between .rtf, .txt and .html", true,
     ctl::convertBody},
    {"exit", "exit                 save every note and end Jotlet Light", false, request("exit")},
    {"restart", "restart              save every note and start Jotlet Light again", false,
     request("restart")},
    {"new", "new                  make a new note", false, request("new")},
    {"show-all", "show-all             show every note", false, request("show-all")},
    {"hide-all", "hide-all             hide every note", false, request("hide-all")},
    {"options", "options              open the options dialog", false, request("options")},
    {"about", "about                open the About window", false, request("about")},
};

int usage()
{
    std::fprintf(stderr, "usage: jotletctl COMMAND [ARGS]\n\ncommands:\n");
    for (const Command &c : kCommands)
        std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
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
        return usage();
    for (const Command &c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0)
            continue;
        std::unique_ptr<QCoreApplication> app;
        if (c.needsGui) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
        return c.run(QCoreApplication::arguments().mid(2));
    }
    return usage();
}
