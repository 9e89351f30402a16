#include <QApplication>

#include "platform/Product.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(product::kApplicationTitle));
    // A tray program: closing its last note must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    return 0;
}
