#include "app/MainMenu.h"

#include "app/NotesTexts.h"
#include "settings/DResource.h"

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
    NewJotlet1->setText(texts.GetText(0));
    Desktop1->setTitle(texts.GetText(1));
    ShowAllJotlet1->setText(texts.GetText(2));
    CloseAllJotlet1->setText(texts.GetText(3));
    AllNotes1->setText(notestexts::text(notestexts::kAllNotes));
    Options1->setText(texts.GetText(4));
    DeleteAllJotlet1->setText(texts.GetText(5));
    Close1->setText(texts.GetText(6));
    About2->setText(texts.GetText(17));
}

} // namespace app
