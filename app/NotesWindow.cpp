#include "app/NotesWindow.h"

#include "app/NoteRowDelegate.h"
#include "app/NotesModel.h"
#include "app/NotesTexts.h"
#include "note/Note.h"
#include "ui/Guarded.h"
#include "ui/QuietShow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace app {
namespace {

constexpr QSize kDefaultSize(540, 460);

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The keys that move through the list, also when they are typed into the
// search field.
bool movesInList(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

NotesWindow::NotesWindow(NoteSource notes, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , Model(new NotesModel(this))
    , Search(new QLineEdit(this))
    , List(new QListView(this))
    , EmptyLabel(new QLabel(this))
    , HintLabel(new QLabel(this))
    , ShowButton(new QPushButton(this))
    , HideButton(new QPushButton(this))
    , CloseForGoodButton(new QPushButton(this))
    , CloseButton(new QPushButton(this))
    , m_notes(std::move(notes))
{
    setObjectName(QStringLiteral("NotesWindow"));
    Search->setObjectName(QStringLiteral("Search"));
    Search->setClearButtonEnabled(true);
    List->setObjectName(QStringLiteral("NoteList"));
    List->setModel(Model);
    List->setItemDelegate(new NoteRowDelegate(List));
    List->setUniformItemSizes(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EmptyLabel->setAlignment(Qt::AlignCenter);
    EmptyLabel->setEnabled(false);
    HintLabel->setWordWrap(true);
    HintLabel->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ShowButton);
    buttons->addWidget(HideButton);
    buttons->addWidget(CloseForGoodButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Search);
    layout->addWidget(List, 1);
    layout->addWidget(EmptyLabel);
    layout->addWidget(HintLabel);
    layout->addLayout(buttons);
    setTabOrder(Search, List);
    resize(kDefaultSize);

    applyCaptions();
    connectParts();
    updateControls();
}

NotesWindow::~NotesWindow() = default;

void NotesWindow::applyCaptions()
{
    using namespace notestexts;
    setWindowTitle(text(kAllNotes).remove(QLatin1Char('&')));
    Search->setPlaceholderText(text(kSearchPlaceholder));
    ShowButton->setText(text(kShow));
    HideButton->setText(text(kHide));
    CloseForGoodButton->setText(text(kCloseForGood));
    CloseButton->setText(text(kCloseWindow));
    HintLabel->setText(text(kKeysHint));
    List->setAccessibleName(windowTitle());
}

void NotesWindow::connectParts()
{
    const auto guarded = [this](void (NotesWindow::*command)()) {
        return [this, command] {
            ui::runGuarded(this, [this, command] { (this->*command)(); });
        };
    };
    connect(ShowButton, &QPushButton::clicked, this, guarded(&NotesWindow::showSelected));
    connect(HideButton, &QPushButton::clicked, this, guarded(&NotesWindow::hideSelected));
    connect(CloseForGoodButton, &QPushButton::clicked, this,
            guarded(&NotesWindow::closeSelectedForGood));
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(List, &QListView::doubleClicked, this, guarded(&NotesWindow::showSelected));
    connect(Search, &QLineEdit::textChanged, Model, &NotesModel::setSearch);
    connect(Model, &QAbstractItemModel::modelAboutToBeReset, this, &NotesWindow::keepSelection);
    connect(Model, &QAbstractItemModel::modelReset, this, &NotesWindow::restoreSelection);
    connect(Model, &QAbstractItemModel::dataChanged, this, &NotesWindow::updateControls);
    connect(List->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &NotesWindow::updateControls);
    Search->installEventFilter(this);
    List->installEventFilter(this);
}

void NotesWindow::open()
{
    Model->setNotes(m_notes());
    if (!m_placed) {
        // Centred on the screen the first time; where the user left it after.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
    Search->setFocus(Qt::OtherFocusReason);
    Search->selectAll();
}

void NotesWindow::noteAdded(TSingolNote *note)
{
    if (isVisible())
        Model->addNote(note);
}

TSingolNote *NotesWindow::selectedNote() const
{
    return Model->noteAt(List->currentIndex().row());
}

void NotesWindow::showSelected()
{
    if (TSingolNote *note = selectedNote())
        note->comeForward();
}

void NotesWindow::hideSelected()
{
    if (TSingolNote *note = selectedNote())
        note->hide();
}

void NotesWindow::closeSelectedForGood()
{
    if (TSingolNote *note = selectedNote())
        note->closeForGood(this);
    // The list shows it gone at once, not a moment later.
    Model->updateNow();
}

void NotesWindow::select(int row)
{
    const QModelIndex index = Model->index(row);
    List->setCurrentIndex(index);
    if (index.isValid())
        List->scrollTo(index);
}

void NotesWindow::keepSelection()
{
    m_selectedRowBefore = List->currentIndex().row();
    m_selectedBefore = selectedNote();
}

void NotesWindow::restoreSelection()
{
    int row = Model->rowOf(m_selectedBefore);
    if (row < 0 && Model->rowCount() > 0)
        row = std::clamp(m_selectedRowBefore, 0, Model->rowCount() - 1);
    select(row);
    updateControls();
}

void NotesWindow::updateControls()
{
    TSingolNote *note = selectedNote();
    const int row = List->currentIndex().row();
    ShowButton->setEnabled(note);
    HideButton->setEnabled(note && Model->rowAt(row).visible);
    CloseForGoodButton->setEnabled(note);
    const bool empty = Model->rowCount() == 0;
    EmptyLabel->setVisible(empty);
    EmptyLabel->setText(
        notestexts::text(Model->noteCount() == 0 ? notestexts::kNoNotes : notestexts::kNoMatch));
}

bool NotesWindow::handleKey(QObject *watched, QKeyEvent *event)
{
    const QKeyEvent &key = *event;
    if (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    if (isEnter(key.key())) {
        ui::runGuarded(this, [this] { showSelected(); });
        return true;
    }
    if (key.key() == Qt::Key_Escape) {
        // A search is cleared first, then the window goes.
        if (watched == Search && !Search->text().isEmpty())
            Search->clear();
        else
            close();
        return true;
    }
    if (watched == List && key.key() == Qt::Key_Delete) {
        ui::runGuarded(this, [this] { closeSelectedForGood(); });
        return true;
    }
    if (watched == Search && movesInList(key.key())) {
        if (Model->rowCount() > 0 && !List->currentIndex().isValid())
            select(0);
        else
            QCoreApplication::sendEvent(List, event);
        return true;
    }
    // Typing in the list goes on in the search field.
    if (watched == List && !key.text().isEmpty() && key.text().at(0).isPrint()) {
        Search->setFocus(Qt::OtherFocusReason);
        Search->insert(key.text());
        return true;
    }
    return false;
}

bool NotesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == Search || watched == List) && event->type() == QEvent::KeyPress
        && handleKey(watched, static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool NotesWindow::event(QEvent *event)
{
    // In front of notes kept on top while the user works in it, and only then.
    if (event->type() == QEvent::WindowActivate)
        ui::setStaysOnTop(this, true);
    else if (event->type() == QEvent::WindowDeactivate)
        ui::setStaysOnTop(this, false);
    return QWidget::event(event);
}

void NotesWindow::closeEvent(QCloseEvent *event)
{
    // Closed, it follows no note and holds nothing.
    Model->clear();
    QWidget::closeEvent(event);
}

} // namespace app
