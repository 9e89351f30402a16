#include "note/NoteMenus.h"

#include "note/Note.h"
#include "settings/DResource.h"
#include "settings/TextIds.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

namespace note {
namespace {

// Each item's caption id, for a language table that changes.
constexpr char kCaptionId[] = "captionId";

QString caption(settings::TextId id)
{
    return TReadRes::current().GetText(id);
}

QMenu *submenu(QMenu *parent, const char *name, settings::TextId captionId)
{
    QMenu *menu = parent->addMenu(caption(captionId));
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    menu->menuAction()->setProperty(kCaptionId, captionId);
    return menu;
}

QAction *item(QMenu *menu, const char *name, settings::TextId captionId)
{
    QAction *action = menu->addAction(caption(captionId));
    action->setObjectName(QLatin1String(name));
    action->setProperty(kCaptionId, captionId);
    return action;
}

// A Ctrl+letter item of the body menu. The note's body takes the key itself
// (see TSingolNote::eventFilter), so the shortcut only shows in the menu.
QAction *bodyItem(QMenu *menu, const char *name, settings::TextId captionId, char letter)
{
    QAction *action = item(menu, name, captionId);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + (letter - 'A'))));
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

void buildTitleMenu(NoteMenus &m)
{
    m.PopupTitle = new QMenu;
    m.PopupTitle->setObjectName(QStringLiteral("PopupTitle"));
    m.Apparence1 = submenu(m.PopupTitle, "Apparence1", settings::TitleMenuAppearance);
    m.Changetitle1 = item(m.Apparence1, "Changetitle1", settings::TitleMenuChangeTitle);
    m.ChangeFont1 = item(m.Apparence1, "ChangeFont1", settings::TitleMenuChangeFont);
    m.ChangeColor1 = item(m.Apparence1, "ChangeColor1", settings::TitleMenuChangeColor);
    m.N3 = separator(m.PopupTitle, "N3");
    m.Ontop1 = item(m.PopupTitle, "Ontop1", settings::TitleMenuOnTop);
    m.Ontop1->setCheckable(true);
    m.Insertdatetime1 = item(m.PopupTitle, "Insertdatetime1", settings::TitleMenuInsertDateTime);
    m.Noteexpiration1 = item(m.PopupTitle, "Noteexpiration1", settings::TitleMenuAlarms);
    m.N1 = separator(m.PopupTitle, "N1");
    m.InsertBitmap1 = item(m.PopupTitle, "InsertBitmap1", settings::MenuInsertPicture);
    m.Print1 = item(m.PopupTitle, "Print1", settings::TitleMenuPrint);
    m.Hide1 = item(m.PopupTitle, "Hide1", settings::TitleMenuHide);
    m.N2 = separator(m.PopupTitle, "N2");
    m.Close1 = item(m.PopupTitle, "Close1", settings::TitleMenuClose);
}

void buildBodyMenu(NoteMenus &m)
{
    m.PopUpNote = new QMenu;
    m.PopUpNote->setObjectName(QStringLiteral("PopUpNote"));
    m.Cut2 = bodyItem(m.PopUpNote, "Cut2", settings::BodyMenuCut, 'X');
    m.Copy2 = bodyItem(m.PopUpNote, "Copy2", settings::BodyMenuCopy, 'C');
    m.Paste2 = bodyItem(m.PopUpNote, "Paste2", settings::BodyMenuPaste, 'V');
    m.N7 = separator(m.PopUpNote, "N7");
    m.Undo1 = bodyItem(m.PopUpNote, "Undo1", settings::BodyMenuUndo, 'Z');
    m.Redo1 = bodyItem(m.PopUpNote, "Redo1", settings::BodyMenuRedo, 'Y');
    m.N5 = separator(m.PopUpNote, "N5");
    m.insertImage1 = item(m.PopUpNote, "insertImage1", settings::MenuInsertPicture);
    m.Font1 = bodyItem(m.PopUpNote, "Font1", settings::BodyMenuFont, 'F');
    m.Color1 = submenu(m.PopUpNote, "Color1", settings::BodyMenuBackColors);
    m.Black1 = bodyItem(m.Color1, "Black1", settings::BodyMenuYellow, 'Q');
    m.Red1 = bodyItem(m.Color1, "Red1", settings::BodyMenuRed, 'W');
    m.White1 = bodyItem(m.Color1, "White1", settings::BodyMenuCyan, 'E');
    m.Green1 = bodyItem(m.Color1, "Green1", settings::BodyMenuGreen, 'R');
    m.N4 = separator(m.Color1, "N4");
    m.None1 = bodyItem(m.Color1, "None1", settings::BodyMenuNoColor, 'T');
    m.Alignment1 = submenu(m.PopUpNote, "Alignment1", settings::BodyMenuAlignment);
    m.Left1 = item(m.Alignment1, "Left1", settings::BodyMenuLeft);
    m.Right1 = item(m.Alignment1, "Right1", settings::BodyMenuRight);
    m.Center1 = item(m.Alignment1, "Center1", settings::BodyMenuCenter);
    m.N6 = separator(m.PopUpNote, "N6");
    m.Apparence2 = submenu(m.PopUpNote, "Apparence2", settings::BodyMenuAppearance);
    m.Fonrt1 = item(m.Apparence2, "Fonrt1", settings::BodyMenuNoteFont);
    m.Background1 = item(m.Apparence2, "Background1", settings::BodyMenuNoteBackground);
    m.N8 = separator(m.PopUpNote, "N8");
    m.ObjectProperties1
        = item(m.PopUpNote, "ObjectProperties1", settings::BodyMenuObjectProperties);
}

SharedNoteMenus *g_menus = nullptr;

// With the application: its widgets must go before it does.
void deleteMenus()
{
    delete g_menus->items().PopupTitle;
    delete g_menus->items().PopUpNote;
    delete g_menus;
    g_menus = nullptr;
}

} // namespace

SharedNoteMenus::SharedNoteMenus()
{
    buildTitleMenu(m_items);
    buildBodyMenu(m_items);
    m_captionsFrom = &TReadRes::current();
}

SharedNoteMenus &SharedNoteMenus::get()
{
    if (!g_menus) {
        g_menus = new SharedNoteMenus;
        qAddPostRoutine(deleteMenus);
    }
    g_menus->applyCaptions();
    return *g_menus;
}

void SharedNoteMenus::applyCaptions()
{
    if (m_captionsFrom == &TReadRes::current())
        return;
    m_captionsFrom = &TReadRes::current();
    for (QMenu *menu : {m_items.PopupTitle, m_items.PopUpNote}) {
        for (QAction *action : menu->findChildren<QAction *>()) {
            const QVariant id = action->property(kCaptionId);
            if (id.isValid())
                action->setText(caption(settings::TextId(id.toInt())));
        }
    }
}

void SharedNoteMenus::aimAt(TSingolNote *note, bool onTop)
{
    m_target = note;
    m_items.Ontop1->setChecked(onTop);
}

QAction *SharedNoteMenus::bodyItemFor(const QKeySequence &pressed) const
{
    for (QAction *action : m_items.PopUpNote->findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed && action->isEnabled())
            return action;
    }
    return nullptr;
}

} // namespace note
