#include "app/OptionsRunner.h"

#include "settings/unOptions.h"
#include "ui/Dialogs.h"

namespace app {

void runOptionsDialog(const QString &programFolder, QWidget *parent, bool languagePage)
{
    TFrmOptions dialog(programFolder, parent);
    if (languagePage)
        dialog.showLanguagePage();
    dialogs::execute(dialog);
}

} // namespace app
