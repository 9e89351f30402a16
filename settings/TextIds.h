#pragma once

// The ids of the texts the program asks the language table for
// (TReadRes::GetText, uiText), named after where each text goes. Language
// files hold them under [Resource] by number, so the numbers never change:
// each group starts at its number, its members follow one by one (each
// line's comment gives the number and the control), and the check below
// holds every group's last number. Ids not listed here are not asked for.
namespace settings {

enum TextId : int {
    // The tray menu.
    TrayNewNote = 0, // 0 NewJotlet1
    TrayDesktop, // 1 Desktop1
    TrayShowAll, // 2 ShowAllJotlet1
    TrayHideAll, // 3 CloseAllJotlet1
    TrayOptions, // 4 Options1
    TrayDeleteAll, // 5 DeleteAllJotlet1
    TrayExit, // 6 Close1
    TrayAllNotes = 12, // 12 AllNotes1; also the notes window's caption
    TrayAbout = 17, // 17 About2
    DeleteAllQuestion = 72, // 72 the confirmation before all notes are deleted

    // A note's title: its hint and its menu.
    TitleMenuChangeTitle = 7, // 7 Changetitle1
    TitleMenuInsertDateTime, // 8 Insertdatetime1
    TitleMenuHide, // 9 Hide1
    TitleMenuClose, // 10 Close1
    TitleHint, // 11 the hint of NoteTitle
    TitleMenuChangeFont = 26, // 26 ChangeFont1
    TitleMenuChangeColor, // 27 ChangeColor1
    TitleMenuAppearance, // 28 Apparence1
    TitleMenuOnTop, // 29 Ontop1
    TitleMenuPrint = 49, // 49 Print1
    TitleMenuAlarms, // 50 Noteexpiration1
    MenuInsertPicture = 63, // 63 InsertBitmap1 (title menu) and insertImage1 (body menu)
    CloseQuestion = 97, // 97 the confirmation before a note is closed for good

    // A note's body menu.
    BodyMenuCut = 30, // 30 Cut2
    BodyMenuCopy, // 31 Copy2
    BodyMenuPaste, // 32 Paste2
    BodyMenuUndo, // 33 Undo1
    BodyMenuRedo, // 34 Redo1
    BodyMenuFont, // 35 Font1; also the font dialog's caption
    BodyMenuBackColors, // 36 Color1
    BodyMenuYellow, // 37 Black1
    BodyMenuRed, // 38 Red1
    BodyMenuCyan, // 39 White1
    BodyMenuGreen, // 40 Green1
    BodyMenuNoColor, // 41 None1
    BodyMenuAlignment, // 42 Alignment1
    BodyMenuLeft, // 43 Left1
    BodyMenuRight, // 44 Right1
    BodyMenuCenter, // 45 Center1
    BodyMenuAppearance, // 46 Apparence2
    BodyMenuNoteFont, // 47 Fonrt1
    BodyMenuNoteBackground, // 48 Background1
    BodyMenuObjectProperties = 64, // 64 ObjectProperties1

    // The About window, which also shows how the loading of the notes goes.
    AboutOk = 16, // 16 BContinue
    StatusLoadingStarts = 19, // 19 LOptions when loading begins
    StatusCreatingFolder, // 20 LOptions when the note folder is created
    StatusLoadingNote, // 21 LOptions before each note file
    StatusLoadingDone, // 22 LOptions when all notes are loaded
    AboutNotesCount, // 23 LOptions, after the number of notes and a blank

    // The alarm and expiration dialog.
    AlarmCaption = 51, // 51 the caption
    AlarmExpirationPage, // 52 TabSheetExp
    AlarmExpirationLabel, // 53 lblExp
    AlarmExpirationDate, // 54 lblExpDate
    AlarmExpirationTime, // 55 lblExpTime
    AlarmExpirationEnabled, // 56 ExpEnabled
    AlarmAlarmLabel, // 57 lblAlarm
    AlarmAlarmDate, // 58 lblAlarmDate
    AlarmAlarmTime, // 59 lblAlarmTime
    AlarmAlarmEnabled, // 60 AlaEnabled
    AlarmOk, // 61 btnOk; also the font dialog's OK
    AlarmCancel, // 62 btnCancel; also the font dialog's Cancel

    // The notes window.
    NotesSearch = 13, // 13 the search field's placeholder
    NotesShow, // 14 the Show button
    NotesHide, // 15 the Hide button
    NotesCloseForGood = 18, // 18 the Close for good button
    NotesHidden = 24, // 24 the mark of a hidden note
    NotesRolledUp, // 25 the mark of a rolled-up note
    NotesOnTop = 65, // 65 the mark of a note kept on top
    NotesAlarm, // 66 before the time of an alarm still to go off
    NotesExpires, // 67 before the time of an expiration
    NotesNoMatch, // 68 in the empty list when no note matches
    NotesNoNotes, // 69 in the empty list when there are no notes
    NotesUntitled, // 70 the title of a note without one
    NotesCloseWindow, // 71 the Close button
    NotesKeysHint = 83, // 83 the keys below the list

    // The options dialog.
    OptionsTitle = 73, // 73 Label1
    OptionsPosition, // 74 Label2
    OptionsWidth, // 75 Label3
    OptionsHeight, // 76 Label4
    OptionsBackColor, // 77 Label5
    OptionsTitleBackColor, // 78 Label6
    OptionsChangeNoteFont, // 79 Button1
    OptionsChangeTitleFont, // 80 Button2
    OptionsSelectedLanguage, // 81 Label7
    OptionsAuthor, // 82 Label8
    // 84 to 88: the five column headings of lvLang, in column order
    // ("Language", "Filename", "Author", "Ver.", "Email").
    OptionsLanguageColumns = 84,
    OptionsNoteFontSample = 89, // 89 panNoteFont
    OptionsTitleFontSample, // 90 panTitleFont
    // 91 to 96: the six entries of cbPosition, in placement order ("Casual"
    // to "Screen Bottom").
    OptionsPositions,
    OptionsNewNotesOnTop = 98, // 98 cbNewNotesOnTop
    OptionsShowAllOnNewNote, // 99 cbShowAllOnNewNote
    OptionsLeftClickAction, // 100 gbLeftMouse
    OptionsActionNewNote, // 101 first entry of cbAction
    OptionsActionShowAll, // 102 second entry of cbAction
    OptionsAdvancedPage, // 103 tsAdvanced
    OptionsRunAtStartup, // 104 cbRunAtWindows
};

static_assert(TrayExit == 6 && NotesHide == 15 && NotesRolledUp == 25 && NotesCloseWindow == 71
                  && TitleHint == 11 && TitleMenuOnTop == 29 && TitleMenuAlarms == 50
                  && BodyMenuNoteBackground == 48 && AboutNotesCount == 23 && AlarmCancel == 62
                  && OptionsAuthor == 82 && OptionsPositions == 91 && OptionsRunAtStartup == 104,
              "the ids are the numbers of the language files");

} // namespace settings
