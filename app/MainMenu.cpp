#include "app/MainMenu.h"

#include "app/NotesTexts.h"
#include "settings/DResource.h"
#include "settings/TextIds.h"

#include <QAction>
#include <QMenu>

namespace app {

MainMenu::MainMenu()
    : PopupMenuPrinc(new QMenu)
    , NewJotlet1(PopupMenuPrinc->addAction(QStringLiteral("New Jotlet")))
    , Desktop1(PopupMenuPrinc->addMenu(QStringLiteral("Desktop")))
    , ShowAllJotlet1(Desktop1->addAction(QStringLiteral("Show All Jotlet")))
    , CloseAllJotlet1(Desktop1->addAction(QStringLiteral("Close All Jotlet")))
    , AllNotes1(PopupMenuPrinc->addAction(QString::fromUtf8(notestexts::kAllNotes.builtIn)))
    , Options1(PopupMenuPrinc->addAction(QStringLiteral("Options")))
    , DeleteAllJotlet1(PopupMenuPrinc->addAction(QStringLiteral("Delete All Jotlet")))
    , About2(PopupMenuPrinc->addAction(QStringLiteral("About")))
    , N1(PopupMenuPrinc->addSeparator())
    , Close1(PopupMenuPrinc->addAction(QStringLiteral("Exit")))
{
}

MainMenu::~MainMenu()
{
    delete PopupMenuPrinc;
}

void MainMenu::applyCaptions(const TReadRes &texts)
{
    NewJotlet1->setText(texts.GetText(settings::TrayNewNote));
    Desktop1->setTitle(texts.GetText(settings::TrayDesktop));
    ShowAllJotlet1->setText(texts.GetText(settings::TrayShowAll));
    CloseAllJotlet1->setText(texts.GetText(settings::TrayHideAll));
    AllNotes1->setText(notestexts::text(notestexts::kAllNotes));
    Options1->setText(texts.GetText(settings::TrayOptions));
    DeleteAllJotlet1->setText(texts.GetText(settings::TrayDeleteAll));
    Close1->setText(texts.GetText(settings::TrayExit));
    About2->setText(texts.GetText(settings::TrayAbout));
}

} // namespace app
