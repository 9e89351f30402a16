// Any bytes as a request line from another process: the parser never
// crashes, and what it accepts is a plain command word, with at most one
// argument word that can name no path, whose request line is exactly the
// bytes it was given.
#include "platform/ControlChannel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool onlyOf(const QString &word, int longest, bool (*allowed)(char16_t))
{
    if (word.isEmpty() || word.size() > longest)
        return false;
    for (const QChar c : word) {
        if (!allowed(c.unicode()))
            return false;
    }
    return true;
}

bool commandCharacter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || c == '-';
}

bool argumentCharacter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
        || c == '_' || c == '-';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<platform::ControlRequest> request = platform::parseControlRequest(line);
    if (!request)
        return 0;
    if (!onlyOf(request->command, 32, commandCharacter))
        abort();
    if (!request->argument.isEmpty()
        && !onlyOf(request->argument, platform::kMaxControlArgument, argumentCharacter))
        abort();
    // What the server hands on as a note file name is one.
    if (platform::controlRequestRefusal(request->command, request->argument).isEmpty()
        && !request->argument.isEmpty() && !platform::isNoteFileName(request->argument))
        abort();
    if (platform::formatControlRequest(*request) != line)
        abort();
    return 0;
}
