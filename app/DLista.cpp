#include "app/DLista.h"

#include "note/Note.h"
#include "ui/Guarded.h"

#include <new>

namespace {

// Runs step for every note, going on after a failure; the failures are
// raised together at the end.
template<typename Step> void forEachCollectingErrors(int count, const Step &step)
{
    QStringList failures;
    for (int i = 0; i < count; ++i) {
        try {
            step(i);
        } catch (const Error &e) {
            failures.append(e.message());
        }
    }
    if (!failures.isEmpty())
        throw Error(failures.join(QLatin1Char('\n')));
}

} // namespace

TVeskLista::TVeskLista(note::SharedServices services)
    : m_services(std::move(services))
    , m_notes(std::in_place)
{
}

TVeskLista::~TVeskLista()
{
    ui::runGuarded(nullptr, [this] { destroy(); });
}

int TVeskLista::count() const
{
    return m_notes ? int(m_notes->size()) : -1;
}

TSingolNote *TVeskLista::form(int index) const
{
    if (index < 0 || index >= count())
        throw EVeskListError(QStringLiteral("TVeskList.form(index):tFoglio: out of index"));
    return (*m_notes)[size_t(index)].get();
}

TSingolNote *TVeskLista::addNew(bool visible, bool onTop)
{
    auto note = std::make_unique<TSingolNote>(onTop, m_services);
    note->InitDefaults();
    TSingolNote *added = m_notes->emplace_back(std::move(note)).get();
    added->setVisible(visible);
    return announced(added);
}

TSingolNote *TVeskLista::addFromFile(const QString &fileName, bool onTop)
{
    auto note = std::make_unique<TSingolNote>(onTop, m_services);
    if (!fileName.isEmpty())
        note->LoadNote(fileName);
    return announced(m_notes->emplace_back(std::move(note)).get());
}

TSingolNote *TVeskLista::announced(TSingolNote *added) const
{
    if (m_added)
        m_added(added);
    return added;
}

void TVeskLista::setAddedHandler(std::function<void(TSingolNote *)> handler)
{
    m_added = std::move(handler);
}

void TVeskLista::deleteNote(int index)
{
    if (index < 0 || index >= count())
        throw EVeskListError(QStringLiteral("TVeskList.delete(index):tFoglio:Out of index"));
    TSingolNote *note = (*m_notes)[size_t(index)].get();
    note->discard();
    note->SaveNote();
    note->close();
    m_notes->erase(m_notes->begin() + index);
}

void TVeskLista::forget(int index)
{
    TSingolNote *note = form(index);
    note->hide();
    m_notes->erase(m_notes->begin() + index);
}

void TVeskLista::saveAll()
{
    forEachCollectingErrors(count(), [this](int i) { (*m_notes)[size_t(i)]->SaveNote(); });
}

void TVeskLista::purgeClosed()
{
    for (int i = 0; i < count();) {
        if ((*m_notes)[size_t(i)]->Discarded())
            deleteNote(i);
        else
            ++i;
    }
}

void TVeskLista::destroy()
{
    if (!m_notes)
        return;
    std::vector<std::unique_ptr<TSingolNote>> notes = std::move(*m_notes);
    m_notes.reset();
    forEachCollectingErrors(int(notes.size()), [&notes](int i) {
        TSingolNote &note = *notes[size_t(i)];
        note.SaveNote();
        // Closing saves once more. A note whose save failed is not closed:
        // its error is reported once, with the others.
        note.close();
    });
}

QStringList addNotesFromFiles(TVeskLista &list, const QStringList &fileNames)
{
    QStringList failures;
    for (const QString &name : fileNames) {
        try {
            list.addFromFile(name, false);
        } catch (const Error &e) {
            failures.append(QStringLiteral("%1: %2").arg(name, e.message()));
        } catch (const std::bad_alloc &) {
            // The note's memory is freed with it; the next note may well fit.
            failures.append(QStringLiteral("%1: Not enough memory to load it").arg(name));
        } catch (const std::exception &e) {
            failures.append(QStringLiteral("%1: %2").arg(name, QString::fromLocal8Bit(e.what())));
        }
    }
    return failures;
}
