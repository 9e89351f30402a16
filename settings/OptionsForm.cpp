#include "settings/OptionsForm.h"

#include "settings/SamplePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace settings {
namespace {

template<typename Widget, typename... Args> Widget *named(const char *name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(const char *name, const char *text, QWidget *buddy)
{
    auto *widget = named<QLabel>(name, QLatin1String(text));
    widget->setBuddy(buddy);
    return widget;
}

QLineEdit *readOnlyEdit(const char *name)
{
    auto *edit = named<QLineEdit>(name);
    edit->setReadOnly(true);
    return edit;
}

// The language list: a report with grid lines, whole rows selected.
QTreeWidget *languageList()
{
    auto *list = named<QTreeWidget>("lvLang");
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setHeaderLabels({QStringLiteral("Language"), QStringLiteral("Filename"),
                           QStringLiteral("Author"), QStringLiteral("Ver."),
                           QStringLiteral("Email")});
    const int widths[] = {100, 100, 100, 40, 150};
    for (int column = 0; column < 5; ++column)
        list->setColumnWidth(column, widths[column]);
    list->header()->setStretchLastSection(false);
    // A style sheet for the items takes over their whole look: the selected
    // row needs its colours said too, or its text is drawn in the highlight.
    list->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid);"
                                       " border-bottom: 1px solid palette(mid); }"
                                       " QTreeView::item:selected { background: palette(highlight);"
                                       " color: palette(highlighted-text); }"));
    return list;
}

} // namespace

