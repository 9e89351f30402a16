// A note's files as the window writes and reads them: every field round
// trips, older and damaged files load with their fallbacks, a failed save or
// load changes nothing, and a note whose monitor is gone comes back in view.
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "note/unExpiration.h"
#include "platform/Errors.h"
#include "storage/DateTime.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using notetest::NoteFixture;
using testsupport::readAll;

namespace {

double serial(int year, int month, int day, int hour, int minute, int second)
{
    return storage::encodeDateTime({year, month, day, hour, minute, second});
}

// The creation moment as a note file keeps it: to the whole second.
double savedNow()
{
    return serial(2024, 3, 9, 14, 5, 33);
}

QSize screenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

// A record as an older or newer program version may have left it.
storage::NoteRecord sampleRecord()
{
    storage::NoteRecord r;
    r.left = 30;
    r.top = 40;
    r.width = 150;
    r.height = 90;
    r.title = QStringLiteral("Old note");
    r.lines = {QStringLiteral("first"), QStringLiteral("second")};
    r.visible = true;
    r.backColor = 0x00FFFF00;
    r.titleColor = 0x000000FF;
    r.bodyFont = {QStringLiteral("DejaVu Serif"), 11, false, true, false, false, 0x00800000};
    r.titleFont = {QStringLiteral("DejaVu Sans"), 9, true, false, false, false, 0};
    r.onTop = true;
    r.expirationEnabled = true;
    r.expirationDate = serial(2025, 1, 2, 0, 0, 0);
    r.expirationTime = serial(1899, 12, 30, 8, 30, 0);
    r.alarmEnabled = true;
    r.alarmDate = serial(2024, 12, 24, 0, 0, 0);
    r.alarmTime = serial(1899, 12, 30, 18, 0, 0);
    r.createStamp1 = serial(2020, 5, 6, 7, 8, 9);
    r.createStamp2 = serial(2020, 5, 6, 7, 8, 10);
    r.restoreWidth = 300;
    r.restoreHeight = 250;
    return r;
}

void addBoldWord(ui::NoteText &body, const QString &word)
{
    QTextCursor cursor(body.document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(word, bold);
}

bool hasBoldRun(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text() == text && fragment.charFormat().fontWeight() == QFont::Bold)
                return true;
        }
    }
    return false;
}

// Runs step with writes limited to a few bytes, as on a full disk; this
// binds root too, unlike file modes.
template<typename Step> void withFullDisk(const Step &step)
{
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &limited);
    step();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

} // namespace

using NoteSaving = NoteFixture;

