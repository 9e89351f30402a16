// The alarm and expiration dialog: its form, and what "Note alarms" takes
// from it into the note.
#include "note/Note.h"
#include "note/NoteTestSupport.h"
#include "note/unExpiration.h"
#include "storage/DateTime.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>

#include <cmath>
#include <limits>
#include <memory>

namespace {

double at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return storage::encodeDateTime({year, month, day, hour, minute, second});
}

// Day of a date field and hour:minute of a time field: what the scheduler reads.
QString dayOf(double value)
{
    const storage::DateTimeParts p = storage::splitDateTime(value);
    return QStringLiteral("%1-%2-%3").arg(p.year).arg(p.month).arg(p.day);
}

QString minuteOf(double value)
{
    const storage::DateTimeParts p = storage::splitDateTime(value);
    return QStringLiteral("%1:%2").arg(p.hour).arg(p.minute);
}

class AlarmDialog : public notetest::NoteFixture
{
protected:
    void TearDown() override
    {
        TFRMExpiration::setExecHook({});
        NoteFixture::TearDown();
    }

    // "Note alarms" with the dialog answered by `user`, who then presses OK
    // (or whatever `result` says).
    static void runDialog(TSingolNote &note, std::function<void(TFRMExpiration &)> user,
                          int result = QDialog::Accepted)
    {
        bool shown = false;
        TFRMExpiration::setExecHook([&](TFRMExpiration &dialog) {
            shown = true;
            user(dialog);
            return result;
        });
        note.runMenuItem(note.Menus.Noteexpiration1);
        EXPECT_TRUE(shown);
    }

    // A note with an alarm that has fired and a set expiration.
    static void setFields(TSingolNote &note)
    {
        note.setAlarms({at(2024, 5, 1, 23, 59, 59), at(2020, 1, 2, 10, 30, 12), true,
                        at(2025, 12, 31, 6, 0), at(2019, 7, 7, 18, 45), false});
        note.fireAlarm();
    }
    // One field other than the dialog's: the alarm stays as it was.
    static void change(TSingolNote &note, const std::function<void(note::AlarmFields &)> &edit)
    {
        note::AlarmFields fields = note.alarms();
        edit(fields);
        note.setAlarms(fields);
    }
};

} // namespace

TEST_F(AlarmDialog, FormHasItsControlsPlacesAndCaptions)
{
    TFRMExpiration dialog(nullptr);
    EXPECT_EQ(dialog.size(), QSize(303, 204));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set alarms"));
    EXPECT_EQ(dialog.PCAlarm->geometry(), QRect(8, 8, 289, 161));
    EXPECT_EQ(dialog.PCAlarm->currentWidget(), dialog.TabSheetAlarm);
    EXPECT_EQ(dialog.PCAlarm->tabText(0), QStringLiteral("Alarm"));
    EXPECT_EQ(dialog.PCAlarm->tabText(1), QStringLiteral("Expiration"));
    EXPECT_EQ(dialog.lblAlarm->text(), QStringLiteral("Set the alarm date and time :"));
    EXPECT_EQ(dialog.lblAlarmDate->text(), QStringLiteral("Alarm date:"));
    EXPECT_EQ(dialog.lblAlarmTime->text(), QStringLiteral("Alarm time:"));
    EXPECT_EQ(dialog.AlaEnabled->text(), QStringLiteral("Alarm Enabled"));
    EXPECT_EQ(dialog.lblExp->text(), QStringLiteral("Set the expiration date and time :"));
    EXPECT_EQ(dialog.lblExpDate->text(), QStringLiteral("Expiration date:"));
    EXPECT_EQ(dialog.lblExpTime->text(), QStringLiteral("Expiration time:"));
    EXPECT_EQ(dialog.ExpEnabled->text(), QStringLiteral("Expiration Enabled"));
    EXPECT_EQ(dialog.btnOk->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog.btnOk->geometry(), QRect(8, 176, 75, 25));
    EXPECT_EQ(dialog.btnCancel->geometry(), QRect(88, 176, 75, 25));
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.DateAla->geometry().topLeft(), QPoint(144, 40));
    EXPECT_EQ(dialog.TimeExp->geometry().topLeft(), QPoint(144, 72));
    EXPECT_EQ(dialog.DateExp->width(), 114);
    EXPECT_TRUE(dialog.DateAla->calendarPopup());
    EXPECT_EQ(dialog.AlaEnabled->pos(), QPoint(8, 104));
    for (const char *name :
         {"PCAlarm", "TabSheetAlarm", "TabSheetExp", "DateAla", "TimeAla", "AlaEnabled", "DateExp",
          "TimeExp", "ExpEnabled", "btnOk", "btnCancel"})
        EXPECT_NE(dialog.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
}

