#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QWidget;

namespace note {

// The six alarm and expiration fields of a note. Date-times are serials
// (storage/DateTime.h); only the date of a date field and the time of day of
// a time field mean anything.
struct AlarmFields
{
    double alarmDate = 0;
    double alarmTime = 0;
    bool alarmEnabled = false;
    double expirationDate = 0;
    double expirationTime = 0;
    bool expirationEnabled = false;
};

} // namespace note

// The modal dialog that sets a note's alarm and expiration. It edits a copy of
// the fields: fill() before showing, values() after OK.
class TFRMExpiration : public QDialog
{
    Q_OBJECT
public:
    explicit TFRMExpiration(QWidget *parent);

    // Shows the fields; the alarm box keeps the stored state, since only the
    // user's own changes of the alarm date or time tick it. A field that
    // holds no date shows `now`.
    void fill(const note::AlarmFields &fields, double now);
    // What the controls hold. A date picker gives its date with the time of
    // day of the value it was filled with, a time picker its time with the
    // filled value's date.
    note::AlarmFields values() const;

    // Runs the dialog modally, or hands it to the installed hook instead.
    int execute();

    // A hook gets the filled dialog in place of showing it, may set its
    // controls as a user would, and returns the result (QDialog::Accepted
    // for OK). An empty hook shows the dialog again. For tests.
    using ExecHook = std::function<int(TFRMExpiration &dialog)>;
    static void setExecHook(ExecHook hook);

    QTabWidget *const PCAlarm;
    QWidget *const TabSheetAlarm;
    QLabel *const lblAlarm;
    QLabel *const lblAlarmDate;
    QDateEdit *const DateAla;
    QLabel *const lblAlarmTime;
    QTimeEdit *const TimeAla;
    QCheckBox *const AlaEnabled;
    QWidget *const TabSheetExp;
    QLabel *const lblExp;
    QLabel *const lblExpDate;
    QDateEdit *const DateExp;
    QLabel *const lblExpTime;
    QTimeEdit *const TimeExp;
    QCheckBox *const ExpEnabled;
    QPushButton *const btnOk;
    QPushButton *const btnCancel;

private:
    void FormCreate();
    void DateAlaChange();
    void TimeAlaChange();

    note::AlarmFields m_filled;
};
