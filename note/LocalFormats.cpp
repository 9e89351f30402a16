#include "note/LocalFormats.h"

#include "storage/DateTime.h"

#include <QLocale>
#include <QRegularExpression>

namespace note {

QString shortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString longTimeFormat()
{
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    return QLocale::system().timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

QString dateTimeLine(double dateTime)
{
    const QLocale locale = QLocale::system();
    return locale.toString(storage::toQDate(dateTime), shortDateFormat()) + QStringLiteral("  ")
        + locale.toString(storage::toQTime(dateTime), longTimeFormat());
}

} // namespace note
