#include "note/unExpiration.h"

#include "note/LocalFormats.h"
#include "platform/Errors.h"
#include "settings/DResource.h"
#include "settings/TextIds.h"
#include "storage/DateTime.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimeEdit>

#include <cmath>

namespace {

constexpr QSize kClientSize(303, 204);
constexpr int kPickerWidth = 114;
constexpr int kPickerHeight = 21;
constexpr QSize kButtonSize(75, 25);

TFRMExpiration::ExecHook &execHook()
{
    static TFRMExpiration::ExecHook hook;
    return hook;
}

template<typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(QWidget *page, const char *name, const QString &caption, int top)
{
    QLabel *l = named(new QLabel(caption, page), name);
    l->move(8, top);
    l->adjustSize();
    return l;
}

QDateEdit *datePicker(QWidget *page, const char *name, int top)
{
    QDateEdit *picker = named(new QDateEdit(page), name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(note::shortDateFormat());
    picker->setGeometry(144, top, kPickerWidth, kPickerHeight);
    return picker;
}

QTimeEdit *timePicker(QWidget *page, const char *name, int top)
{
    QTimeEdit *picker = named(new QTimeEdit(page), name);
    picker->setDisplayFormat(note::longTimeFormat());
    picker->setGeometry(144, top, kPickerWidth, kPickerHeight);
    return picker;
}

QCheckBox *checkBox(QWidget *page, const char *name, const QString &caption)
{
    QCheckBox *box = named(new QCheckBox(caption, page), name);
    box->move(8, 104);
    box->adjustSize();
    return box;
}

QPushButton *button(QWidget *dialog, const char *name, const QString &caption, int left)
{
    QPushButton *b = named(new QPushButton(caption, dialog), name);
    b->setGeometry(QRect(QPoint(left, 176), kButtonSize));
    return b;
}

// A damaged file may hold a value that is no date at all; the dialog then
// proposes the present moment instead of failing to open.
double validOrNow(double value, double now)
{
    try {
        storage::splitDateTime(value);
        return value;
    } catch (const EConvertError &) {
        return now;
    }
}

// The whole second of the day, so a value read back is the one shown.
double timeOfDay(double value)
{
    const storage::DateTimeParts p = storage::splitDateTime(value);
    return storage::encodeTime(p.hour, p.minute, p.second);
}

double dayOf(double value)
{
    const storage::DateTimeParts p = storage::splitDateTime(value);
    return storage::encodeDate(p.year, p.month, p.day);
}

double dateValue(const QDateEdit &picker, double filled)
{
    const QDate date = picker.date();
    return storage::encodeDate(date.year(), date.month(), date.day()) + timeOfDay(filled);
}

double timeValue(const QTimeEdit &picker, double filled)
{
    const QTime time = picker.time();
    return dayOf(filled) + storage::encodeTime(time.hour(), time.minute(), time.second());
}

} // namespace

TFRMExpiration::TFRMExpiration(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                  | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , PCAlarm(named(new QTabWidget(this), "PCAlarm"))
    , TabSheetAlarm(named(new QWidget(PCAlarm), "TabSheetAlarm"))
    , lblAlarm(label(TabSheetAlarm, "lblAlarm", QStringLiteral("Set the alarm date and time :"), 8))
    , lblAlarmDate(label(TabSheetAlarm, "lblAlarmDate", QStringLiteral("Alarm date:"), 40))
    , DateAla(datePicker(TabSheetAlarm, "DateAla", 40))
    , lblAlarmTime(label(TabSheetAlarm, "lblAlarmTime", QStringLiteral("Alarm time:"), 72))
    , TimeAla(timePicker(TabSheetAlarm, "TimeAla", 72))
    , AlaEnabled(checkBox(TabSheetAlarm, "AlaEnabled", QStringLiteral("Alarm Enabled")))
    , TabSheetExp(named(new QWidget(PCAlarm), "TabSheetExp"))
    , lblExp(label(TabSheetExp, "lblExp", QStringLiteral("Set the expiration date and time :"), 8))
    , lblExpDate(label(TabSheetExp, "lblExpDate", QStringLiteral("Expiration date:"), 40))
    , DateExp(datePicker(TabSheetExp, "DateExp", 40))
    , lblExpTime(label(TabSheetExp, "lblExpTime", QStringLiteral("Expiration time:"), 72))
    , TimeExp(timePicker(TabSheetExp, "TimeExp", 72))
    , ExpEnabled(checkBox(TabSheetExp, "ExpEnabled", QStringLiteral("Expiration Enabled")))
    , btnOk(button(this, "btnOk", QStringLiteral("&OK"), 8))
    , btnCancel(button(this, "btnCancel", QStringLiteral("&Cancel"), 88))
{
    setObjectName(QStringLiteral("FRMExpiration"));
    setWindowTitle(QStringLiteral("Set alarms"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(kClientSize);
    PCAlarm->setGeometry(8, 8, 289, 161);
    PCAlarm->addTab(TabSheetAlarm, QStringLiteral("Alarm"));
    PCAlarm->addTab(TabSheetExp, QStringLiteral("Expiration"));
    PCAlarm->setCurrentWidget(TabSheetAlarm);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    // Escape and the close box reject the dialog as well.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(DateAla, &QDateEdit::dateChanged, this, &TFRMExpiration::DateAlaChange);
    connect(TimeAla, &QTimeEdit::timeChanged, this, &TFRMExpiration::TimeAlaChange);
    FormCreate();
}

void TFRMExpiration::FormCreate()
{
    const TReadRes &texts = TReadRes::current();
    setWindowTitle(texts.GetText(settings::AlarmCaption));
    PCAlarm->setTabText(PCAlarm->indexOf(TabSheetExp),
                        texts.GetText(settings::AlarmExpirationPage));
    const std::pair<QWidget *, settings::TextId> captions[] = {
        {lblExp, settings::AlarmExpirationLabel},
        {lblExpDate, settings::AlarmExpirationDate},
        {lblExpTime, settings::AlarmExpirationTime},
        {ExpEnabled, settings::AlarmExpirationEnabled},
        {lblAlarm, settings::AlarmAlarmLabel},
        {lblAlarmDate, settings::AlarmAlarmDate},
        {lblAlarmTime, settings::AlarmAlarmTime},
        {AlaEnabled, settings::AlarmAlarmEnabled},
        {btnOk, settings::AlarmOk},
        {btnCancel, settings::AlarmCancel},
    };
    for (const auto &[widget, id] : captions) {
        widget->setProperty("text", texts.GetText(id));
        widget->adjustSize();
    }
    btnOk->resize(kButtonSize);
    btnCancel->resize(kButtonSize);
}

void TFRMExpiration::DateAlaChange()
{
    AlaEnabled->setChecked(true);
}

void TFRMExpiration::TimeAlaChange()
{
    AlaEnabled->setChecked(true);
}

void TFRMExpiration::fill(const note::AlarmFields &fields, double now)
{
    m_filled = fields;
    for (double *value : {&m_filled.alarmDate, &m_filled.alarmTime, &m_filled.expirationDate,
                          &m_filled.expirationTime})
        *value = validOrNow(*value, now);
    // Filling is no change of the user's.
    const QSignalBlocker dateBlocker(DateAla);
    const QSignalBlocker timeBlocker(TimeAla);
    DateExp->setDate(storage::toQDate(m_filled.expirationDate));
    TimeExp->setTime(storage::toQTime(m_filled.expirationTime));
    ExpEnabled->setChecked(m_filled.expirationEnabled);
    DateAla->setDate(storage::toQDate(m_filled.alarmDate));
    TimeAla->setTime(storage::toQTime(m_filled.alarmTime));
    AlaEnabled->setChecked(m_filled.alarmEnabled);
}

note::AlarmFields TFRMExpiration::values() const
{
    note::AlarmFields fields;
    fields.expirationDate = dateValue(*DateExp, m_filled.expirationDate);
    fields.expirationTime = timeValue(*TimeExp, m_filled.expirationTime);
    fields.expirationEnabled = ExpEnabled->isChecked();
    fields.alarmDate = dateValue(*DateAla, m_filled.alarmDate);
    fields.alarmTime = timeValue(*TimeAla, m_filled.alarmTime);
    fields.alarmEnabled = AlaEnabled->isChecked();
    return fields;
}

int TFRMExpiration::execute()
{
    if (const ExecHook &hook = execHook())
        return hook(*this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return dialogs::execute(*this);
}

void TFRMExpiration::setExecHook(ExecHook hook)
{
    execHook() = std::move(hook);
}
