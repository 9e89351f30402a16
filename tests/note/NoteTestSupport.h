#pragma once

#include "note/NoteGeometry.h"
#include "note/NoteServices.h"
#include "storage/DateTime.h"
#include "ui/Dialogs.h"

#include <QDateTime>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

class TSingolNote;

namespace notetest {

// The moment every note of a test is created at.
QDateTime fixedNow();

// Draws handed out in order; when the script runs out, a counter goes on,
// so later file names still differ.
struct ScriptedDraws
{
    std::vector<int> values;
    std::vector<int> bounds; // the bounds asked for, in order
    int next = 1;
    int operator()(int bound);
};

// Every note test starts from no settings, an empty note folder, the English
// captions, a fixed clock, scripted random draws and scripted dialogs that
// collect the error messages instead of showing message boxes. Its notes get
// `services`, which hand on to the members below.
class NoteFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The note folder, made empty for this test.
    QString folder() const { return m_folder; }
    QString pathOf(const QString &fileName) const;
    // The note files (not body files) in the note folder, sorted.
    QStringList noteFiles() const;

    ScriptedDraws draws;
    std::function<double()> now = [] {
        return storage::fromQDateTime(fixedNow());
    };
    std::function<void(const QUrl &url)> openUrl = [](const QUrl &) {
    }; // nothing opens
    std::function<std::unique_ptr<QPrinter>()> printer = [] {
        return nullptr;
    };
    note::SharedServices services;
    // The answers the dialogs give; no dialog opens.
    dialogs::DialogScript script;
    QStringList &errors = script.messages; // reported messages, in order

private:
    QString m_folder;
};

// The on-top mark its menu shows when opened on the note.
bool onTopMark(TSingolNote &note);

// The window in front for the toolkit, as the window system would report it.
void activate(TSingolNote &note);
void deactivate(TSingolNote &note);

} // namespace notetest
