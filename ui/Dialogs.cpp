#include "ui/Dialogs.h"

#include "ui/ColorRef.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace dialogs {
namespace {

DialogScript *g_script = nullptr;

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

void showError(QWidget *parent, const QString &message)
{
    if (g_script) {
        g_script->messages << message;
        return;
    }
    QMessageBox::critical(parent, boxTitle(), message);
}

void showInformation(QWidget *parent, const QString &message)
{
    if (g_script) {
        g_script->messages << message;
        return;
    }
    QMessageBox::information(parent, boxTitle(), message);
}

bool confirm(QWidget *parent, const QString &question)
{
    if (g_script) {
        g_script->questions << question;
        return takeNext(g_script->confirmations, false);
    }
    return QMessageBox::question(parent, boxTitle(), question,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

std::optional<storage::FontDesc> chooseFont(QWidget *parent, const storage::FontDesc &initial)
{
    if (g_script) {
        if (g_script->fonts.empty())
            return std::nullopt;
        storage::FontDesc font = g_script->fonts.front();
        g_script->fonts.pop_front();
        return font;
    }
    // QFontDialog has no colour; the colour of the initial font is kept.
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(initial), parent);
    if (!ok)
        return std::nullopt;
    return toFontDesc(font, initial.color);
}

std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial)
{
    const QColor color
        = g_script ? takeNext(g_script->colors, QColor()) : QColorDialog::getColor(initial, parent);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

QString chooseOpenFile(QWidget *parent, const QString &filter)
{
    if (g_script)
        return takeNext(g_script->openFiles, QString());
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

} // namespace dialogs
