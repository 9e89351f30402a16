#include "ui/Links.h"

#include <gtest/gtest.h>

namespace {

QStringList linksIn(const QString &text)
{
    QStringList found;
    for (const ui::LinkSpan &link : ui::findLinks(text))
        found << text.mid(link.start, link.length);
    return found;
}

} // namespace

TEST(Links, FindsWebAndMailAddressesInAnyCase)
{
    EXPECT_EQ(linksIn(QStringLiteral("see http://a.org and HTTPS://B.ORG/x?y=1#z")),
              QStringList({"http://a.org", "HTTPS://B.ORG/x?y=1#z"}));
    EXPECT_EQ(linksIn(QStringLiteral("ftp://files.example.com/a.txt")),
              QStringList({"ftp://files.example.com/a.txt"}));
    EXPECT_EQ(linksIn(QStringLiteral("write mailto:me@example.com")),
              QStringList({"mailto:me@example.com"}));
    EXPECT_EQ(linksIn(QStringLiteral("Www.example.com/page")),
              QStringList({"Www.example.com/page"}));
}

TEST(Links, LeavesSentencePunctuationAndUnmatchedBracketsOut)
{
    EXPECT_EQ(linksIn(QStringLiteral("Go to www.example.com.")), QStringList({"www.example.com"}));
    EXPECT_EQ(linksIn(QStringLiteral("(see http://a.org/x), then")),
              QStringList({"http://a.org/x"}));
    EXPECT_EQ(linksIn(QStringLiteral("http://en.wikipedia.org/wiki/Foo_(bar)")),
              QStringList({"http://en.wikipedia.org/wiki/Foo_(bar)"}));
    EXPECT_EQ(linksIn(QStringLiteral("\"http://a.org\"")), QStringList({"http://a.org"}));
}

TEST(Links, IgnoresOtherSchemesAndBarePrefixes)
{
    EXPECT_TRUE(
        linksIn(QStringLiteral("file:///etc/passwd javascript:alert(1) telnet://x")).isEmpty());
    EXPECT_TRUE(linksIn(QStringLiteral("www. and http:// alone")).isEmpty());
    EXPECT_TRUE(linksIn(QStringLiteral("awww.example.com x/www.example.com")).isEmpty());
    EXPECT_TRUE(linksIn(QString()).isEmpty());
}

TEST(Links, SpansAreCharacterPositions)
{
    const QVector<ui::LinkSpan> links = ui::findLinks(QStringLiteral("ab www.x.de cd"));
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links[0], (ui::LinkSpan {3, 8}));
}

TEST(Links, UrlOpensOnlyWebAndMail)
{
    EXPECT_EQ(ui::linkUrl(QStringLiteral("www.example.com")), QUrl("http://www.example.com"));
    EXPECT_EQ(ui::linkUrl(QStringLiteral("https://a.org/x")), QUrl("https://a.org/x"));
    EXPECT_EQ(ui::linkUrl(QStringLiteral("mailto:me@example.com")).scheme(), "mailto");
    // A mail link brings its address, subject and body, and nothing that
    // would attach the user's files or write to others unseen.
    EXPECT_EQ(ui::linkUrl(QStringLiteral("mailto:me@example.com?Subject=Hi%20there&"
                                         "attach=/home/me/.ssh/id_rsa&body=See&cc=x@evil.org&"
                                         "ATTACHMENT=%2Fetc%2Fpasswd&to=you@example.com#x")),
              QUrl("mailto:me@example.com?Subject=Hi%20there&body=See&to=you@example.com"));
    EXPECT_EQ(ui::linkUrl(QStringLiteral("mailto:me@example.com?%61ttach=/etc/passwd")),
              QUrl("mailto:me@example.com"));
    EXPECT_TRUE(ui::linkUrl(QStringLiteral("file:///etc/passwd")).isEmpty());
    EXPECT_TRUE(ui::linkUrl(QStringLiteral("/usr/bin/xterm")).isEmpty());
    EXPECT_TRUE(ui::linkUrl(QStringLiteral("javascript:alert(1)")).isEmpty());
    EXPECT_TRUE(ui::linkUrl(QStringLiteral("www.")).isEmpty());
}
