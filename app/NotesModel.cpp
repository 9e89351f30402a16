#include "app/NotesModel.h"

#include "app/NotesTexts.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "ui/ColorRef.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

namespace app {

NotesModel::NotesModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_update(new QTimer(this))
{
    m_update->setSingleShot(true);
    m_update->setInterval(kUpdateDelayMs);
    connect(m_update, &QTimer::timeout, this, &NotesModel::updateNow);
}

NotesModel::~NotesModel() = default;

void NotesModel::setNotes(const QList<TSingolNote *> &notes)
{
    clear();
    m_holding = true;
    m_entries.reserve(size_t(notes.size()));
    for (TSingolNote *note : notes)
        follow(note);
    applySearch();
}

void NotesModel::addNote(TSingolNote *note)
{
    if (!m_holding)
        return;
    follow(note);
    applySearch();
}

void NotesModel::clear()
{
    m_update->stop();
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (entry->note)
            disconnect(entry->note, nullptr, this, nullptr);
    }
    const bool hadRows = !m_shown.empty();
    if (hadRows)
        beginResetModel();
    m_shown.clear();
    m_entries.clear();
    m_holding = false;
    if (hadRows)
        endResetModel();
}

void NotesModel::follow(TSingolNote *note)
{
    if (note->Discarded())
        return;
    auto entry = std::make_unique<Entry>();
    entry->note = note;
    read(*entry);
    Entry *followed = entry.get();
    m_entries.push_back(std::move(entry));
    connect(note, &TSingolNote::changed, this, [this, followed] { markStale(followed); });
    // The pointer is already null when the update comes.
    connect(note, &QObject::destroyed, this, [this, followed] { markStale(followed); });
}

void NotesModel::markStale(Entry *entry)
{
    entry->stale = true;
    if (!m_update->isActive())
        m_update->start();
}

void NotesModel::read(Entry &entry)
{
    const TSingolNote &note = *entry.note;
    NoteRow &row = entry.row;
    row.title = note.NoteTitle->text();
    row.lines = note.bodyLines();
    row.back = ui::colorFromRef(note.NotePanel->colorRef());
    row.titleBack = ui::colorFromRef(note.NoteTitle->colorRef());
    row.visible = note.Parked() ? note.ParkedVisible() : note.isVisible();
    row.onTop = note.OnTop();
    row.rolledUp = note.height() == notegeometry::kRolledUpSide;
    row.alarm = note.AlarmEnabled() && !note.AlarmFired()
        ? ui::momentOf(note.AlarmDate(), note.AlarmTime())
        : std::nullopt;
    row.expiration = note.ExpirationEnabled()
        ? ui::momentOf(note.ExpirationDate(), note.ExpirationTime())
        : std::nullopt;
    entry.search = ui::NoteSearchText(row.title, row.lines);
}

void NotesModel::updateNow()
{
    m_update->stop();
    bool anyGone = false;
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (!entry->stale)
            continue;
        entry->stale = false;
        if (!entry->note || entry->note->Discarded()) {
            if (entry->note)
                disconnect(entry->note, nullptr, this, nullptr);
            entry->note = nullptr;
            anyGone = true;
        } else {
            read(*entry);
        }
    }
    if (!anyGone) {
        applySearch();
        return;
    }
    beginResetModel();
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [](const std::unique_ptr<Entry> &e) { return !e->note; }),
                    m_entries.end());
    m_shown = matchingRows();
    endResetModel();
}

void NotesModel::setSearch(const QString &text)
{
    m_query = ui::foldForSearch(text.trimmed());
    applySearch();
}

std::vector<NotesModel::Shown> NotesModel::matchingRows() const
{
    std::vector<Shown> shown;
    shown.reserve(m_entries.size());
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        const ui::NoteMatch match = entry->search.find(m_query);
        if (m_query.isEmpty() || match.found())
            shown.push_back({entry.get(), match});
    }
    return shown;
}

void NotesModel::applySearch()
{
    std::vector<Shown> shown = matchingRows();
    const bool sameRows
        = std::equal(shown.begin(), shown.end(), m_shown.begin(), m_shown.end(),
                     [](const Shown &a, const Shown &b) { return a.entry == b.entry; });
    if (!sameRows) {
        beginResetModel();
        m_shown = std::move(shown);
        endResetModel();
        return;
    }
    m_shown = std::move(shown);
    if (!m_shown.empty())
        Q_EMIT dataChanged(index(0), index(int(m_shown.size()) - 1));
}

int NotesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

const NoteRow &NotesModel::rowAt(int row) const
{
    return m_shown[size_t(row)].entry->row;
}

const ui::NoteMatch &NotesModel::matchAt(int row) const
{
    return m_shown[size_t(row)].match;
}

QString NotesModel::shownLine(int row) const
{
    const Shown &shown = m_shown[size_t(row)];
    const QStringList &lines = shown.entry->row.lines;
    return shown.match.line >= 0 ? lines[shown.match.line] : ui::firstTextLine(lines);
}

TSingolNote *NotesModel::noteAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_shown[size_t(row)].entry->note;
}

int NotesModel::rowOf(const TSingolNote *note) const
{
    for (size_t i = 0; i < m_shown.size(); ++i) {
        if (note && m_shown[i].entry->note == note)
            return int(i);
    }
    return -1;
}

QStringList NotesModel::stateMarks(const NoteRow &row)
{
    QStringList marks;
    if (!row.visible)
        marks << notestexts::text(notestexts::kHidden);
    if (row.rolledUp)
        marks << notestexts::text(notestexts::kRolledUp);
    if (row.onTop)
        marks << notestexts::text(notestexts::kOnTop);
    return marks;
}

namespace {

// The day and the minute, in the user's way of writing them.
QString minuteText(const QDateTime &moment)
{
    const QLocale locale;
    // Alarms go off at a minute: seconds would only be noise.
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    const QString time = locale.timeFormat(QLocale::ShortFormat).remove(seconds);
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(moment.time(), time);
}

} // namespace

QStringList NotesModel::timeMarks(const NoteRow &row)
{
    QStringList marks;
    if (row.alarm)
        marks << notestexts::text(notestexts::kAlarm) + QLatin1Char(' ') + minuteText(*row.alarm);
    if (row.expiration) {
        marks << notestexts::text(notestexts::kExpires) + QLatin1Char(' ')
                + minuteText(*row.expiration);
    }
    return marks;
}

QVariant NotesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const NoteRow &row = rowAt(index.row());
    const QString title = row.title.isEmpty() ? notestexts::text(notestexts::kUntitled) : row.title;
    switch (role) {
    case Qt::DisplayRole:
        return title;
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        QStringList parts {title, shownLine(index.row()).trimmed()};
        parts += stateMarks(row);
        parts += timeMarks(row);
        parts.removeAll(QString());
        return parts.join(QStringLiteral(", "));
    }
    default:
        return {};
    }
}

} // namespace app
