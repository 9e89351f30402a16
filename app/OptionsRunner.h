#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace app {

// Runs the options dialog modally, on its language page when asked, and
// returns when the user has closed it (whatever way).
using OptionsDialogRunner = std::function<void(QWidget *parent, bool languagePage)>;

// The options dialog of the program in programFolder.
void runOptionsDialog(const QString &programFolder, QWidget *parent, bool languagePage);

} // namespace app
