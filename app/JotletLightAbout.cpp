// The controller as the About window: shown at its full size, centred, and
// shrunk to nothing again by its OK button.
#include "app/AboutBox.h"
#include "app/DLista.h"
#include "app/JotletLight.h"
#include "settings/DResource.h"
#include "settings/TextIds.h"
#include "ui/Guarded.h"
#include "ui/Links.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {

// The language file's address is outside data, and is opened as a note's
// mail link would be.
QUrl mailTo(const QString &address)
{
    return ui::linkUrl(QStringLiteral("mailto:") + address);
}

} // namespace

void TFJotletLightMain::ShowAboutBox(bool withOk)
{
    const TReadRes &texts = TReadRes::current();
    PanGen->BContinue->setVisible(withOk);
    PanGen->LOptions->clear();
    if (withOk && NotesLoaded && m_notes) {
        m_notes->purgeClosed();
        PanGen->LOptions->setText(QString::number(m_notes->count()) + QLatin1Char(' ')
                                  + texts.GetText(settings::AboutNotesCount));
    }
    PanGen->lblAuthor->setText(texts.LangAuthor);
    PanGen->LblLng->setText(texts.LangLanguage);
    PanGen->lblVers->setText(texts.LangVersion);
    PanGen->fitTexts();

    m_aboutOpen = true;
    resize(AboutWidth, AboutHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(app::centredTopLeft(screen->geometry(), size()));
    show();
    raise();
}

void TFJotletLightMain::HideAboutBox()
{
    // Hiding twice must not forget the real size.
    if (width() > 0 && height() > 0) {
        AboutWidth = quint16(width());
        AboutHeight = quint16(height());
    }
    resize(0, 0);
    hide();
    m_aboutOpen = false;
}

void TFJotletLightMain::BContinueClick()
{
    HideAboutBox();
    ParkNotes(false);
    attachTray(true);
}

void TFJotletLightMain::closeEvent(QCloseEvent *event)
{
    // Only the program's own end closes the controller; a close from the
    // window manager must not leave the notes parked and the tray away.
    event->ignore();
    if (m_aboutOpen)
        ui::runGuarded(nullptr, [this] { BContinueClick(); });
}

void TFJotletLightMain::LcopClick()
{
    m_environment.noteServices->openUrl(QUrl(QLatin1String(app::kMakerWebSite)));
}

void TFJotletLightMain::Label3Click()
{
    m_environment.noteServices->openUrl(QUrl(QLatin1String(app::kMakerSecondAddress)));
}

void TFJotletLightMain::LemailClick()
{
    m_environment.noteServices->openUrl(mailTo(QLatin1String(app::kSupportMail)));
}

void TFJotletLightMain::lblAuthorClick()
{
    // Whatever the language file gives, even "Not defined".
    m_environment.noteServices->openUrl(mailTo(TReadRes::current().LangEmail));
}
