#pragma once

#include "storage/FontDesc.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QDialog;
class QWidget;

// Every modal message, question and dialog of the program goes through here,
// so a test can give the answers a person would (see DialogScript), and the
// program's end can close what is open before the windows that opened it go.
namespace dialogs {

void showError(QWidget *parent, const QString &message);
void showInformation(QWidget *parent, const QString &message);
// A confirmation with OK and Cancel; true only for OK.
bool confirm(QWidget *parent, const QString &question);
// The font dialog with effects (strike-out, underline, colour), showing
// `initial` exactly.
std::optional<storage::FontDesc> chooseFont(QWidget *parent, const storage::FontDesc &initial);
std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial);
// A file to open, starting in `folder`; an empty text when cancelled.
QString chooseOpenFile(QWidget *parent, const QString &filter, const QString &folder);
// A file to write, starting at `suggestedPath`; an empty text when cancelled.
QString chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                       const QString &suggestedPath);
// Runs a dialog modally (QDialog::exec), counted as open and above every
// other window of the program, on-top notes included.
int execute(QDialog &dialog);

// How many modal windows are open now, nested ones included: each runs an
// event loop of its own on the stack of the window that opened it.
int openModalWindows();
// How many have been opened since the program started.
int modalWindowsShown();
// Ends every open modal window as Cancel would. Each returns from its own
// event loop once control is back there, not before.
void cancelModalWindows();

// While one is alive, nobody is there to answer: messages are collected
// instead of shown, questions are answered with Cancel, and no dialog
// opens (the end of a session, a termination signal).
class Unattended
{
public:
    Unattended();
    ~Unattended();
    Unattended(const Unattended &) = delete;
    Unattended &operator=(const Unattended &) = delete;

    QStringList messages; // what would have been shown, in order

private:
    Unattended *m_previous;
};

// Scripted answers for tests. While one is installed no dialog opens: each
// call takes the next answer of its kind (none left: cancel) and every
// message shown is recorded.
struct DialogScript
{
    std::deque<bool> confirmations;
    std::deque<storage::FontDesc> fonts;
    QList<storage::FontDesc> fontPresets; // what each font dialog opened showing
    std::deque<QColor> colors; // an invalid colour cancels
    std::deque<QString> openFiles; // an empty name cancels
    QStringList openFileDialogs; // "<filters> in <folder>" of each
    std::deque<QString> saveFiles; // an empty name cancels
    QStringList messages; // errors and information, in order
    QStringList questions; // confirmations and save dialogs, by their text
};

// Installs a script (nullptr: real dialogs again). Not owned.
void setScript(DialogScript *script);
// The installed script, or nullptr.
DialogScript *currentScript();

} // namespace dialogs
