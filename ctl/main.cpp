// jotletctl: the companion command-line program.
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::fprintf(stderr, "usage: jotletctl COMMAND ...\n");
    return 2;
}
