// The options dialog's language page and start-up box.
#include "settings/unOptions.h"

#include "platform/Paths.h"
#include "settings/DResource.h"
#include "settings/StartupEntry.h"
#include "settings_ui/OptionsFixture.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using OptionsLanguage = OptionsTest;
using OptionsStartup = OptionsTest;
using settings::OptionsForm;
using settings::quotedExecArgument;
using settings::readStartupEntry;

namespace {

QTreeWidgetItem *rowOf(const QTreeWidget &list, const QString &fileName)
{
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        if (list.topLevelItem(i)->text(1) == fileName)
            return list.topLevelItem(i);
    }
    return nullptr;
}

} // namespace

TEST_F(OptionsLanguage, ListShowsTheLanguageFolderWithoutDefaultCopies)
{
    testsupport::writeAll(languageFolder() + QStringLiteral("/Default.LNG"), "[General]\n");
    testsupport::writeAll(languageFolder() + QStringLiteral("/mydefault.lng"), "[General]\n");
    testsupport::writeAll(languageFolder() + QStringLiteral("/plain.lng"), "[Resource]\n");
    TFrmOptions dialog(programFolder());
    const QTreeWidget &list = *dialog.form().lvLang;
    ASSERT_EQ(list.topLevelItemCount(), 3);
    const QTreeWidgetItem *german = list.topLevelItem(1);
    EXPECT_EQ(german->text(0), QStringLiteral("Deutsch"));
    EXPECT_EQ(german->text(1), QStringLiteral("german.lng"));
    EXPECT_EQ(german->text(2), QStringLiteral("Jotlet Light team"));
    EXPECT_EQ(german->text(3), QStringLiteral("1.9.6"));
    EXPECT_EQ(german->text(4), QStringLiteral("translations@jotletlight.example"));
    const QTreeWidgetItem *plain = list.topLevelItem(2);
    EXPECT_EQ(plain->text(0), QStringLiteral("plain.lng"));
    EXPECT_EQ(plain->text(2), QStringLiteral("not defined"));
    EXPECT_TRUE(plain->text(3).isEmpty());
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("english.lng"));
}

TEST_F(OptionsLanguage, MissingFolderAndMissingDefaultLeaveTheRestWorking)
{
    QDir(languageFolder()).removeRecursively();
    QFile::remove(programFolder() + QStringLiteral("/default.lng"));
    TFrmOptions dialog(programFolder());
    EXPECT_EQ(dialog.form().lvLang->topLevelItemCount(), 0);
    EXPECT_TRUE(dialog.form().edLanguage->text().isEmpty());
    EXPECT_EQ(dialog.form().edAuthor->text(), QStringLiteral("not defined"));
    dialog.form().edTitleNote->setText(QStringLiteral("x"));
    dialog.form().btnApply->click();
    EXPECT_EQ(dialog.result(), TFrmOptions::kResultOk);
    EXPECT_FALSE(QFile::exists(platform::userLanguageFile()));
}

