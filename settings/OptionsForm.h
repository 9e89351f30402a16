#pragma once

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QWidget;

namespace settings {

class SamplePanel;

// The controls of the options dialog, named as in the form, with their
// built-in English texts. The dialog replaces the translatable ones from the
// language table when it is created.
struct OptionsForm
{
    QTabWidget *pgSetup = nullptr;

    // Page "Jotlet": defaults of a new note.
    QWidget *TSJotlet = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *edTitleNote = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cbPosition = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *edWidth = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *edHeight = nullptr;
    QLabel *Label5 = nullptr;
    SamplePanel *panBack = nullptr;
    QLabel *Label6 = nullptr;
    SamplePanel *panTitle = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    SamplePanel *panNoteFont = nullptr;
    SamplePanel *panTitleFont = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    // Page "Language".
    QWidget *TSLanguage = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QTreeWidget *lvLang = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *edLanguage = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *edAuthor = nullptr;

    // Page "Advanced".
    QWidget *tsAdvanced = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QCheckBox *cbNewNotesOnTop = nullptr;
    QCheckBox *cbShowAllOnNewNote = nullptr;
    QCheckBox *cbRunAtWindows = nullptr;
    QGroupBox *gbLeftMouse = nullptr;
    QComboBox *cbAction = nullptr;

    QPushButton *btnApply = nullptr;
    QPushButton *btnCancel = nullptr;

    // Creates every control inside the dialog and lays them out.
    void setupUi(QDialog &dialog);

private:
    QWidget *buildJotletPage();
    QWidget *buildLanguagePage();
    QWidget *buildAdvancedPage();
};

} // namespace settings
