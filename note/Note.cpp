#include "note/Note.h"

#include "note/DesktopHints.h"
#include "note/NoteParts.h"
#include "note/ScreenFit.h"
#include "settings/DResource.h"
#include "settings/SettingsTable.h"
#include "settings/TextIds.h"
#include "storage/DateTime.h"
#include "storage/NoteFolder.h"
#include "ui/BodyText.h"
#include "ui/CharFormats.h"
#include "ui/ColorRef.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"
#include "ui/NoteText.h"
#include "ui/QuietShow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {

constexpr QSize kDesignClientSize(168, 96);
constexpr QRect kDesignTitleEditBounds(96, 40, 121, 21);
constexpr qint32 kYellow = 0x0000FFFF;
constexpr qint32 kTitleGreen = 0x00C0DCC0;

// The form font every part starts with. Its face is kept by name even where
// the system shows another, so the defaults written to the settings hold.
storage::FontDesc formFont()
{
    storage::FontDesc font;
    font.name = QStringLiteral("MS Sans Serif");
    font.size = 8;
    return font;
}

// The note that application-wide activation changes go to.
QPointer<TSingolNote> &installedNote()
{
    static QPointer<TSingolNote> note;
    return note;
}

} // namespace

TSingolNote::TSingolNote(bool onTop, note::SharedServices services)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    , NotePanel(new note::NotePanel(this))
    , NoteTitle(new note::NoteTitle(NotePanel))
    , TitleEdit([this] { return makeTitleEdit(); })
    , NoteText([this] { return makeBody(); })
    , Menus(note::SharedNoteMenus::get().items())
    , m_services(std::move(services))
    , m_saveTimer(new QTimer(this))
    , m_placeCheck(new QTimer(this))
{
    const double created = m_services->now();
    m_record.createStamp1 = m_record.createStamp2 = created;
    m_record.alarmDate = m_record.alarmTime = created;
    m_record.expirationDate = m_record.expirationTime = created;
    m_saveTimer->setSingleShot(true);
    connect(m_saveTimer, &QTimer::timeout, this, &TSingolNote::saveChanges);
    // Long enough for the window manager to have put the frame in place.
    m_placeCheck->setSingleShot(true);
    m_placeCheck->setInterval(200);
    connect(m_placeCheck, &QTimer::timeout, this, &TSingolNote::matchPlaceOnScreen);
    setWindowTitle(QStringLiteral("JotNoteLight"));
    // The title's hint is for every note under the pointer, not only the
    // active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFont(ui::fontFromDesc(formFont()));
    resize(kDesignClientSize);

    NotePanel->setObjectName(QStringLiteral("NotePanel"));
    NotePanel->setColorRef(kYellow);
    NoteTitle->setObjectName(QStringLiteral("NoteTitle"));
    NoteTitle->setColorRef(kTitleGreen);
    NoteTitle->setFontDesc(formFont());
    NoteTitle->setToolTip(TReadRes::current().GetText(settings::TitleHint));
    m_waitingBody.font = formFont();
    LayoutBody();
    connectParts();

    m_record.onTop = onTop;
    installActivationHandler(this);
    SetOnTop(onTop);
    InitDefaults();
    forgetChanges();
}

TSingolNote::~TSingolNote()
{
    // The parts outlive this object's own destructor and still signal while
    // they go (the body loses the focus, for one): nothing may reach a note
    // that is half destroyed.
    NotePanel->disconnect(this);
    NoteTitle->disconnect(this);
    for (QWidget *part : {static_cast<QWidget *>(TitleEdit.made() ? TitleEdit.get() : nullptr),
                          static_cast<QWidget *>(NoteText.made() ? NoteText.get() : nullptr)}) {
        if (part) {
            part->disconnect(this);
            part->removeEventFilter(this);
        }
    }
    if (installedNote() == this)
        installedNote().clear();
}

void TSingolNote::connectParts()
{
    connect(NotePanel, &note::NotePanel::mousePressed, this, &TSingolNote::NotePanelMouseDown);
    connect(NotePanel, &note::NotePanel::mouseMoved, this, &TSingolNote::NotePanelMouseMove);
    connect(NotePanel, &note::NotePanel::mouseReleased, this, &TSingolNote::NotePanelMouseUp);
    connect(NoteTitle, &note::NoteTitle::mousePressed, this, &TSingolNote::NoteTitleMouseDown);
    connect(NoteTitle, &note::NoteTitle::mouseMoved, this, &TSingolNote::NoteTitleMouseMove);
    connect(NoteTitle, &note::NoteTitle::mouseReleased, this, &TSingolNote::NoteTitleMouseUp);
    connect(NoteTitle, &note::NoteTitle::doubleClicked, this, &TSingolNote::NoteTitleDblClick);
    connect(NoteTitle, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        aimMenus();
        Menus.PopupTitle->popup(NoteTitle->mapToGlobal(at));
    });
    connectCommands();
}