TEST_F(AlarmDialog, OnlyTheUsersAlarmChangesTickTheAlarmBox)
{
    TFRMExpiration dialog(nullptr);
    dialog.fill({at(2024, 1, 1, 8, 0), at(2024, 1, 1, 8, 0), false, at(2024, 1, 1, 8, 0),
                 at(2024, 1, 1, 8, 0), false},
                at(2024, 1, 1, 8, 0));
    EXPECT_FALSE(dialog.AlaEnabled->isChecked()) << "filling is no change";
    dialog.DateExp->setDate(QDate(2030, 1, 1));
    dialog.TimeExp->setTime(QTime(9, 0));
    EXPECT_FALSE(dialog.ExpEnabled->isChecked());
    EXPECT_FALSE(dialog.AlaEnabled->isChecked());
    dialog.DateAla->setDate(QDate(2030, 1, 1));
    EXPECT_TRUE(dialog.AlaEnabled->isChecked());

    dialog.AlaEnabled->setChecked(false);
    dialog.TimeAla->setTime(QTime(9, 1));
    EXPECT_TRUE(dialog.AlaEnabled->isChecked());
}

TEST_F(AlarmDialog, ANewNoteProposesItsCreationMoment)
{
    TSingolNote note(false, services);
    runDialog(
        note,
        [](TFRMExpiration &dialog) {
            EXPECT_EQ(dialog.DateAla->date(), QDate(2024, 3, 9));
            EXPECT_EQ(dialog.DateExp->date(), QDate(2024, 3, 9));
            EXPECT_EQ(dialog.TimeAla->time(), QTime(14, 5, 33));
            EXPECT_EQ(dialog.TimeExp->time(), QTime(14, 5, 33));
            EXPECT_FALSE(dialog.AlaEnabled->isChecked());
            EXPECT_FALSE(dialog.ExpEnabled->isChecked());
        },
        QDialog::Rejected);
}

TEST_F(AlarmDialog, OkUntouchedKeepsTheMomentsAndReArmsAFiredAlarm)
{
    TSingolNote note(false, services);
    setFields(note);
    notetest::deactivate(note); // saved: no change waits for a deactivation
    runDialog(note, [](TFRMExpiration &) {});
    EXPECT_FALSE(note.AlarmFired());
    EXPECT_TRUE(note.AlarmEnabled());
    EXPECT_FALSE(note.ExpirationEnabled());
    EXPECT_EQ(dayOf(note.AlarmDate()), QStringLiteral("2024-5-1"));
    EXPECT_EQ(minuteOf(note.AlarmTime()), QStringLiteral("10:30"));
    EXPECT_EQ(dayOf(note.ExpirationDate()), QStringLiteral("2025-12-31"));
    EXPECT_EQ(minuteOf(note.ExpirationTime()), QStringLiteral("18:45"));
    EXPECT_DOUBLE_EQ(note.AlarmDate(), at(2024, 5, 1, 23, 59, 59))
        << "a date keeps its time of day";
    EXPECT_DOUBLE_EQ(note.AlarmTime(), at(2020, 1, 2, 10, 30, 12)) << "a time keeps its date";
    EXPECT_FALSE(note.Modified()) << "nothing is marked for saving";
}

TEST_F(AlarmDialog, ChangingOnlyTheAlarmTimeEnablesTheAlarm)
{
    TSingolNote note(false, services);
    setFields(note);
    change(note, [](note::AlarmFields &f) { f.alarmEnabled = false; });
    runDialog(note, [](TFRMExpiration &dialog) { dialog.TimeAla->setTime(QTime(7, 15)); });
    EXPECT_TRUE(note.AlarmEnabled());
    EXPECT_EQ(minuteOf(note.AlarmTime()), QStringLiteral("7:15"));
    EXPECT_EQ(dayOf(note.AlarmDate()), QStringLiteral("2024-5-1"));
}

