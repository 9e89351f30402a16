#include "note/NoteTestSupport.h"

#include "note/Note.h"
#include "platform/Paths.h"
#include "settings/DResource.h"
#include "storage/DateTime.h"
#include "storage/NoteFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>

namespace notetest {

QDateTime fixedNow()
{
    return QDateTime(QDate(2024, 3, 9), QTime(14, 5, 33, 250));
}

int ScriptedDraws::operator()(int bound)
{
    bounds.push_back(bound);
    if (!values.empty()) {
        const int value = values.front();
        values.erase(values.begin());
        return value;
    }
    return next++ % bound;
}

void NoteFixture::SetUp()
{
    QApplication::setQuitOnLastWindowClosed(false);
    const QString languages = QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language");
    TReadRes::setCurrent(
        std::make_unique<TReadRes>(languages + QStringLiteral("/english.lng"), languages));
    QFile::remove(platform::registryFile());
    QDir(storage::noteFolderPath()).removeRecursively();
    m_folder = storage::ensureNoteFolder();
    note::NoteServices forwarding;
    forwarding.openUrl = [this](const QUrl &url) {
        openUrl(url);
    };
    forwarding.printer = [this] {
        return printer();
    };
    forwarding.randomDraw = [this](int bound) {
        return draws(bound);
    };
    forwarding.now = [this] {
        return now();
    };
    services = std::make_shared<const note::NoteServices>(std::move(forwarding));
    dialogs::setScript(&script);
}

void NoteFixture::TearDown()
{
    dialogs::setScript(nullptr);
}

QString NoteFixture::pathOf(const QString &fileName) const
{
    return m_folder + QLatin1Char('/') + fileName;
}

QStringList NoteFixture::noteFiles() const
{
    return storage::listNoteFiles(m_folder);
}

bool onTopMark(TSingolNote &note)
{
    note.aimMenus();
    return note.Menus.Ontop1->isChecked();
}

void activate(TSingolNote &note)
{
    QEvent event(QEvent::WindowActivate);
    QApplication::sendEvent(&note, &event);
}

void deactivate(TSingolNote &note)
{
    QEvent event(QEvent::WindowDeactivate);
    QApplication::sendEvent(&note, &event);
}

} // namespace notetest
