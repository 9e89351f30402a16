#include "note/GuardedCall.h"

#include "platform/Product.h"

#include <QMessageBox>

namespace note {
namespace {

ErrorReporter &currentReporter()
{
    static ErrorReporter reporter;
    return reporter;
}

void showMessageBox(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QString::fromLatin1(product::kApplicationTitle), message);
}

} // namespace

void setErrorReporter(ErrorReporter reporter)
{
    currentReporter() = std::move(reporter);
}

void reportError(QWidget *parent, const QString &message)
{
    const ErrorReporter &reporter = currentReporter();
    if (reporter)
        reporter(parent, message);
    else
        showMessageBox(parent, message);
}

} // namespace note
