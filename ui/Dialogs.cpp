#include "ui/Dialogs.h"

#include "ui/ColorRef.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace dialogs {
namespace {

DialogScript *g_script = nullptr;
Unattended *g_unattended = nullptr;
int g_openModalWindows = 0;

// A modal window counts as open for as long as its event loop runs.
class OpenModal
{
public:
    OpenModal() { ++g_openModalWindows; }
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

QFont toQFont(const storage::FontDesc &desc)
{
    QFont font(desc.name);
    if (desc.size > 0)
        font.setPointSize(desc.size);
    font.setBold(desc.bold);
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    font.setStrikeOut(desc.strikeOut);
    return font;
}

storage::FontDesc toFontDesc(const QFont &font, qint32 color)
{
    return {font.family(),    font.pointSize(), font.bold(), font.italic(),
            font.underline(), font.strikeOut(), color};
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
    const OpenModal open;
    QMessageBox::critical(parent, boxTitle(), message);
}

void showInformation(QWidget *parent, const QString &message)
{
    if (recorded(message))
        return;
    const OpenModal open;
    QMessageBox::information(parent, boxTitle(), message);
}

bool confirm(QWidget *parent, const QString &question)
{
    if (g_unattended)
        return false;
    if (g_script) {
        g_script->questions << question;
        return takeNext(g_script->confirmations, false);
    }
    const OpenModal open;
    return QMessageBox::question(parent, boxTitle(), question,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

std::optional<storage::FontDesc> chooseFont(QWidget *parent, const storage::FontDesc &initial)
{
    if (g_unattended)
        return std::nullopt;
    if (g_script) {
        if (g_script->fonts.empty())
            return std::nullopt;
        storage::FontDesc font = g_script->fonts.front();
        g_script->fonts.pop_front();
        return font;
    }
    const OpenModal open;
    // QFontDialog has no colour; the colour of the initial font is kept.
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(initial), parent);
    if (!ok)
        return std::nullopt;
    return toFontDesc(font, initial.color);
}

std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial)
{
    if (g_unattended)
        return std::nullopt;
    if (g_script) {
        const QColor color = takeNext(g_script->colors, QColor());
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    }
    const OpenModal open;
    const QColor color = QColorDialog::getColor(initial, parent);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

QString chooseOpenFile(QWidget *parent, const QString &filter)
{
    if (g_unattended)
        return {};
    if (g_script)
        return takeNext(g_script->openFiles, QString());
    const OpenModal open;
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

int execute(QDialog &dialog)
{
    if (g_unattended)
        return QDialog::Rejected;
    const OpenModal open;
    return dialog.exec();
}

int openModalWindows()
{
    return g_openModalWindows;
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
