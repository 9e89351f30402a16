#pragma once

class QAction;
class QMenu;
class TReadRes;

namespace app {

// The tray icon's menu `PopupMenuPrinc`, top to bottom, with the English
// design captions until applyCaptions puts in those of the language table.
// It owns the menu (a menu without a parent widget is a window of its own).
class MainMenu
{
public:
    MainMenu();
    ~MainMenu();
    MainMenu(const MainMenu &) = delete;
    MainMenu &operator=(const MainMenu &) = delete;

    void applyCaptions(const TReadRes &texts);

    QMenu *const PopupMenuPrinc;
    QAction *const NewJotlet1;
    QMenu *const Desktop1;
    QAction *const ShowAllJotlet1;
    QAction *const CloseAllJotlet1;
    QAction *const AllNotes1; // the notes window
    QAction *const Options1;
    QAction *const DeleteAllJotlet1;
    QAction *const About2;
    QAction *const N1;
    QAction *const Close1;
};

} // namespace app
