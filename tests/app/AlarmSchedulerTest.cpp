// Alarms and expirations as the timer carries them out.
#include "app/ControllerFixture.h"

#include "app/AlarmScheduler.h"
#include "app/DLista.h"
#include "note/Note.h"
#include "note/unExpiration.h"
#include "settings/veskUt.h"
#include "storage/DateTime.h"

#include <QFile>
#include <QTimer>

#include <limits>

namespace {

double serial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return storage::encodeDateTime({year, month, day, hour, minute, second});
}

class SchedulerTest : public ControllerTest
{
protected:
    // One hidden note with an alarm at 2024-05-06 10:30 (date and time
    // fields as the alarm dialog fills them), loaded.
    std::unique_ptr<TFJotletLightMain> startWithAlarm(bool enabled = true, bool fired = false)
    {
        storage::NoteRecord record = noteRecord(QStringLiteral("alarm"), false);
        record.alarmEnabled = enabled;
        record.alarmFired = fired;
        record.alarmDate = serial(2024, 5, 6);
        record.alarmTime = serial(2024, 5, 6, 10, 30);
        writeNote(QStringLiteral("1.jtl"), record);
        return startController();
    }

    std::unique_ptr<TFJotletLightMain> startWithExpiration(bool visible)
    {
        storage::NoteRecord record = noteRecord(QStringLiteral("expiring"), visible);
        record.expirationEnabled = true;
        record.expirationDate = serial(2024, 5, 6);
        record.expirationTime = serial(2024, 5, 6, 18, 0);
        writeNote(QStringLiteral("1.jtl"), record);
        QFile body(pathOf(QStringLiteral("1.jtl2")));
        EXPECT_TRUE(body.open(QIODevice::WriteOnly));
        body.write("{\\rtf1 expiring\\par}");
        body.close();
        return startController();
    }

    void tickAt(TFJotletLightMain &controller, int hour, int minute, int second, int day = 6)
    {
        setNow(QDateTime(QDate(2024, 5, day), QTime(hour, minute, second)));
        controller.TimerAlarmTimer();
    }
};

} // namespace

TEST(MomentDue, SameDayOfTheDateFieldAndSameMinuteOfTheTimeField)
{
    const double day = serial(2024, 5, 6, 23, 59, 59); // its time of day plays no part
    const double time = serial(1999, 1, 1, 10, 30, 45); // nor does its date, nor seconds
    EXPECT_TRUE(app::isMomentDue(day, time, serial(2024, 5, 6, 10, 30, 0)));
    EXPECT_TRUE(app::isMomentDue(day, time, serial(2024, 5, 6, 10, 30, 59)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2024, 5, 6, 10, 29, 59)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2024, 5, 6, 10, 31, 0)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2024, 5, 7, 10, 30, 0)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2023, 5, 6, 10, 30, 0)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2024, 6, 6, 10, 30, 0)));
    EXPECT_FALSE(app::isMomentDue(day, time, serial(2024, 5, 6, 11, 30, 0)));

    EXPECT_FALSE(app::isMomentReached(day, time, serial(2024, 5, 6, 10, 29, 59)));
    EXPECT_FALSE(app::isMomentReached(day, time, serial(2023, 12, 31, 23, 59, 0)));
    for (const double later : {serial(2024, 5, 6, 10, 30, 0), serial(2024, 5, 6, 10, 31, 0),
                               serial(2024, 5, 7, 0, 0, 0), serial(2031, 1, 1, 9, 0, 0)})
        EXPECT_TRUE(app::isMomentReached(day, time, later));
}

TEST(MomentDue, AFieldThatHoldsNoDateNeverComesDue)
{
    const double now = serial(2024, 5, 6, 10, 30);
    EXPECT_FALSE(app::isMomentDue(std::numeric_limits<double>::quiet_NaN(), now, now));
    EXPECT_FALSE(app::isMomentDue(now, 1e12, now));
    EXPECT_FALSE(app::isMomentReached(std::numeric_limits<double>::quiet_NaN(), now, now));
}

TEST_F(SchedulerTest, TheTimerTicksEveryFiveSecondsAndDoesNothingWithoutNotes)
{
    writeRegBool(QStringLiteral("NoTrayNoticeShown"), true);
    auto controller = makeController();
    EXPECT_TRUE(controller->TimerAlarm->isActive());
    EXPECT_EQ(controller->TimerAlarm->interval(), 5000);
    controller->TimerAlarmTimer(); // before loading: no list
    app::runAlarmTick(nullptr, storage::nowDateTime());
    controller->FormActivate();
    controller->TimerAlarmTimer(); // an empty list
    controller->Close1Click();
    controller->TimerAlarmTimer(); // after freeing
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(SchedulerTest, AnAlarmFiresOnceOnTheFirstTickOfItsMinute)
{
    auto controller = startWithAlarm();
    TSingolNote *note = noteAt(*controller, 0);
    tickAt(*controller, 10, 29, 55);
    EXPECT_FALSE(note->isVisible());

    tickAt(*controller, 10, 30, 0);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->AlarmFired());
    EXPECT_TRUE(note->OnTop());
    EXPECT_TRUE(note->AlarmEnabled());

    note->hide();
    note->SetOnTop(false);
    tickAt(*controller, 10, 30, 5);
    tickAt(*controller, 10, 30, 0, 7); // same minute, next day
    EXPECT_FALSE(note->isVisible());
    EXPECT_FALSE(note->OnTop());
}

