// The commands of a note's two popup menus and the body's mouse events. None
// of them marks the note modified or saves it, except "Close", which deletes
// the note's files at once.
#include "note/LocalFormats.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteServices.h"
#include "note/unExpiration.h"
#include "platform/Errors.h"
#include "settings/DResource.h"
#include "settings/TextIds.h"
#include "storage/DateTime.h"
#include "ui/ColorRef.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"
#include "ui/Links.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QPrinter>
#include <QStandardPaths>

namespace {

const QString kNoPrinterTitle
    = QStringLiteral("There is no printer: save the note as a PDF document");

// A folder of the user's (Pictures, Documents), or the home folder where
// the desktop has none.
QString userFolder(QStandardPaths::StandardLocation location)
{
    const QString folder = QStandardPaths::writableLocation(location);
    return QDir(folder).exists() ? folder : QDir::homePath();
}

// A note's title as a file name: no folder separators, never empty.
QString fileNameFor(QString title)
{
    title.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QChar(0), QLatin1Char(' '));
    title = title.trimmed();
    return title.isEmpty() || title.startsWith(QLatin1Char('.')) ? QStringLiteral("Note") : title;
}

// The "Back colors" highlights, as colour values.
constexpr qint32 kHighlightYellow = 0x0000FFFF;
constexpr qint32 kHighlightRed = 0x000000FF;
constexpr qint32 kHighlightCyan = 0x00FFFF00;
constexpr qint32 kHighlightGreen = 0x00008000;

} // namespace

void TSingolNote::connectSharedMenus()
{
    // Whatever a command changes (a colour, a font, the alarm), the note
    // writes itself soon after; one that changed nothing writes nothing. A
    // command that opened a window (a dialog, a message) gives the keyboard
    // back to the note once it is closed.
    using Command = void (TSingolNote::*)();
    const note::NoteMenus &m = note::SharedNoteMenus::get().items();
    const std::pair<QAction *, Command> items[] = {
        {m.Changetitle1, &TSingolNote::Changetitle1Click},
        {m.ChangeFont1, &TSingolNote::ChangeFont1Click},
        {m.ChangeColor1, &TSingolNote::ChangeColor1Click},
        {m.Ontop1, &TSingolNote::Ontop1Click},
        {m.Insertdatetime1, &TSingolNote::Insertdatetime1Click},
        {m.Noteexpiration1, &TSingolNote::Noteexpiration1Click},
        {m.InsertBitmap1, &TSingolNote::insertImage1Click},
        {m.Print1, &TSingolNote::Print1Click},
        {m.Hide1, &TSingolNote::Hide1Click},
        {m.Close1, &TSingolNote::Close1Click},
        {m.Cut2, &TSingolNote::Cut2Click},
        {m.Copy2, &TSingolNote::Copy2Click},
        {m.Paste2, &TSingolNote::Paste2Click},
        {m.Undo1, &TSingolNote::Undo1Click},
        {m.Redo1, &TSingolNote::Redo1Click},
        {m.insertImage1, &TSingolNote::insertImage1Click},
        {m.Font1, &TSingolNote::Font1Click},
        {m.Black1, &TSingolNote::Black1Click},
        {m.Red1, &TSingolNote::Red1Click},
        {m.White1, &TSingolNote::White1Click},
        {m.Green1, &TSingolNote::Green1Click},
        {m.None1, &TSingolNote::None1Click},
        {m.Left1, &TSingolNote::Left1Click},
        {m.Right1, &TSingolNote::Right1Click},
        {m.Center1, &TSingolNote::Center1Click},
        {m.Fonrt1, &TSingolNote::Fonrt1Click},
        {m.Background1, &TSingolNote::Background1Click},
        {m.ObjectProperties1, &TSingolNote::ObjectProperties1Click},
    };
    for (const auto &[action, command] : items) {
        QObject::connect(action, &QAction::triggered, action, [command = command] {
            if (TSingolNote *note = note::SharedNoteMenus::get().target())
                note->runCommand(command);
        });
    }
}

void TSingolNote::runCommand(void (TSingolNote::*command)())
{
    const int windowsBefore = dialogs::modalWindowsShown();
    ui::runGuarded(this, [this, command] { (this->*command)(); });
    noteChanged();
    if (dialogs::modalWindowsShown() != windowsBefore && isVisible() && !m_discarded)
        takeFocus();
}

void TSingolNote::aimMenus()
{
    note::SharedNoteMenus::get().aimAt(this, m_record.onTop);
}

void TSingolNote::runMenuItem(QAction *item)
{
    aimMenus();
    item->trigger();
}

void TSingolNote::connectCommands()
{
    // The menus are everybody's: their items reach the note they are aimed at.
    static const bool connected = [] {
        connectSharedMenus();
        return true;
    }();
    Q_UNUSED(connected);
}

void TSingolNote::connectBodyCommands(ui::NoteText *body)
{
    connect(body, &ui::NoteText::mousePressed, this,
            [this](Qt::MouseButton button, const QPoint &at) {
                ui::runGuarded(this, [&] { NoteTextMouseDown(button, at); });
            });
    connect(body, &ui::NoteText::linkClicked, this,
            [this](const QString &link, Qt::MouseButton button) {
                ui::runGuarded(this, [&] { NoteTextURLClick(link, button); });
            });
}

// The body's own editing keys would take some of the menu's shortcuts (on
// X11, Ctrl+E moves to the end of the line): the menu's come first.
bool TSingolNote::bodyShortcutPressed(const QKeyEvent &event)
{
    QAction *item = note::SharedNoteMenus::get().bodyItemFor(QKeySequence(event.keyCombination()));
    if (!item)
        return false;
    runMenuItem(item);
    return true;
}