ui::NoteText *TSingolNote::makeBody()
{
    // Runs inside the first use of NoteText: nothing here may use it.
    auto *body = new ui::NoteText(NotePanel);
    body->setObjectName(QStringLiteral("NoteText"));
    body->setBackColor(ui::colorFromRef(NotePanel->colorRef()));
    body->setBodyFont(m_waitingBody.font);
    if (m_waitingBody.file)
        body->loadFromBytes(*m_waitingBody.file);
    else if (!m_waitingBody.lines.isEmpty())
        body->setLines(m_waitingBody.lines);
    m_waitingBody = {};
    body->selectNoneAtStart();
    body->setGeometry(bodyGeometry());
    body->setFocus();
    // Connected after the load: what the files held is no change.
    connect(body, &ui::NoteText::focusLost, this, &TSingolNote::NoteTextExit);
    connect(body->document(), &QTextDocument::contentsChanged, this, &TSingolNote::noteChanged);
    body->installEventFilter(this);
    connectBodyCommands(body);
    return body;
}

storage::FontDesc TSingolNote::bodyFont() const
{
    return NoteText.made() ? NoteText->bodyFont() : m_waitingBody.font;
}

void TSingolNote::setBodyFont(const storage::FontDesc &font)
{
    if (NoteText.made())
        NoteText->setBodyFont(font);
    else
        m_waitingBody.font = font;
}

void TSingolNote::setBackColorRef(qint32 color)
{
    NotePanel->setColorRef(color);
    if (NoteText.made())
        NoteText->setBackColor(ui::colorFromRef(color));
}

QStringList TSingolNote::bodyLines() const
{
    if (NoteText.made())
        return NoteText->lines();
    if (m_waitingBody.file)
        return ui::bodyLines(*m_waitingBody.file);
    return m_waitingBody.lines;
}

void TSingolNote::setVisible(bool visible)
{
    // Made before the window shows, so that it shows with it.
    if (visible)
        NoteText.get();
    QWidget::setVisible(visible);
}

QLineEdit *TSingolNote::makeTitleEdit()
{
    auto *edit = new QLineEdit(NotePanel);
    edit->setObjectName(QStringLiteral("TitleEdit"));
    edit->setFrame(false);
    edit->setGeometry(kDesignTitleEditBounds);
    edit->setText(QStringLiteral("TitleEdit"));
    edit->hide();
    setTabOrder(NoteText, edit);
    connect(edit, &QLineEdit::textChanged, this, &TSingolNote::TitleEditChange);
    edit->installEventFilter(this);
    return edit;
}

// The application-wide activation changes go to the most recently created
// note, through one connection made once; a note that is gone is skipped.
void TSingolNote::installActivationHandler(TSingolNote *note)
{
    static const bool connected = [] {
        QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, qGuiApp, [] {
            if (TSingolNote *installed = installedNote())
                installed->FormDeactivate();
        });
        return true;
    }();
    Q_UNUSED(connected);
    installedNote() = note;
}

int TSingolNote::randomBelow(int bound) const
{
    return m_services->randomDraw(bound);
}

QString TSingolNote::notePath() const
{
    return m_noteFolder + QLatin1Char('/') + m_noteFileName;
}

void TSingolNote::InitDefaults()
{
    m_parked = false;
    m_noteFolder = storage::noteFolderPath();
    m_sizingWidth = false;
    m_sizingHeight = false;
    NoteTitle->setText(settings::kTitle.read());
    applyWindowSize(settings::kWidth.read(), settings::kHeight.read());

    setBackColorRef(settings::kBackColor.read());
    setBodyFont(settings::kNoteFont.readForNewNote(bodyFont()));
    const storage::FontDesc titleFont = settings::kTitleFont.readForNewNote(NoteTitle->fontDesc());
    NoteTitle->setColorRef(settings::kBackTitleColor.read());
    NoteTitle->setFontDesc(titleFont);

    const int position = settings::kPosition.read();
    const notegeometry::RandomDraw draw = [this](int bound) {
        return randomBelow(bound);
    };
    move(notegeometry::placeNewNote(position, note::primaryScreenSize(), size(), draw));
    m_noteFileName = storage::newNoteFileName(m_noteFolder, draw);
    SetOnTop(m_record.onTop);
    LayoutBody();
}

void TSingolNote::applyWindowSize(int width, int height)
{
    // A window needs at least one pixel each way to exist on screen.
    resize(std::max(1, width), std::max(1, height));
}

void TSingolNote::SetOnTop(bool value)
{
    if (m_discarded)
        return;
    m_aboveUntilDeactivated = false;
    // Only the stacking band changes.
    ui::setStaysOnTop(this, value);
    if (m_record.onTop != value)
        noteChanged();
    m_record.onTop = value;
    if (note::SharedNoteMenus::get().target() == this)
        aimMenus(); // the mark follows while its menu may be open
}

