#pragma once

// The ids of the texts the program asks the language table for
// (TReadRes::GetText, uiText), named after where each text goes. Language
// files hold them under [Resource] by number, so the numbers never change.
// Ids not listed here are not asked for.
namespace settings {

enum TextId : int {
    // The tray menu.
    TrayNewNote = 0, // NewJotlet1
    TrayDesktop = 1, // Desktop1
    TrayShowAll = 2, // ShowAllJotlet1
    TrayHideAll = 3, // CloseAllJotlet1
    TrayOptions = 4, // Options1
    TrayDeleteAll = 5, // DeleteAllJotlet1
    TrayExit = 6, // Close1

    // A note's title menu.
    TitleMenuChangeTitle = 7, // Changetitle1
    TitleMenuInsertDateTime = 8, // Insertdatetime1
    TitleMenuHide = 9, // Hide1
    TitleMenuClose = 10, // Close1
    TitleHint = 11, // the hint of NoteTitle

    AboutOk = 16, // BContinue of the About window
    TrayAbout = 17, // About2

    // The status line of the About window while the notes load, and after.
    StatusLoadingStarts = 19,
    StatusCreatingFolder = 20,
    StatusLoadingNote = 21,
    StatusLoadingDone = 22,
    AboutNotesCount = 23, // after the number of notes and a blank

    TitleMenuChangeFont = 26, // ChangeFont1
    TitleMenuChangeColor = 27, // ChangeColor1
    TitleMenuAppearance = 28, // Apparence1
    TitleMenuOnTop = 29, // Ontop1

    // A note's body menu.
    BodyMenuCut = 30, // Cut2
    BodyMenuCopy = 31, // Copy2
    BodyMenuPaste = 32, // Paste2
    BodyMenuUndo = 33, // Undo1
    BodyMenuRedo = 34, // Redo1
    BodyMenuFont = 35, // Font1; also the font dialog's caption
    BodyMenuBackColors = 36, // Color1
    BodyMenuYellow = 37, // Black1
    BodyMenuRed = 38, // Red1
    BodyMenuCyan = 39, // White1
    BodyMenuGreen = 40, // Green1
    BodyMenuNoColor = 41, // None1
    BodyMenuAlignment = 42, // Alignment1
    BodyMenuLeft = 43, // Left1
    BodyMenuRight = 44, // Right1
    BodyMenuCenter = 45, // Center1
    BodyMenuAppearance = 46, // Apparence2
    BodyMenuNoteFont = 47, // Fonrt1
    BodyMenuNoteBackground = 48, // Background1

    TitleMenuPrint = 49, // Print1
    TitleMenuAlarms = 50, // Noteexpiration1

    // The alarm and expiration dialog.
    AlarmCaption = 51,
    AlarmExpirationPage = 52, // TabSheetExp
    AlarmExpirationLabel = 53, // lblExp
    AlarmExpirationDate = 54, // lblExpDate
    AlarmExpirationTime = 55, // lblExpTime
    AlarmExpirationEnabled = 56, // ExpEnabled
    AlarmAlarmLabel = 57, // lblAlarm
    AlarmAlarmDate = 58, // lblAlarmDate
    AlarmAlarmTime = 59, // lblAlarmTime
    AlarmAlarmEnabled = 60, // AlaEnabled
    AlarmOk = 61, // btnOk; also the font dialog's OK
    AlarmCancel = 62, // btnCancel; also the font dialog's Cancel

    MenuInsertPicture = 63, // InsertBitmap1 (title menu), insertImage1 (body menu)
    BodyMenuObjectProperties = 64, // ObjectProperties1

    DeleteAllQuestion = 72,

    // The options dialog.
    OptionsTitle = 73, // Label1
    OptionsPosition = 74, // Label2
    OptionsWidth = 75, // Label3
    OptionsHeight = 76, // Label4
    OptionsBackColor = 77, // Label5
    OptionsTitleBackColor = 78, // Label6
    OptionsChangeNoteFont = 79, // Button1
    OptionsChangeTitleFont = 80, // Button2
    OptionsSelectedLanguage = 81, // Label7
    OptionsAuthor = 82, // Label8
    // The five column headings of lvLang, in column order.
    OptionsLanguageColumns = 84, // "Language", "Filename", "Author", "Ver.", "Email": 84 to 88
    OptionsNoteFontSample = 89, // panNoteFont
    OptionsTitleFontSample = 90, // panTitleFont
    // The six entries of cbPosition, in placement order: "Casual" to
    // "Screen Bottom", 91 to 96.
    OptionsPositions = 91,

    CloseQuestion = 97, // before a note is closed for good

    OptionsNewNotesOnTop = 98, // cbNewNotesOnTop
    OptionsShowAllOnNewNote = 99, // cbShowAllOnNewNote
    OptionsLeftClickAction = 100, // gbLeftMouse
    OptionsActionNewNote = 101, // first entry of cbAction
    OptionsActionShowAll = 102, // second entry of cbAction
    OptionsAdvancedPage = 103, // tsAdvanced
    OptionsRunAtStartup = 104, // cbRunAtWindows
};

} // namespace settings
