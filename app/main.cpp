#include <QApplication>
#include <QMessageBox>

#include "app/DLista.h"
#include "note/GuardedCall.h"
#include "platform/Paths.h"
#include "platform/Product.h"
#include "platform/SignalBridge.h"
#include "settings/DResource.h"
#include "storage/NoteFolder.h"

#include <cstdio>

namespace {

// Every note of the note folder on screen, and every note saved when the
// program ends, by the user or by a termination signal.
int runNotes(QApplication &app)
{
    platform::SignalBridge signalBridge;
    bool terminated = false;
    QObject::connect(&signalBridge, &platform::SignalBridge::terminationRequested, &app, [&] {
        terminated = true;
        QApplication::quit();
    });

    QString folder;
    if (!note::guardedCall(nullptr, [&] { folder = storage::ensureNoteFolder(); }))
        return 1;
    TVeskLista notes;
    const QStringList failures = addNotesFromFiles(notes, storage::listNoteFiles(folder));
    if (!failures.isEmpty())
        note::reportError(nullptr, failures.join(QLatin1Char('\n')));

    // A signal may have come while a message box was open.
    const int result = terminated ? 0 : QApplication::exec();
    if (terminated) {
        // Nobody may be there to answer a message box while the session ends.
        note::setErrorReporter([](QWidget *, const QString &message) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        });
    }
    note::guardedCall(nullptr, [&] { notes.destroy(); });
    return result;
}

} // namespace

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
    return runNotes(app);
}