TEST_F(AlarmDialog, ChangingOnlyTheExpirationDateKeepsItsSwitch)
{
    for (const bool enabled : {false, true}) {
        TSingolNote note(false, services);
        setFields(note);
        change(note, [enabled](note::AlarmFields &f) { f.expirationEnabled = enabled; });
        runDialog(note,
                  [](TFRMExpiration &dialog) { dialog.DateExp->setDate(QDate(2026, 2, 28)); });
        EXPECT_EQ(note.ExpirationEnabled(), enabled);
        EXPECT_EQ(dayOf(note.ExpirationDate()), QStringLiteral("2026-2-28"));
        EXPECT_EQ(minuteOf(note.ExpirationTime()), QStringLiteral("18:45"));
    }
}

TEST_F(AlarmDialog, ClearingTheAlarmBoxAfterAChangeTurnsTheAlarmOff)
{
    TSingolNote note(false, services);
    setFields(note);
    runDialog(note, [](TFRMExpiration &dialog) {
        dialog.TimeAla->setTime(QTime(11, 0));
        dialog.AlaEnabled->setChecked(false);
    });
    EXPECT_FALSE(note.AlarmEnabled());
    EXPECT_EQ(minuteOf(note.AlarmTime()), QStringLiteral("11:0"));
}

TEST_F(AlarmDialog, CancelAfterChangingEverythingChangesNothing)
{
    TSingolNote note(false, services);
    setFields(note);
    const auto change = [](TFRMExpiration &dialog) {
        dialog.DateAla->setDate(QDate(2030, 1, 1));
        dialog.TimeAla->setTime(QTime(1, 2));
        dialog.AlaEnabled->setChecked(false);
        dialog.DateExp->setDate(QDate(2031, 1, 1));
        dialog.TimeExp->setTime(QTime(3, 4));
        dialog.ExpEnabled->setChecked(true);
    };
    runDialog(note, change, QDialog::Rejected);
    EXPECT_TRUE(note.AlarmFired());
    EXPECT_TRUE(note.AlarmEnabled());
    EXPECT_FALSE(note.ExpirationEnabled());
    EXPECT_DOUBLE_EQ(note.AlarmDate(), at(2024, 5, 1, 23, 59, 59));
    EXPECT_DOUBLE_EQ(note.AlarmTime(), at(2020, 1, 2, 10, 30, 12));
    EXPECT_DOUBLE_EQ(note.ExpirationDate(), at(2025, 12, 31, 6, 0));
    EXPECT_DOUBLE_EQ(note.ExpirationTime(), at(2019, 7, 7, 18, 45));
}

TEST_F(AlarmDialog, EscapeCancelsAndEnterConfirms)
{
    for (const auto &[key, expected] : {std::pair {Qt::Key_Escape, QDialog::Rejected},
                                        std::pair {Qt::Key_Return, QDialog::Accepted}}) {
        TFRMExpiration dialog(nullptr);
        dialog.show();
        QTest::keyClick(&dialog, key);
        EXPECT_EQ(dialog.result(), expected);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(AlarmDialog, TheSetAlarmSurvivesASaveAndAReload)
{
    TSingolNote note(false, services);
    setFields(note);
    runDialog(note, [](TFRMExpiration &dialog) {
        dialog.DateAla->setDate(QDate(2027, 4, 5));
        dialog.ExpEnabled->setChecked(true);
    });
    note.SaveNote();
    TSingolNote copy(false, services);
    copy.LoadNote(note.NoteFileName());
    EXPECT_TRUE(copy.AlarmEnabled());
    EXPECT_FALSE(copy.AlarmFired());
    EXPECT_TRUE(copy.ExpirationEnabled());
    EXPECT_EQ(dayOf(copy.AlarmDate()), QStringLiteral("2027-4-5"));
    EXPECT_EQ(minuteOf(copy.AlarmTime()), QStringLiteral("10:30"));
    EXPECT_EQ(dayOf(copy.ExpirationDate()), QStringLiteral("2025-12-31"));
}

TEST_F(AlarmDialog, AValueThatIsNoDateProposesTheCurrentMoment)
{
    TSingolNote note(false, services);
    setFields(note);
    change(note, [](note::AlarmFields &f) {
        f.alarmDate = std::numeric_limits<double>::quiet_NaN();
        f.expirationTime = 1e9;
    });
    runDialog(note, [](TFRMExpiration &dialog) {
        EXPECT_EQ(dialog.DateAla->date(), QDate(2024, 3, 9));
        EXPECT_EQ(dialog.TimeExp->time(), QTime(14, 5, 33));
    });
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(dayOf(note.AlarmDate()), QStringLiteral("2024-3-9"));
    EXPECT_FALSE(std::isnan(note.AlarmDate()));
}
