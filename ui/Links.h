#pragma once

#include <QString>
#include <QUrl>
#include <QVector>

// Web and mail addresses in a note's text. Only these are links: nothing in
// a note may start a program or open a local file.
namespace ui {

struct LinkSpan
{
    int start = 0;
    int length = 0;
    friend bool operator==(const LinkSpan &a, const LinkSpan &b)
    {
        return a.start == b.start && a.length == b.length;
    }
};

// Every address in the text that starts with http://, https://, ftp://,
// mailto: or www. (any letter case), without trailing punctuation.
QVector<LinkSpan> findLinks(const QString &text);

// What opening a link's text opens: "www." gains "http://", a mail address
// keeps only its "to", "subject" and "body" fields (no "attach" and the
// like); anything that is not a web or mail address gives an empty URL.
QUrl linkUrl(const QString &linkText);

} // namespace ui