TEST_F(NoteSaving, EveryFieldComesBack)
{
    // The reserved field and the restore size come only from a file.
    storage::NoteRecord fields;
    fields.expirationReserved = true;
    fields.restoreWidth = 320;
    fields.restoreHeight = 240;
    fields.createStamp1 = fields.createStamp2 = now();
    storage::writeNoteFile(pathOf(QStringLiteral("7.jtl")), fields);
    TSingolNote saved(false, services);
    saved.LoadNote(QStringLiteral("7.jtl"));
    saved.move(40, 60);
    saved.resize(210, 140);
    saved.NoteTitle->setText(QStringLiteral("Café numbers"));
    saved.NoteText->setLines({QStringLiteral("Dentist 555-0100"), QString()});
    addBoldWord(*saved.NoteText, QStringLiteral("urgent"));
    saved.NotePanel->setColorRef(0x00FFFF00);
    saved.NoteText->setBackColor(QColor(0, 255, 255));
    saved.NoteTitle->setColorRef(int(0xFF000005)); // a system colour stays one
    const storage::FontDesc bodyFont {
        QStringLiteral("DejaVu Serif"), 12, false, true, true, false, 0x00008000};
    const storage::FontDesc titleFont {
        QStringLiteral("DejaVu Sans"), 10, false, true, false, true, 0x00FF0000};
    saved.NoteText->setBodyFont(bodyFont);
    saved.NoteTitle->setFontDesc(titleFont);
    saved.show();
    saved.SetOnTop(true);
    saved.setAlarms({serial(2024, 12, 24, 0, 0, 0), serial(1899, 12, 30, 18, 45, 0), true,
                     serial(2025, 2, 28, 0, 0, 0), serial(1899, 12, 30, 7, 15, 0), true});
    saved.fireAlarm();
    saved.SaveNote();
    EXPECT_TRUE(QFile::exists(storage::companionPath(saved.notePath())));

    TSingolNote loaded(false, services);
    loaded.LoadNote(saved.NoteFileName());
    EXPECT_EQ(loaded.NoteFileName(), saved.NoteFileName());
    EXPECT_EQ(loaded.pos(), QPoint(40, 60));
    EXPECT_EQ(loaded.size(), QSize(210, 140));
    EXPECT_EQ(loaded.NoteTitle->text(), QStringLiteral("Café numbers"));
    EXPECT_EQ(loaded.NoteText->lines(),
              QStringList({QStringLiteral("Dentist 555-0100"), QStringLiteral("urgent")}));
    EXPECT_TRUE(hasBoldRun(*loaded.NoteText->document(), QStringLiteral("urgent")));
    EXPECT_EQ(loaded.NotePanel->colorRef(), 0x00FFFF00);
    EXPECT_EQ(loaded.NoteText->backColor(), QColor(0, 255, 255));
    EXPECT_EQ(loaded.NoteTitle->colorRef(), int(0xFF000005));
    EXPECT_EQ(loaded.NoteText->bodyFont(), bodyFont);
    EXPECT_EQ(loaded.NoteTitle->fontDesc(), titleFont);
    EXPECT_TRUE(loaded.isVisible());
    EXPECT_TRUE(loaded.OnTop());
    EXPECT_TRUE(notetest::onTopMark(loaded));
    EXPECT_TRUE(loaded.AlarmEnabled());
    EXPECT_TRUE(loaded.AlarmFired());
    EXPECT_DOUBLE_EQ(loaded.AlarmDate(), saved.AlarmDate());
    EXPECT_DOUBLE_EQ(loaded.AlarmTime(), saved.AlarmTime());
    EXPECT_TRUE(loaded.ExpirationEnabled());
    EXPECT_TRUE(loaded.ExpirationReserved());
    EXPECT_DOUBLE_EQ(loaded.ExpirationDate(), saved.ExpirationDate());
    EXPECT_DOUBLE_EQ(loaded.ExpirationTime(), saved.ExpirationTime());
    EXPECT_DOUBLE_EQ(loaded.CreateStamp1(), savedNow());
    EXPECT_DOUBLE_EQ(loaded.CreateStamp2(), savedNow());
    EXPECT_EQ(loaded.RestoreWidth(), 320);
    EXPECT_EQ(loaded.RestoreHeight(), 240);
}

TEST_F(NoteSaving, AHiddenNoteStaysHidden)
{
    TSingolNote saved(false, services);
    saved.SaveNote();
    TSingolNote loaded(false, services);
    loaded.show();
    loaded.LoadNote(saved.NoteFileName());
    EXPECT_FALSE(loaded.isVisible());
}

TEST_F(NoteSaving, TwoSavesWithoutChangesGiveTheSameBytes)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one"), QStringLiteral("two")});
    addBoldWord(*note.NoteText, QStringLiteral("three"));
    note.SaveNote();
    const QByteArray record = readAll(note.notePath());
    const QByteArray body = readAll(storage::companionPath(note.notePath()));
    note.SaveNote();
    EXPECT_EQ(readAll(note.notePath()), record);
    EXPECT_EQ(readAll(storage::companionPath(note.notePath())), body);
}

TEST_F(NoteSaving, AParkedNoteWritesItsVisibilityFromBeforeParking)
{
    TSingolNote note(false, services);
    note.show();
    note.park();
    note.SaveNote();
    const storage::NoteRecord none;
    EXPECT_TRUE(storage::readNoteFile(note.notePath(), none, {}, {}).visible);
    note.unpark();
    note.hide();
    note.park();
    note.show();
    note.SaveNote();
    EXPECT_FALSE(storage::readNoteFile(note.notePath(), none, {}, {}).visible);
}

TEST_F(NoteSaving, ADiscardedNoteDeletesBothFilesAndWritesNothing)
{
    TSingolNote note(false, services);
    note.SaveNote();
    ASSERT_EQ(noteFiles().size(), 1);
    note.discard();
    note.SaveNote();
    EXPECT_TRUE(QDir(folder()).isEmpty());
    note.SaveNote(); // nothing left to delete
    EXPECT_TRUE(QDir(folder()).isEmpty());
}

