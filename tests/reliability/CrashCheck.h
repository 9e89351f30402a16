#pragma once

#include "reliability/CrashContent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <tuple>

namespace crashtest {

// What one place may hold after a kill: the generation whose save was last
// reported complete, or the one whose save had begun, if any.
struct Expected
{
    int committed = 0;
    std::optional<int> pending;
    bool allows(int generation) const
    {
        return generation == committed || (pending && generation == *pending);
    }
    QString describe() const;
};

// The generation a place was found to hold, or why it holds none.
struct Found
{
    std::optional<int> generation;
    QString fault;
};

// Looks at the files a killed writer left behind, without changing any.
class Checker
{
public:
    // scratchFolder: where expected contents are written for comparison.
    explicit Checker(QString scratchFolder);
    ~Checker();

    // The note file loads, its title names an allowed generation and every
    // byte is that generation's; the same for the body file read as RTF.
    Found checkNoteFile(int note, const Expected &expected);
    Found checkBodyFile(int note, const Expected &expected);
    // The registry file is exactly the file of one allowed generation per
    // value, the sentinel included: no torn line, no lost or doubled value.
    std::map<QString, Found> checkRegistry(const std::map<QString, Expected> &expectedBySlot);

    // The note folder lists exactly the test's note files.
    QString checkListing() const;
    // Files in the folder beyond the expected ones (temporary files of
    // interrupted saves); a fault when one is readable by others.
    QStringList strayFiles(const QString &folder, const QStringList &expected,
                           QString *fault) const;

private:
    QByteArray expectedNoteBytes(int note, int generation);
    QByteArray expectedBodyBytes(int note, int generation);
    QString expectedRegistryText(const std::map<QString, int> &numbers,
                                 const std::map<QString, int> &texts) const;

    QString m_scratch;
    std::unique_ptr<ui::NoteText> m_body;
    std::map<std::tuple<int, int, int>, QByteArray> m_cache;
};

} // namespace crashtest
