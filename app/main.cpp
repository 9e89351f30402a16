#include <QApplication>
#include <QMessageBox>

#include "platform/Paths.h"
#include "platform/Product.h"
#include "settings/DResource.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(product::kApplicationTitle));
    // A tray program: closing its last note must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    // Every caption comes from the language table, so it exists before any window.
    try {
        TReadRes::setCurrent(
            std::make_unique<TReadRes>(platform::activeLanguageFile(), platform::languageFolder()));
    } catch (const EResourceFileMissing &e) {
        QMessageBox::critical(nullptr, QString::fromLatin1(product::kApplicationTitle),
                              e.message());
        return 1;
    }
    return 0;
}
