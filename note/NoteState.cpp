// The note's record and the operations that change it: the alarms, the
// expiration, closing for good and parking. Each change that the files
// keep is saved soon after (noteChanged).
#include "note/Note.h"
#include "note/unExpiration.h"
#include "ui/QuietShow.h"

note::AlarmFields TSingolNote::alarms() const
{
    return {m_record.alarmDate,      m_record.alarmTime,      m_record.alarmEnabled,
            m_record.expirationDate, m_record.expirationTime, m_record.expirationEnabled};
}

void TSingolNote::setAlarms(const note::AlarmFields &fields)
{
    m_record.alarmFired = false;
    m_record.expirationDate = fields.expirationDate;
    m_record.expirationTime = fields.expirationTime;
    m_record.expirationEnabled = fields.expirationEnabled;
    m_record.alarmDate = fields.alarmDate;
    m_record.alarmTime = fields.alarmTime;
    m_record.alarmEnabled = fields.alarmEnabled;
    noteChanged();
}

void TSingolNote::fireAlarm()
{
    ui::showWithoutActivating(this);
    m_record.alarmFired = true;
    SetOnTop(true);
    noteChanged();
}

void TSingolNote::expire()
{
    m_record.expirationEnabled = false;
    discard();
    close();
}

void TSingolNote::discard()
{
    m_discarded = true;
    Q_EMIT changed();
}

void TSingolNote::park()
{
    if (m_discarded)
        return;
    m_parkedVisible = isVisible();
    hide();
    m_parked = true;
}

void TSingolNote::unpark()
{
    if (m_discarded)
        return;
    // Back as it was, without taking the focus from whatever the user does.
    if (m_parkedVisible)
        ui::showWithoutActivating(this);
    else
        hide();
    m_parked = false;
}
