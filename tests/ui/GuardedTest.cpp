#include "ui/Guarded.h"

#include <gtest/gtest.h>

#include <stdexcept>

// A handler's exception must end as a message the user sees, never as a
// crash through the event loop.
TEST(Guarded, ErrorsBecomeMessagesAndTheProgramGoesOn)
{
    dialogs::DialogScript script;
    dialogs::setScript(&script);
    EXPECT_TRUE(ui::runGuarded(nullptr, [] {}));
    EXPECT_FALSE(
        ui::runGuarded(nullptr, [] { throw EInOutError(QStringLiteral("File not found")); }));
    EXPECT_FALSE(ui::runGuarded(nullptr, [] { throw std::runtime_error("bad"); }));
    EXPECT_EQ(script.messages,
              (QStringList {QStringLiteral("File not found"), QStringLiteral("bad")}));
    dialogs::setScript(nullptr);
}

TEST(DialogScript, QuestionsWithoutAnAnswerCountAsCancel)
{
    dialogs::DialogScript script;
    script.confirmations = {true};
    dialogs::setScript(&script);
    EXPECT_TRUE(dialogs::confirm(nullptr, QStringLiteral("Delete?")));
    EXPECT_FALSE(dialogs::confirm(nullptr, QStringLiteral("Delete again?")));
    EXPECT_FALSE(dialogs::chooseFont(nullptr, {}).has_value());
    EXPECT_TRUE(
        dialogs::chooseOpenFile(nullptr, QStringLiteral("All (*.bmp)"), QString()).isEmpty());
    EXPECT_EQ(script.questions.size(), 2);
    dialogs::setScript(nullptr);
}