TEST_F(SchedulerTest, TheFiredAlarmAndItsOnTopStateAreSavedWithTheNote)
{
    auto controller = startWithAlarm();
    tickAt(*controller, 10, 30, 0);
    controller->Close1Click();
    const storage::NoteRecord saved = readNote(QStringLiteral("1.jtl"));
    EXPECT_TRUE(saved.alarmFired);
    EXPECT_TRUE(saved.onTop);
    EXPECT_TRUE(saved.visible);
}

// The computer slept through the minute, or the program was not running:
// the reminder comes at the next tick, once. An expiration that went by
// unseen deletes nothing.
TEST_F(SchedulerTest, AMissedAlarmFiresAtTheNextTickAndAMissedExpirationNever)
{
    setNow(QDateTime(QDate(2024, 5, 7), QTime(11, 0)));
    auto controller = startWithAlarm();
    TSingolNote *note = noteAt(*controller, 0);
    note::AlarmFields fields = note->alarms();
    fields.expirationEnabled = true;
    fields.expirationDate = serial(2024, 5, 6);
    fields.expirationTime = serial(2024, 5, 6, 18, 0);
    note->setAlarms(fields);
    tickAt(*controller, 11, 0, 0, 7);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->AlarmFired());
    EXPECT_TRUE(note->OnTop());

    note->hide();
    for (int minute = 1; minute < 3; ++minute)
        tickAt(*controller, 11, minute, 0, 7);
    EXPECT_FALSE(note->isVisible()) << "a fired alarm fires once";
    EXPECT_FALSE(note->Discarded());
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("1.jtl"))));
}

TEST_F(SchedulerTest, DisabledFiredOrDiscardedAlarmsStayQuiet)
{
    {
        auto controller = startWithAlarm(false);
        tickAt(*controller, 10, 30, 0);
        EXPECT_FALSE(noteAt(*controller, 0)->isVisible());
    }
    {
        auto controller = startWithAlarm(true, true);
        tickAt(*controller, 10, 30, 0);
        EXPECT_FALSE(noteAt(*controller, 0)->isVisible());
    }
    {
        auto controller = startWithAlarm();
        noteAt(*controller, 0)->discard();
        tickAt(*controller, 10, 30, 0);
        EXPECT_FALSE(noteAt(*controller, 0)->isVisible());
        EXPECT_FALSE(noteAt(*controller, 0)->AlarmFired());
    }
}

TEST_F(SchedulerTest, AnExpirationClosesTheNoteAndDeletesItsFiles)
{
    auto controller = startWithExpiration(true);
    TSingolNote *note = noteAt(*controller, 0);
    tickAt(*controller, 17, 59, 59);
    EXPECT_TRUE(note->isVisible());
    tickAt(*controller, 18, 0, 3);
    EXPECT_FALSE(note->isVisible());
    EXPECT_TRUE(note->Discarded());
    EXPECT_FALSE(note->ExpirationEnabled());
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("1.jtl"))));
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("1.jtl2"))));
    EXPECT_EQ(noteCount(*controller), 1); // until the list purges it

    controller->Close1Click();
    EXPECT_TRUE(noteFiles().isEmpty());
    auto next = startController();
    EXPECT_EQ(noteCount(*next), 0);
}

TEST_F(SchedulerTest, AnExpirationStillRunsForANoteClosedForGood)
{
    auto controller = startWithExpiration(false);
    TSingolNote *note = noteAt(*controller, 0);
    note->discard();
    note->close(); // its own "Close": the files go now
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("1.jtl"))));
    tickAt(*controller, 18, 0, 0);
    EXPECT_FALSE(note->ExpirationEnabled());
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(SchedulerTest, AnAlarmDuringTheAboutWindowShowsAtOnceAndIsParkedBackAfter)
{
    auto controller = startWithAlarm();
    controller->About2Click();
    tickAt(*controller, 10, 30, 0);
    TSingolNote *note = noteAt(*controller, 0);
    EXPECT_TRUE(note->isVisible());
    controller->BContinueClick();
    EXPECT_FALSE(note->isVisible()); // as it was before the About window
    EXPECT_TRUE(note->AlarmFired());
}

TEST_F(SchedulerTest, NotesAreCheckedInListOrderEachOnItsOwn)
{
    storage::NoteRecord first = noteRecord(QStringLiteral("first"), false);
    first.alarmEnabled = true;
    first.alarmDate = serial(2024, 5, 6);
    first.alarmTime = serial(2024, 5, 6, 8, 15);
    first.expirationEnabled = true;
    first.expirationDate = serial(2024, 5, 6);
    first.expirationTime = serial(2024, 5, 6, 8, 15);
    writeNote(QStringLiteral("1.jtl"), first);
    storage::NoteRecord second = noteRecord(QStringLiteral("second"), false);
    second.alarmEnabled = true;
    second.alarmDate = serial(2024, 5, 6);
    second.alarmTime = serial(2024, 5, 6, 8, 15);
    writeNote(QStringLiteral("2.jtl"), second);
    auto controller = startController();

    tickAt(*controller, 8, 15, 30);
    // The first one's alarm went off and its expiration came in the same tick.
    EXPECT_TRUE(noteAt(*controller, 0)->AlarmFired());
    EXPECT_TRUE(noteAt(*controller, 0)->Discarded());
    EXPECT_FALSE(noteAt(*controller, 0)->isVisible());
    EXPECT_TRUE(noteAt(*controller, 1)->isVisible());
    EXPECT_TRUE(noteAt(*controller, 1)->AlarmFired());
}
