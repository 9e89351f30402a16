#pragma once

// Checks shared by the fuzz targets of the text files the program rewrites.
#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

#include <cstdlib>

namespace fuzzchecks {

// A broken property ends the run, so libFuzzer keeps the input.
inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The text as a document writes it back: lines ending in \n, no \r before.
inline QString normalized(const QString &text)
{
    QString out;
    for (const QString &line : platform::textLines(text))
        out += line + QLatin1Char('\n');
    return out;
}

} // namespace fuzzchecks