TEST_F(NoteSaving, AFailedSaveKeepsTheOldFilesAndRaises)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("kept")});
    note.SaveNote();
    const QByteArray record = readAll(note.notePath());
    const QByteArray body = readAll(storage::companionPath(note.notePath()));
    note.NoteTitle->setText(QString(200, QLatin1Char('x')));
    note.NoteText->setLines({QString(500, QLatin1Char('y'))});
    withFullDisk([&] { EXPECT_THROW(note.SaveNote(), EInOutError); });
    EXPECT_EQ(readAll(note.notePath()), record);
    EXPECT_EQ(readAll(storage::companionPath(note.notePath())), body);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files).size(), 2); // nothing half-written left
}

TEST_F(NoteSaving, AFailedSaveInAReadOnlyFolderKeepsTheOldFiles)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file modes do not bind root";
    TSingolNote note(false, services);
    note.SaveNote();
    const QByteArray record = readAll(note.notePath());
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    note.NoteTitle->setText(QStringLiteral("changed"));
    EXPECT_THROW(note.SaveNote(), EInOutError);
    QFile::setPermissions(folder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readAll(note.notePath()), record);
}

using NoteLoading = NoteFixture;

TEST_F(NoteLoading, AFileEndingAfterTheFontsTakesTheNewNoteValues)
{
    storage::writeNoteFileLayout(pathOf(QStringLiteral("13.jtl")), sampleRecord(),
                                 storage::NoteLayout::UpToFonts);
    TSingolNote note(true, services);
    note.LoadNote(QStringLiteral("13.jtl"));
    EXPECT_EQ(note.pos(), QPoint(30, 40));
    EXPECT_EQ(note.size(), QSize(150, 90));
    EXPECT_EQ(note.NoteTitle->text(), QStringLiteral("Old note"));
    EXPECT_EQ(note.NoteText->lines(), sampleRecord().lines); // no body file: the plain lines
    EXPECT_FALSE(note.OnTop());
    EXPECT_FALSE(notetest::onTopMark(note));
    EXPECT_FALSE(note.AlarmEnabled());
    EXPECT_FALSE(note.ExpirationEnabled());
    const double created = storage::fromQDateTime(notetest::fixedNow());
    EXPECT_DOUBLE_EQ(note.AlarmDate(), created);
    EXPECT_DOUBLE_EQ(note.ExpirationTime(), created);
    EXPECT_DOUBLE_EQ(note.CreateStamp1(), created);
    EXPECT_EQ(note.RestoreWidth(), 150);
    EXPECT_EQ(note.RestoreHeight(), 90);
}

TEST_F(NoteLoading, AFileEndingAfterTheStampsTakesTheLoadedSizeToRestore)
{
    storage::writeNoteFileLayout(pathOf(QStringLiteral("24.jtl")), sampleRecord(),
                                 storage::NoteLayout::UpToStamps);
    TSingolNote note(false, services);
    note.LoadNote(QStringLiteral("24.jtl"));
    EXPECT_TRUE(note.OnTop());
    EXPECT_TRUE(note.AlarmEnabled());
    EXPECT_TRUE(note.ExpirationEnabled());
    EXPECT_DOUBLE_EQ(note.AlarmTime(), sampleRecord().alarmTime);
    EXPECT_DOUBLE_EQ(note.CreateStamp2(), sampleRecord().createStamp2);
    EXPECT_EQ(note.RestoreWidth(), 150);
    EXPECT_EQ(note.RestoreHeight(), 90);
}

TEST_F(NoteLoading, AnUnreadablePositionCentresTheNewNoteSize)
{
    QFile::copy(
        QStringLiteral(JL_TEST_SOURCE_DIR "/fuzz/notefile/corpus/damaged-position-as-word.jtl"),
        pathOf(QStringLiteral("5.jtl")));
    TSingolNote note(false, services);
    note.LoadNote(QStringLiteral("5.jtl"));
    const QSize screen = screenSize();
    EXPECT_EQ(note.pos(), QPoint((screen.width() - 135) / 2, (screen.height() - 80) / 2));
    EXPECT_EQ(note.size(), QSize(210, 160));
}

