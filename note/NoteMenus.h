#pragma once

#include <QKeySequence>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;
class TSingolNote;

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

// One set of both menus for every note: a few dozen items built once, not
// once per note. Built at first use, with the captions of the language
// table in force (and given those of a later one); gone with the
// application. An item acts on the note the menus were last aimed at.
class SharedNoteMenus
{
public:
    static SharedNoteMenus &get();

    // Every item is named as its field, so it can be found by name.
    const NoteMenus &items() const { return m_items; }
    // The note whose commands the items run from now on, with its on-top
    // mark shown on the item.
    void aimAt(TSingolNote *note, bool onTop);
    TSingolNote *target() const { return m_target; }
    // The body menu's item for a key press (its Ctrl+letter), or none.
    QAction *bodyItemFor(const QKeySequence &pressed) const;

private:
    SharedNoteMenus();
    void applyCaptions();

    NoteMenus m_items;
    QPointer<TSingolNote> m_target;
    const void *m_captionsFrom = nullptr;
};

} // namespace note
