#pragma once

class QAction;
class QMenu;
class QWidget;

namespace note {

// The two popup menus of a note, item by item. Captions come from the UI
// string table; the body menu's shortcuts work while the body has the focus.
struct NoteMenus
{
    // The title strip's menu.
    QMenu *PopupTitle = nullptr;
    QMenu *Apparence1 = nullptr;
    QAction *Changetitle1 = nullptr;
    QAction *ChangeFont1 = nullptr;
    QAction *ChangeColor1 = nullptr;
    QAction *N3 = nullptr;
    QAction *Ontop1 = nullptr; // checkable, follows the note's OnTop
    QAction *Insertdatetime1 = nullptr;
    QAction *Noteexpiration1 = nullptr;
    QAction *N1 = nullptr;
    QAction *InsertBitmap1 = nullptr;
    QAction *Print1 = nullptr;
    QAction *Hide1 = nullptr;
    QAction *N2 = nullptr;
    QAction *Close1 = nullptr;

    // The body's menu.
    QMenu *PopUpNote = nullptr;
    QAction *Cut2 = nullptr;
    QAction *Copy2 = nullptr;
    QAction *Paste2 = nullptr;
    QAction *N7 = nullptr;
    QAction *Undo1 = nullptr;
    QAction *Redo1 = nullptr;
    QAction *N5 = nullptr;
    QAction *insertImage1 = nullptr;
    QAction *Font1 = nullptr;
    QMenu *Color1 = nullptr;
    QAction *Black1 = nullptr;
    QAction *Red1 = nullptr;
    QAction *White1 = nullptr;
    QAction *Green1 = nullptr;
    QAction *N4 = nullptr;
    QAction *None1 = nullptr;
    QMenu *Alignment1 = nullptr;
    QAction *Left1 = nullptr;
    QAction *Right1 = nullptr;
    QAction *Center1 = nullptr;
    QAction *N6 = nullptr;
    QMenu *Apparence2 = nullptr;
    QAction *Fonrt1 = nullptr;
    QAction *Background1 = nullptr;
    QAction *N8 = nullptr;
    QAction *ObjectProperties1 = nullptr;
};

// Builds both menus owned by `owner`; the body menu's shortcuts are bound to
// `body`. Every item is named as its field, so it can be found by name.
NoteMenus buildNoteMenus(QWidget *owner, QWidget *body);

} // namespace note