TEST_F(NoteLoading, AnUnreadableTitleFailsAndChangesNothing)
{
    const QString path = pathOf(QStringLiteral("7.jtl"));
    QFile::copy(
        QStringLiteral(JL_TEST_SOURCE_DIR "/fuzz/notefile/corpus/damaged-truncated-title.jtl"),
        path);
    const QByteArray bytes = readAll(path);
    TSingolNote note(false, services);
    const QString drawnName = note.NoteFileName();
    const QPoint place = note.pos();
    EXPECT_THROW(note.LoadNote(QStringLiteral("7.jtl")), Error);
    EXPECT_EQ(note.NoteFileName(), drawnName);
    EXPECT_EQ(note.pos(), place);
    EXPECT_EQ(note.size(), QSize(135, 80));
    EXPECT_FALSE(note.isVisible());
    EXPECT_EQ(readAll(path), bytes);
}

TEST_F(NoteLoading, AMissingFileIsAnError)
{
    TSingolNote note(false, services);
    try {
        note.LoadNote(QStringLiteral("404.jtl"));
        FAIL() << "no error";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("File not found"));
    }
}

TEST_F(NoteLoading, TheBodyFileSupersedesThePlainLines)
{
    storage::writeNoteFile(pathOf(QStringLiteral("8.jtl")), sampleRecord());
    ui::NoteText rich;
    rich.setLines({QStringLiteral("rich ")});
    addBoldWord(rich, QStringLiteral("body"));
    rich.saveToFile(pathOf(QStringLiteral("8.jtl2")));
    TSingolNote note(false, services);
    note.LoadNote(QStringLiteral("8.jtl"));
    EXPECT_EQ(note.NoteText->lines(), QStringList({QStringLiteral("rich body")}));
    EXPECT_TRUE(hasBoldRun(*note.NoteText->document(), QStringLiteral("body")));
    EXPECT_EQ(note.NoteText->bodyFont(), sampleRecord().bodyFont);
}

TEST_F(NoteLoading, AnUnreadableBodyFileFailsAndChangesNothing)
{
    storage::writeNoteFile(pathOf(QStringLiteral("9.jtl")), sampleRecord());
    QDir(folder()).mkdir(QStringLiteral("9.jtl2")); // a folder where the body should be
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("before")});
    const storage::FontDesc font = note.NoteText->bodyFont();
    EXPECT_THROW(note.LoadNote(QStringLiteral("9.jtl")), EInOutError);
    EXPECT_NE(note.NoteFileName(), QStringLiteral("9.jtl"));
    EXPECT_EQ(note.NoteText->lines(), QStringList({QStringLiteral("before")}));
    EXPECT_EQ(note.NoteText->bodyFont(), font);
    EXPECT_EQ(note.NoteTitle->text(), QStringLiteral("Vesk Jotlet 2003"));
}

using LostMonitor = NoteFixture;

TEST_F(LostMonitor, ANoteOffEveryScreenIsShownOnTheNearestOne)
{
    storage::NoteRecord far = sampleRecord();
    far.left = 30000;
    far.top = 200;
    const QString path = pathOf(QStringLiteral("1.jtl"));
    storage::writeNoteFile(path, far);
    const QByteArray bytes = readAll(path);

    TSingolNote note(false, services);
    note.LoadNote(QStringLiteral("1.jtl"));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(note.geometry())) << note.geometry().x();
    EXPECT_EQ(note.y(), 200);
    EXPECT_EQ(readAll(path), bytes); // the file keeps its place until the next save

    note.SaveNote();
    const storage::NoteRecord none;
    EXPECT_EQ(storage::readNoteFile(path, none, {}, {}).left, note.x());
}

TEST_F(LostMonitor, ANoteThatStillOverlapsAScreenStaysWhereItWas)
{
    storage::NoteRecord edge = sampleRecord();
    edge.left = screenSize().width() - 20;
    edge.top = -30;
    storage::writeNoteFile(pathOf(QStringLiteral("2.jtl")), edge);
    TSingolNote note(false, services);
    note.LoadNote(QStringLiteral("2.jtl"));
    EXPECT_EQ(note.pos(), QPoint(screenSize().width() - 20, -30));
}
