// A note's two files: the record of tagged fields and the body as rich text.
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/ScreenFit.h"
#include "platform/Errors.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "ui/BodyText.h"
#include "ui/ColorRef.h"
#include "ui/NoteText.h"
#include "ui/QuietShow.h"

storage::NoteRecord TSingolNote::record() const
{
    // The fields the window does not hold, then what it shows.
    storage::NoteRecord r = m_record;
    r.left = x();
    r.top = y();
    r.width = quint16(width());
    r.height = quint16(height());
    r.title = NoteTitle->text();
    r.lines = bodyLines();
    r.visible = m_parked ? m_parkedVisible : isVisible();
    r.backColor = NotePanel->colorRef();
    r.titleColor = NoteTitle->colorRef();
    r.bodyFont = bodyFont();
    r.titleFont = NoteTitle->fontDesc();
    return r;
}

namespace {

// The user has many notes: the message says which one, in their words.
QString failedSave(bool discarded, const QString &title, const QString &reason)
{
    const QString text = discarded ? QStringLiteral("The note \"%1\" could not be deleted: %2")
                                   : QStringLiteral("The note \"%1\" could not be saved: %2");
    return text.arg(title, reason);
}

} // namespace

bool TSingolNote::filesChangedElsewhere() const
{
    if (!m_knownFiles)
        return false;
    const storage::PairIdentity now = storage::pairIdentity(notePath());
    // Something else in the note's place (a link, a folder) is no version
    // of it: a save replaces it, or fails on it, as ever.
    return now != *m_knownFiles && (now.isVersion() || !now.exists());
}

void TSingolNote::SaveNote()
{
    // The note folder may be kept in sync with other computers: files that
    // someone else wrote or removed since this note last read or wrote them
    // are never written over, and never deleted.
    if (filesChangedElsewhere()) {
        const bool removed = !storage::pairIdentity(notePath()).exists();
        if (m_discarded || !hasUnsavedChanges()) {
            // Nothing of this side's to keep: the files as they are now
            // stand (the folder's watch reloads the note or lets it go).
            m_goneElsewhere = removed && !m_discarded;
            return;
        }
        // A note removed elsewhere while it was being edited here comes back
        // with the edit; one changed on both sides is kept twice.
        if (!removed)
            forkToNewFiles();
        m_knownFiles.reset();
    }
    const QString path = notePath();
    try {
        if (m_discarded) {
            storage::deleteNoteFiles(path);
        } else {
            matchPlaceOnScreen();
            // The body first: it is the larger file and the one holding what
            // was typed, so a full disk stops the save before either file
            // has changed.
            NoteText->saveToFile(storage::companionPath(path));
            storage::writeNoteFile(path, record());
        }
    } catch (const EInOutError &e) {
        throw EInOutError(failedSave(m_discarded, NoteTitle->text(), e.message()));
    } catch (const EConvertError &e) {
        throw EConvertError(failedSave(m_discarded, NoteTitle->text(), e.message()));
    }
    m_knownFiles = storage::pairIdentity(path);
    m_goneElsewhere = false;
    forgetChanges();
    Q_EMIT noteSaved();
}

void TSingolNote::forkToNewFiles()
{
    const notegeometry::RandomDraw draw = [this](int bound) {
        return randomBelow(bound);
    };
    m_noteFileName = storage::newNoteFileName(m_noteFolder, draw);
    // A step aside, so that the other version, which takes this place when
    // it loads, does not hide this one.
    move(pos() + QPoint(kForkOffset, kForkOffset));
}

void TSingolNote::LoadNote(const QString &fileName)
{
    const QString path = m_noteFolder + QLatin1Char('/') + fileName;
    // Taken first: a change while the files are read shows as one after.
    const storage::PairIdentity reading = storage::pairIdentity(path);
    const storage::NoteRecord loaded
        = storage::readNoteFile(path, record(), size(), note::primaryScreenSize());
    loadBody(loaded, storage::companionPath(path));
    m_noteFileName = fileName;
    applyRecord(loaded);
    // Notes coming back at start-up do not take the focus one after another
    // from whatever the user is doing (and each would be saved as it lost it).
    if (loaded.visible)
        ui::showWithoutActivating(this);
    else
        hide();
    // What was just read is what the files hold.
    m_knownFiles = reading;
    m_goneElsewhere = false;
    forgetChanges();
    // Loaded again in place, it may read differently in a listing.
    Q_EMIT changed();
}

void TSingolNote::loadBody(const storage::NoteRecord &loaded, const QString &companion)
{
    // A hidden note's body waits for its editor; its file is read now all
    // the same, so that an unreadable one fails the load as it always did.
    const bool waits = !loaded.visible && !NoteText.made();
    // A link in the body's place, even one leading nowhere, is refused by
    // the read below rather than taken for a missing body.
    if (!storage::entryExists(companion)) {
        if (waits) {
            m_waitingBody.lines = loaded.lines;
            m_waitingBody.file.reset();
        } else {
            NoteText->setLines(loaded.lines);
        }
        return;
    }
    // The body font comes first: loaded text in that font must follow it
    // when it changes later.
    const storage::FontDesc previousFont = bodyFont();
    setBodyFont(loaded.bodyFont);
    try {
        if (waits)
            m_waitingBody.file = ui::readBodyFile(companion);
        else
            NoteText->loadFromFile(companion);
    } catch (...) {
        setBodyFont(previousFont);
        throw;
    }
}

void TSingolNote::applyRecord(const storage::NoteRecord &r)
{
    applyWindowSize(r.width, r.height);
    // The file keeps its place until the note is next saved; only the window
    // comes back into view when its monitor is gone.
    move(note::keepOnScreen(QRect(QPoint(r.left, r.top), size()), note::desktopScreens()));
    NoteTitle->setText(r.title);
    setBackColorRef(r.backColor);
    NoteTitle->setColorRef(r.titleColor);
    setBodyFont(r.bodyFont);
    NoteTitle->setFontDesc(r.titleFont);
    // The widgets show the rest; the record keeps what they do not.
    m_record = r;
    SetOnTop(r.onTop);
    LayoutBody();
}
