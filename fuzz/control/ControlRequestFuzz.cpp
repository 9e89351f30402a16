// Any bytes as a request line from another process: the parser never
// crashes, and what it accepts is a plain command word whose request line
// is exactly the bytes it was given.
#include "platform/ControlChannel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> command = platform::parseControlRequest(line);
    if (!command)
        return 0;
    if (command->isEmpty() || command->size() > 32)
        abort();
    for (const QChar c : *command) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('-')))
            abort();
    }
    if (platform::formatControlRequest(*command) != line)
        abort();
    return 0;
}
