#include "ui/Dialogs.h"

#include "ui/ColorRef.h"
#include "ui/FontDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace dialogs {
namespace {

DialogScript *g_script = nullptr;
Unattended *g_unattended = nullptr;
int g_openModalWindows = 0;
int g_modalWindowsShown = 0;

// A modal window counts as open for as long as its event loop runs.
class OpenModal
{
public:
    OpenModal()
    {
        ++g_openModalWindows;
        ++g_modalWindowsShown;
    }
    ~OpenModal() { --g_openModalWindows; }
    OpenModal(const OpenModal &) = delete;
    OpenModal &operator=(const OpenModal &) = delete;
};

// True when nobody is there to see the message, or it went to a script.
bool recorded(const QString &message)
{
    if (g_unattended)
        g_unattended->messages << message;
    else if (g_script)
        g_script->messages << message;
    else
        return false;
    return true;
}

template<typename T> T takeNext(std::deque<T> &answers, T cancelled)
{
    if (answers.empty())
        return cancelled;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

QString boxTitle()
{
    return QApplication::applicationName();
}

} // namespace

void setScript(DialogScript *script)
{
    g_script = script;
}

DialogScript *currentScript()
{
    return g_script;
}

Unattended::Unattended()
    : m_previous(g_unattended)
{
    g_unattended = this;
}

Unattended::~Unattended()
{
    g_unattended = m_previous;
}

void showError(QWidget *parent, const QString &message)
{
    if (recorded(message))
        return;
    QMessageBox box(QMessageBox::Critical, boxTitle(), message, QMessageBox::Ok, parent);
    execute(box);
}

void showInformation(QWidget *parent, const QString &message)
{
    if (recorded(message))
        return;
    QMessageBox box(QMessageBox::Information, boxTitle(), message, QMessageBox::Ok, parent);
    execute(box);
}

bool confirm(QWidget *parent, const QString &question)
{
    if (g_unattended)
        return false;
    if (g_script) {
        g_script->questions << question;
        return takeNext(g_script->confirmations, false);
    }
    QMessageBox box(QMessageBox::Question, boxTitle(), question,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return execute(box) == QMessageBox::Ok;
}

std::optional<storage::FontDesc> chooseFont(QWidget *parent, const storage::FontDesc &initial)
{
    if (g_unattended)
        return std::nullopt;
    if (g_script) {
        g_script->fontPresets << initial;
        if (g_script->fonts.empty())
            return std::nullopt;
        storage::FontDesc font = g_script->fonts.front();
        g_script->fonts.pop_front();
        return font;
    }
    ui::FontDialog dialog(initial, parent);
    if (execute(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.font();
}

std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial)
{
    if (g_unattended)
        return std::nullopt;
    if (g_script) {
        const QColor color = takeNext(g_script->colors, QColor());
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    }
    QColorDialog dialog(initial, parent);
    if (execute(dialog) != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}

QString chooseOpenFile(QWidget *parent, const QString &filter, const QString &folder)
{
    if (g_unattended)
        return {};
    if (g_script) {
        g_script->openFileDialogs << filter + QStringLiteral(" in ") + folder;
        return takeNext(g_script->openFiles, QString());
    }
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return execute(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                       const QString &suggestedPath)
{
    if (g_unattended)
        return {};
    if (g_script) {
        g_script->questions << title;
        return takeNext(g_script->saveFiles, QString());
    }
    QFileDialog dialog(parent, title, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggestedPath);
    return execute(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

int execute(QDialog &dialog)
{
    if (g_unattended)
        return QDialog::Rejected;
    const OpenModal open;
    // Above every note, the ones kept on top included: a question hidden
    // under a note cannot be answered.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    return dialog.exec();
}

int openModalWindows()
{
    return g_openModalWindows;
}

int modalWindowsShown()
{
    return g_modalWindowsShown;
}

void cancelModalWindows()
{
    // Rejecting tells each nested loop to end; they unwind innermost first.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}

} // namespace dialogs
