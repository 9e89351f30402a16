#include "ui/Links.h"

#include <QRegularExpression>

namespace ui {
namespace {

bool isTrailingPunctuation(QChar c)
{
    return QStringLiteral(".,;:!?'\"").contains(c);
}

// Drops what ends a sentence rather than the address: punctuation, and a
// closing bracket that has no opening one inside the address.
int trimmedLength(const QStringView link)
{
    int length = int(link.size());
    while (length > 0) {
        const QChar last = link[length - 1];
        if (isTrailingPunctuation(last)) {
            --length;
            continue;
        }
        const QChar open = last == QLatin1Char(')') ? QLatin1Char('(')
            : last == QLatin1Char(']')              ? QLatin1Char('[')
                                                    : QChar();
        if (!open.isNull() && link.left(length).count(open) < link.left(length).count(last)) {
            --length;
            continue;
        }
        break;
    }
    return length;
}

const QStringList &linkPrefixes()
{
    static const QStringList prefixes
        = {QStringLiteral("http://"), QStringLiteral("https://"), QStringLiteral("ftp://"),
           QStringLiteral("mailto:"), QStringLiteral("www.")};
    return prefixes;
}

// The prefix the link starts with, or -1.
int prefixLength(const QStringView link)
{
    for (const QString &prefix : linkPrefixes()) {
        if (link.startsWith(prefix, Qt::CaseInsensitive))
            return int(prefix.size());
    }
    return -1;
}

// A mail link as the mail program gets it: the address with only the "to",
// "subject" and "body" fields. Others ("attach", "cc", headers of any name)
// could make it attach the user's files or send elsewhere unseen.
QUrl keptMailFields(const QUrl &mail)
{
    static const QStringList kept
        = {QStringLiteral("to"), QStringLiteral("subject"), QStringLiteral("body")};
    QStringList fields;
    const QString query = mail.query(QUrl::FullyEncoded);
    for (const QString &field : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString name
            = QUrl::fromPercentEncoding(field.section(QLatin1Char('='), 0, 0).toLatin1());
        if (kept.contains(name.trimmed(), Qt::CaseInsensitive))
            fields << field;
    }
    QUrl url(QStringLiteral("mailto:") + mail.path(QUrl::FullyEncoded), QUrl::StrictMode);
    if (!fields.isEmpty())
        url.setQuery(fields.join(QLatin1Char('&')), QUrl::StrictMode);
    return url;
}

} // namespace

QVector<LinkSpan> findLinks(const QString &text)
{
    // An address starts at a word boundary and runs to the next blank or a
    // character that cannot be part of one.
    static const QRegularExpression candidate(
        QStringLiteral(R"((?<![\w@.\-/])(?:https?://|ftp://|mailto:|www\.)[^\s<>"{}|\\^`]+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QVector<LinkSpan> links;
    auto matches = candidate.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QStringView found = match.capturedView();
        const int length = trimmedLength(found);
        if (length > prefixLength(found))
            links.append({int(match.capturedStart()), length});
    }
    return links;
}

QUrl linkUrl(const QString &linkText)
{
    const QString text = linkText.trimmed();
    const int prefix = prefixLength(text);
    if (prefix < 0 || text.size() <= prefix)
        return {};
    const bool bareWeb = text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive);
    const QUrl url(bareWeb ? QStringLiteral("http://") + text : text, QUrl::TolerantMode);
    if (!url.isValid())
        return {};
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("ftp"), QStringLiteral("mailto")};
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return keptMailFields(url);
    return schemes.contains(scheme) ? url : QUrl();
}

} // namespace ui