TEST_F(OptionsLanguage, PickedRowIsInstalledAsTheUsersDefaultAndLoadsAtTheNextStart)
{
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    const QString programDefault = programFolder() + QStringLiteral("/default.lng");
    EXPECT_EQ(dialog.SelectedLngFile(), programDefault);

    f.lvLang->setCurrentItem(rowOf(*f.lvLang, QStringLiteral("german.lng")));
    EXPECT_TRUE(f.btnApply->isEnabled());
    EXPECT_EQ(f.edLanguage->text(), QStringLiteral("german.lng"));
    EXPECT_EQ(f.edAuthor->text(), QStringLiteral("Jotlet Light team"));
    EXPECT_EQ(dialog.SelectedLngFile(), languageFolder() + QStringLiteral("/german.lng"));
    // Deselecting the chosen row keeps it chosen.
    f.lvLang->clearSelection();
    EXPECT_EQ(dialog.SelectedLngFile(), languageFolder() + QStringLiteral("/german.lng"));

    f.btnApply->click();
    EXPECT_EQ(dialog.result(), TFrmOptions::kResultOk);
    EXPECT_EQ(testsupport::readAll(platform::userLanguageFile()),
              testsupport::readAll(languageFolder() + QStringLiteral("/german.lng")));
    // The program folder's copy is never written: it may be read-only.
    EXPECT_EQ(testsupport::readAll(programDefault),
              testsupport::readAll(sourceLanguage(QStringLiteral("english.lng"))));
    const TReadRes next(platform::activeLanguageFileIn(programFolder()), languageFolder());
    EXPECT_EQ(next.LangLanguage, QStringLiteral("Deutsch"));
    EXPECT_EQ(next.GetText(73), QStringLiteral("Titel:"));

    // The next dialog shows the installed language, and Ok without a pick keeps it.
    TFrmOptions again(programFolder());
    EXPECT_EQ(again.form().edLanguage->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(again.SelectedLngFile(), platform::userLanguageFile());
    again.form().edTitleNote->setText(QStringLiteral("x"));
    again.form().btnApply->click();
    EXPECT_EQ(
        TReadRes(platform::activeLanguageFileIn(programFolder()), languageFolder()).LangLanguage,
        QStringLiteral("Deutsch"));
}

TEST_F(OptionsLanguage, FailedInstallIsReportedAndTheDialogStaysOpen)
{
    testsupport::writeAll(platform::userLanguageFile(), "[General]\nlanguage=Mine\n");
    const QString doomed = languageFolder() + QStringLiteral("/doomed.lng");
    testsupport::writeAll(doomed, "[General]\nlanguage=Doomed\n");
    TFrmOptions dialog(programFolder());
    dialog.show();
    const OptionsForm &f = dialog.form();
    f.lvLang->setCurrentItem(rowOf(*f.lvLang, QStringLiteral("doomed.lng")));
    QFile::remove(doomed);
    f.btnApply->click();
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0],
              QStringLiteral("Cannot install the language file %1: File not found").arg(doomed));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(f.btnApply->isEnabled());
    EXPECT_EQ(testsupport::readAll(platform::userLanguageFile()),
              QByteArray("[General]\nlanguage=Mine\n"));
}

TEST_F(OptionsStartup, BoxShowsTheEntryAndOkWritesOrDeletesIt)
{
    {
        TFrmOptions dialog(programFolder());
        EXPECT_FALSE(dialog.form().cbRunAtWindows->isChecked());
        dialog.form().cbRunAtWindows->click();
        dialog.form().btnApply->click();
    }
    const QByteArray entry = testsupport::readAll(platform::autostartFile());
    EXPECT_TRUE(entry.contains(
        "\nExec=" + quotedExecArgument(QCoreApplication::applicationFilePath()).toUtf8() + "\n"))
        << entry.constData();
    {
        TFrmOptions dialog(programFolder());
        EXPECT_TRUE(dialog.form().cbRunAtWindows->isChecked());
        EXPECT_FALSE(dialog.form().btnApply->isEnabled());
        dialog.form().cbRunAtWindows->click();
        dialog.form().btnApply->click();
    }
    EXPECT_FALSE(QFile::exists(platform::autostartFile()));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(OptionsStartup, UnreadableEntryIsReportedLeftClearedAndLeftAlone)
{
    const QByteArray garbage("\0\1\2", 3);
    QDir().mkpath(QFileInfo(platform::autostartFile()).path());
    testsupport::writeAll(platform::autostartFile(), garbage);
    TFrmOptions dialog(programFolder());
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_TRUE(script.messages[0].startsWith(QStringLiteral("Cannot read the start-up entry")));
    EXPECT_FALSE(dialog.form().cbRunAtWindows->isChecked());
    EXPECT_FALSE(dialog.form().btnApply->isEnabled());
    // Ok without a tick keeps the file the user may want to look at.
    dialog.form().edTitleNote->setText(QStringLiteral("x"));
    dialog.form().btnApply->click();
    EXPECT_EQ(testsupport::readAll(platform::autostartFile()), garbage);

    // A tick replaces it by a good entry.
    TFrmOptions again(programFolder());
    again.form().cbRunAtWindows->click();
    again.form().btnApply->click();
    EXPECT_TRUE(readStartupEntry());
}
