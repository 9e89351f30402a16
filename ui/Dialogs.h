#pragma once

#include "storage/FontDesc.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QWidget;

// Every modal message and question of the program goes through here, so a
// test can give the answers a person would (see DialogScript).
namespace dialogs {

void showError(QWidget *parent, const QString &message);
void showInformation(QWidget *parent, const QString &message);
// A confirmation with OK and Cancel; true only for OK.
bool confirm(QWidget *parent, const QString &question);
// The font dialog with effects (strike-out, underline, colour).
std::optional<storage::FontDesc> chooseFont(QWidget *parent, const storage::FontDesc &initial);
std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial);
// An empty text when cancelled.
QString chooseOpenFile(QWidget *parent, const QString &filter);

// Scripted answers for tests. While one is installed no dialog opens: each
// call takes the next answer of its kind (none left: cancel) and every
// message shown is recorded.
struct DialogScript
{
    std::deque<bool> confirmations;
    std::deque<storage::FontDesc> fonts;
    std::deque<QColor> colors; // an invalid colour cancels
    std::deque<QString> openFiles; // an empty name cancels
    QStringList messages; // errors and information, in order
    QStringList questions;
};

// Installs a script (nullptr: real dialogs again). Not owned.
void setScript(DialogScript *script);
// The installed script, or nullptr.
DialogScript *currentScript();

} // namespace dialogs