void TSingolNote::BringToFront()
{
    const bool wasOnTop = m_record.onTop;
    SetOnTop(true);
    raise();
    if (!wasOnTop)
        SetOnTop(false);
}

void TSingolNote::takeFocus()
{
    show();
    raise();
    activateWindow();
    NoteText->setFocus(Qt::OtherFocusReason);
}

void TSingolNote::comeForward()
{
    if (m_discarded)
        return;
    if (height() == notegeometry::kRolledUpSide)
        NoteTitleDblClick();
    // Out of reach under a note kept on top is not in front: for as long
    // as the user works in it, it is kept on top too.
    if (!m_record.onTop) {
        ui::setStaysOnTop(this, true);
        m_aboveUntilDeactivated = true;
    }
    takeFocus();
}

void TSingolNote::endComingForward()
{
    if (!m_aboveUntilDeactivated)
        return;
    m_aboveUntilDeactivated = false;
    ui::setStaysOnTop(this, m_record.onTop);
}

void TSingolNote::LayoutBody()
{
    const int frame = note::NotePanel::kFrameWidth;
    NotePanel->setGeometry(rect());
    NoteTitle->setGeometry(frame, frame, std::max(0, width() - 2 * frame),
                           note::NoteTitle::kHeight);
    if (NoteText.made())
        NoteText->setGeometry(bodyGeometry());
}

QRect TSingolNote::bodyGeometry() const
{
    const int frame = note::NotePanel::kFrameWidth;
    const int titleHeight = note::NoteTitle::kHeight;
    return QRect(frame, frame + titleHeight, std::max(0, width() - 2 * frame),
                 std::max(0, height() - 2 * frame - titleHeight));
}

void TSingolNote::FormDeactivate()
{
    ui::runGuarded(this, [this] {
        if (!m_modified)
            return;
        SaveNote();
        m_modified = false;
    });
}

void TSingolNote::NoteTextExit()
{
    ui::runGuarded(this, [this] { SaveNote(); });
}

void TSingolNote::Ontop1Click()
{
    ui::runGuarded(this, [this] {
        SetOnTop(!m_record.onTop);
        // A discarded note ignores it; the check mark must not pretend otherwise.
        aimMenus();
    });
}

bool TSingolNote::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        endComingForward();
        FormDeactivate();
    }
    return QWidget::event(event);
}

void TSingolNote::closeEvent(QCloseEvent *event)
{
    // A note whose save failed stays open, so what it holds is not lost from view.
    if (ui::runGuarded(this, [this] { SaveNote(); }))
        event->accept();
    else
        event->ignore();
}

void TSingolNote::moveEvent(QMoveEvent *event)
{
    // A place the window system reports may be a wrong one (see
    // placeOnScreen): it is checked once the window manager is done.
    if (event->spontaneous())
        m_placeCheck->start();
    noteChanged();
    QWidget::moveEvent(event);
}

void TSingolNote::resizeEvent(QResizeEvent *event)
{
    ui::runGuarded(this, [this] {
        m_modified = true;
        LayoutBody();
    });
    noteChanged();
    QWidget::resizeEvent(event);
}

void TSingolNote::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        note::keepOffTaskbarAndPager(*this);
        noteChanged();
    }
    QWidget::showEvent(event);
}

void TSingolNote::hideEvent(QHideEvent *event)
{
    endComingForward();
    if (!event->spontaneous())
        noteChanged();
    QWidget::hideEvent(event);
}

void TSingolNote::matchPlaceOnScreen()
{
    // Moving to where the window already is changes nothing on screen, but
    // puts the toolkit right, so a resize or a save keeps that place.
    if (const std::optional<QPoint> place = note::placeOnScreen(*this); place && *place != pos())
        move(*place);
}

void TSingolNote::noteChanged()
{
    Q_EMIT changed();
    if (m_discarded)
        return;
    if (!m_unsavedSince.isValid())
        m_unsavedSince.start();
    const qint64 untilLongest = kLongestUnsavedMs - m_unsavedSince.elapsed();
    m_saveTimer->start(int(std::clamp<qint64>(untilLongest, 0, kSaveAfterQuietMs)));
}

void TSingolNote::forgetChanges()
{
    m_unsavedSince.invalidate();
    m_saveTimer->stop();
    m_changesError.clear();
}

void TSingolNote::saveChanges()
{
    if (!hasUnsavedChanges() || m_discarded)
        return;
    QString reason;
    try {
        SaveNote();
        return;
    } catch (const Error &e) {
        reason = e.message();
    } catch (const std::exception &e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    // Tried again after the next change; a reason already shown is not shown
    // again at every keystroke that follows.
    m_unsavedSince.start();
    if (reason != m_changesError) {
        m_changesError = reason;
        dialogs::showError(this, reason);
    }
}