// Title strip menu.

void TSingolNote::ChangeFont1Click()
{
    if (const std::optional<storage::FontDesc> font
        = dialogs::chooseFont(this, NoteTitle->fontDesc()))
        NoteTitle->setFontDesc(*font);
}

void TSingolNote::ChangeColor1Click()
{
    if (const std::optional<QColor> color
        = dialogs::chooseColor(this, ui::colorFromRef(NoteTitle->colorRef())))
        NoteTitle->setColorRef(ui::colorToRef(*color));
}

void TSingolNote::Insertdatetime1Click()
{
    NoteText->appendLine(note::dateTimeLine(m_services->now()));
}

void TSingolNote::Noteexpiration1Click()
{
    TFRMExpiration dialog(this);
    dialog.fill(alarms(), m_services->now());
    if (dialog.execute() == QDialog::Accepted)
        setAlarms(dialog.values());
}

void TSingolNote::insertImage1Click()
{
    // The classic filter first, then every kind of picture the body reads.
    const QString file = dialogs::chooseOpenFile(
        this, QStringLiteral("All (*.bmp);;Pictures (*.png *.jpg *.jpeg *.gif *.bmp)"),
        userFolder(QStandardPaths::PicturesLocation));
    if (!file.isEmpty())
        InsertPicture(file);
}

void TSingolNote::InsertPicture(const QString &fileName)
{
    QImage image;
    try {
        image = ui::readPictureFile(fileName);
    } catch (const Error &e) {
        throw EInOutError(
            QStringLiteral("Cannot insert the picture \"%1\": %2").arg(fileName, e.message()));
    }
    NoteText->insertPicture(image);
    NoteText->viewport()->update();
}

void TSingolNote::Print1Click()
{
    std::unique_ptr<QPrinter> printer = m_services->printer();
    if (!printer) {
        // Without a printer the note can still be kept, or printed later, as
        // a document.
        const QString file = dialogs::chooseSaveFile(
            this, kNoPrinterTitle, QStringLiteral("PDF (*.pdf)"),
            userFolder(QStandardPaths::DocumentsLocation) + QLatin1Char('/')
                + fileNameFor(NoteTitle->text()) + QStringLiteral(".pdf"));
        if (file.isEmpty())
            return;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    }
    printer->setPrintRange(QPrinter::AllPages);
    NoteText->printBody(*printer, NoteTitle->text());
}

void TSingolNote::Hide1Click()
{
    hide();
}

void TSingolNote::Close1Click()
{
    closeForGood(this);
}

bool TSingolNote::closeForGood(QWidget *asker)
{
    if (m_discarded
        || !dialogs::confirm(asker, TReadRes::current().GetText(settings::CloseQuestion)))
        return false;
    discard();
    close();
    return true;
}

// Body menu.

void TSingolNote::Cut2Click()
{
    NoteText->cut();
}

void TSingolNote::Copy2Click()
{
    NoteText->copy();
}

void TSingolNote::Paste2Click()
{
    NoteText->paste();
}

void TSingolNote::Undo1Click()
{
    NoteText->undoStep();
}

void TSingolNote::Redo1Click()
{
    NoteText->redoStep();
}

void TSingolNote::Font1Click()
{
    if (const std::optional<storage::FontDesc> font
        = dialogs::chooseFont(this, NoteText->selectionFont()))
        NoteText->setSelectionFont(*font);
}

void TSingolNote::setHighlight(qint32 color)
{
    NoteText->setSelectionHighlight(ui::colorFromRef(color));
}

void TSingolNote::Black1Click()
{
    setHighlight(kHighlightYellow);
}

void TSingolNote::Red1Click()
{
    setHighlight(kHighlightRed);
}

void TSingolNote::White1Click()
{
    setHighlight(kHighlightCyan);
}

void TSingolNote::Green1Click()
{
    setHighlight(kHighlightGreen);
}

void TSingolNote::None1Click()
{
    // The back colour of this moment, kept if the back colour changes later.
    setHighlight(ui::colorToRef(NoteText->backColor()));
}

void TSingolNote::Left1Click()
{
    NoteText->setAlignment(Qt::AlignLeft);
}

void TSingolNote::Right1Click()
{
    NoteText->setAlignment(Qt::AlignRight);
}

void TSingolNote::Center1Click()
{
    NoteText->setAlignment(Qt::AlignHCenter);
}

void TSingolNote::Fonrt1Click()
{
    if (const std::optional<storage::FontDesc> font
        = dialogs::chooseFont(this, NoteText->bodyFont()))
        NoteText->setBodyFont(*font);
}

void TSingolNote::Background1Click()
{
    const std::optional<QColor> color
        = dialogs::chooseColor(this, ui::colorFromRef(NotePanel->colorRef()));
    if (!color)
        return;
    const qint32 back = ui::colorToRef(*color);
    NotePanel->setColorRef(back);
    NoteText->setBackColor(ui::colorFromRef(back));
}

void TSingolNote::ObjectProperties1Click()
{
    NoteText->editObjectProperties();
}

// Body events.

void TSingolNote::NoteTextMouseDown(Qt::MouseButton button, const QPoint &position)
{
    if (button == Qt::RightButton) {
        aimMenus();
        Menus.PopUpNote->popup(NoteText->mapToGlobal(position));
    }
}

void TSingolNote::NoteTextURLClick(const QString &linkText, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    // Only web and mail addresses open: a note must not start a program.
    const QUrl url = ui::linkUrl(linkText);
    if (!url.isEmpty())
        m_services->openUrl(url);
}