void OptionsForm::setupUi(QDialog &dialog)
{
    pgSetup = named<QTabWidget>("pgSetup");
    pgSetup->addTab(buildJotletPage(), QStringLiteral("Jotlet"));
    pgSetup->addTab(buildLanguagePage(), QStringLiteral("Language"));
    pgSetup->addTab(buildAdvancedPage(), QStringLiteral("Advanced"));

    btnApply = named<QPushButton>("btnApply", QStringLiteral("&Ok"));
    btnApply->setDefault(true);
    btnCancel = named<QPushButton>("btnCancel", QStringLiteral("&Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnApply);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pgSetup);
    layout->addLayout(buttons);
}

QWidget *OptionsForm::buildJotletPage()
{
    TSJotlet = named<QWidget>("TSJotlet");

    GroupBox1 = named<QGroupBox>("GroupBox1", QStringLiteral("Default values on a new note"));
    edTitleNote = named<QLineEdit>("edTitleNote");
    cbPosition = named<QComboBox>("cbPosition");
    cbPosition->setEditable(true);
    // Typed text names a placement only when it matches an entry; never add it.
    cbPosition->setInsertPolicy(QComboBox::NoInsert);
    cbPosition->addItems({QStringLiteral("Casual"), QStringLiteral("Screen Center"),
                          QStringLiteral("Left Border"), QStringLiteral("Right Border"),
                          QStringLiteral("Top Border"), QStringLiteral("Screen Bottom")});
    edWidth = named<QLineEdit>("edWidth");
    edHeight = named<QLineEdit>("edHeight");
    panBack = new SamplePanel(QStringLiteral("panBack"));
    panTitle = new SamplePanel(QStringLiteral("panTitle"));
    Label1 = label("Label1", "Title:", edTitleNote);
    Label2 = label("Label2", "Position:", cbPosition);
    Label3 = label("Label3", "Width:", edWidth);
    Label4 = label("Label4", "Height:", edHeight);
    Label5 = label("Label5", "Background color:", panBack);
    Label6 = label("Label6", "Title background:", panTitle);

    auto *values = new QGridLayout(GroupBox1);
    values->addWidget(Label1, 0, 0);
    values->addWidget(edTitleNote, 0, 1, 1, 3);
    values->addWidget(Label2, 1, 0);
    values->addWidget(cbPosition, 1, 1, 1, 3);
    values->addWidget(Label3, 2, 0);
    values->addWidget(edWidth, 2, 1);
    values->addWidget(Label4, 2, 2);
    values->addWidget(edHeight, 2, 3);
    values->addWidget(Label5, 3, 0);
    values->addWidget(panBack, 3, 1);
    values->addWidget(Label6, 3, 2);
    values->addWidget(panTitle, 3, 3);

    GroupBox2 = named<QGroupBox>("GroupBox2", QStringLiteral("Default Fonts on a new note"));
    panNoteFont = new SamplePanel(QStringLiteral("panNoteFont"));
    panNoteFont->setCaption(QStringLiteral("Note font sample"));
    panTitleFont = new SamplePanel(QStringLiteral("panTitleFont"));
    panTitleFont->setCaption(QStringLiteral("Title font sample"));
    Button1 = named<QPushButton>("Button1", QStringLiteral("Change note font"));
    Button2 = named<QPushButton>("Button2", QStringLiteral("Change title font"));
    auto *fonts = new QGridLayout(GroupBox2);
    fonts->addWidget(panNoteFont, 0, 0);
    fonts->addWidget(Button1, 0, 1);
    fonts->addWidget(panTitleFont, 1, 0);
    fonts->addWidget(Button2, 1, 1);
    fonts->setColumnStretch(0, 1);

    auto *page = new QVBoxLayout(TSJotlet);
    page->addWidget(GroupBox1);
    page->addWidget(GroupBox2, 1);
    return TSJotlet;
}

QWidget *OptionsForm::buildLanguagePage()
{
    TSLanguage = named<QWidget>("TSLanguage");
    GroupBox3 = named<QGroupBox>("GroupBox3", QStringLiteral("Language Selection"));
    lvLang = languageList();
    edLanguage = readOnlyEdit("edLanguage");
    edAuthor = readOnlyEdit("edAuthor");
    Label7 = label("Label7", "Selected Language:", edLanguage);
    Label8 = label("Label8", "Author:", edAuthor);

    auto *chosen = new QGridLayout;
    chosen->addWidget(Label7, 0, 0);
    chosen->addWidget(edLanguage, 0, 1);
    chosen->addWidget(Label8, 1, 0);
    chosen->addWidget(edAuthor, 1, 1);
    auto *group = new QVBoxLayout(GroupBox3);
    group->addWidget(lvLang, 1);
    group->addLayout(chosen);

    auto *page = new QVBoxLayout(TSLanguage);
    page->addWidget(GroupBox3);
    return TSLanguage;
}

QWidget *OptionsForm::buildAdvancedPage()
{
    tsAdvanced = named<QWidget>("tsAdvanced");
    GroupBox4 = named<QGroupBox>("GroupBox4", QStringLiteral("Advanced options"));
    cbNewNotesOnTop
        = named<QCheckBox>("cbNewNotesOnTop", QStringLiteral("Show new notes 'on top'"));
    cbShowAllOnNewNote = named<QCheckBox>("cbShowAllOnNewNote",
                                          QStringLiteral("Show all notes on new note creation"));
    cbRunAtWindows = named<QCheckBox>("cbRunAtWindows", QStringLiteral("Run at windows startup"));
    auto *switches = new QVBoxLayout(GroupBox4);
    switches->addWidget(cbNewNotesOnTop);
    switches->addWidget(cbShowAllOnNewNote);
    switches->addWidget(cbRunAtWindows);

    gbLeftMouse = named<QGroupBox>("gbLeftMouse",
                                   QStringLiteral("Left mouse button click on tray icon action:"));
    cbAction = named<QComboBox>("cbAction");
    cbAction->addItems({QStringLiteral("Create new note"), QStringLiteral("Show all notes")});
    auto *action = new QVBoxLayout(gbLeftMouse);
    action->addWidget(cbAction);

    auto *page = new QVBoxLayout(tsAdvanced);
    page->addWidget(GroupBox4);
    page->addWidget(gbLeftMouse);
    page->addStretch();
    return tsAdvanced;
}

} // namespace settings
