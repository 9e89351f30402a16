// Crash test: a writer process keeps saving note files, body files and
// settings while this process kills it with SIGKILL at random moments. After
// every kill each note file loads (storage::readNoteFile), each body file
// reads as RTF (rtf::read) and the registry file parses, and every one of
// them holds one whole generation of its content: the last one whose save
// had completed, or the one being saved at the kill; never a mix, never a
// torn file. Temporary files left behind by a kill are never listed as notes
// and stay private.
//
//   reliability_crashtest [--kills N] [--seed S] [--max-delay MS] [--keep]
//
// --kills      how many times the writer is killed (default 60)
// --seed       seed of the kill moments, printed at the start of every run
// --max-delay  longest time the writer runs before its kill (default 150 ms)
// --keep       keep the temporary folder with the files for inspection
//
// tests/reliability/crashtest builds and runs it in one command; ctest runs
// a short version (label "reliability").
#include "reliability/CrashCheck.h"
#include "reliability/CrashContent.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <map>

namespace {

using namespace crashtest;

struct Options
{
    int kills = 60;
    quint32 seed = QRandomGenerator::system()->generate();
    int maxDelayMs = 150;
    bool keep = false;
    std::optional<int> workerStart; // set in the writer process
};

std::optional<Options> parseOptions(const QStringList &args)
{
    Options options;
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (arg == QLatin1String("--keep"))
            options.keep = true;
        else if (arg == QLatin1String("--kills") && hasValue)
            options.kills = args[++i].toInt(&ok);
        else if (arg == QLatin1String("--seed") && hasValue)
            options.seed = args[++i].toUInt(&ok);
        else if (arg == QLatin1String("--max-delay") && hasValue)
            options.maxDelayMs = args[++i].toInt(&ok);
        else if (arg == QLatin1String("--worker") && hasValue)
            options.workerStart = args[++i].toInt(&ok);
        else
            return std::nullopt;
        if (!ok)
            return std::nullopt;
    }
    return options;
}

// Every place of the test by its slot name.
std::vector<std::pair<Target, int>> allSlots()
{
    std::vector<std::pair<Target, int>> places;
    for (int note = 0; note < kNotes; ++note) {
        for (const Target target : kTargets)
            places.emplace_back(target, note);
    }
    return places;
}

// One line per event on stdout, written in one system call so that a kill
// never leaves half a line: "B <slot> <generation>" before a save, "E ..."
// once it returned.
void report(char event, Target target, int note, int generation)
{
    const QByteArray line = QByteArray(1, event) + ' ' + slotName(target, note).toLatin1() + ' '
        + QByteArray::number(generation) + '\n';
    if (::write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
        std::_Exit(4);
}

// The writer: saves every place, generation after generation, until killed.
int runWriter(int startGeneration)
{
    ui::NoteText body;
    try {
        for (int generation = startGeneration;; ++generation) {
            for (const auto &[target, note] : allSlots()) {
                report('B', target, note, generation);
                writeGeneration(target, note, generation, body);
                report('E', target, note, generation);
            }
        }
    } catch (const Error &e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
        return 3;
    }
}

struct Tally
{
    int kills = 0;
    std::map<Target, int> interrupted; // kills that came during a save of that kind
    int newFound = 0; // interrupted saves whose new content was already in place
    int oldFound = 0;
};

class CrashRun
{
public:
    CrashRun(const Options &options, const QString &root)
        : m_options(options)
        , m_random(options.seed)
        , m_checker(root)
    {
    }

    // Writes generation 0 everywhere and checks the checker agrees with it.
    bool setUp()
    {
        writeRegInt(QString::fromLatin1(kSentinelName), kSentinelValue);
        ui::NoteText body;
        for (const auto &[target, note] : allSlots())
            writeGeneration(target, note, 0, body);
        return checkAll(QStringLiteral("after the first clean save"));
    }

    bool killOnce()
    {
        QProcess writer;
        writer.setProgram(QCoreApplication::applicationFilePath());
        writer.setArguments({QStringLiteral("--worker"), QString::number(m_nextGeneration)});
        writer.start();
        QByteArray output;
        if (!waitForFirstSave(writer, output))
            return false;
        const QDeadlineTimer runFor(int(m_random.bounded(m_options.maxDelayMs + 1)));
        while (!runFor.hasExpired() && writer.state() == QProcess::Running) {
            writer.waitForReadyRead(int(runFor.remainingTime()));
            output += writer.readAllStandardOutput();
        }
        if (writer.state() != QProcess::Running)
            return failWriter(writer);
        writer.kill();
        writer.waitForFinished(30000);
        output += writer.readAllStandardOutput();
        ++m_tally.kills;
        applyReports(output);
        return checkAll(QStringLiteral("after kill %1").arg(m_tally.kills));
    }

    void printTally() const
    {
        const auto count = [this](Target t) {
            const auto it = m_tally.interrupted.find(t);
            return it == m_tally.interrupted.end() ? 0 : it->second;
        };
        std::printf("crashtest: %d kills; during a save of a note file %d, a body file %d, a "
                    "registry number %d, a registry text %d; the interrupted save was already "
                    "in place %d times, not yet %d times\n",
                    m_tally.kills, count(Target::NoteFile), count(Target::BodyFile),
                    count(Target::RegistryNumber), count(Target::RegistryText), m_tally.newFound,
                    m_tally.oldFound);
        std::printf("crashtest: temporary files left by kills: %lld in the note folder, %lld in "
                    "the settings folder; lock files left: %lld\n",
                    static_cast<long long>(m_noteStrays), static_cast<long long>(m_configStrays),
                    static_cast<long long>(m_lockFiles));
    }

private:
    bool waitForFirstSave(QProcess &writer, QByteArray &output)
    {
        const QDeadlineTimer deadline(60000);
        while (!output.contains("B ") && !deadline.hasExpired()
               && writer.state() != QProcess::NotRunning) {
            writer.waitForReadyRead(int(deadline.remainingTime()));
            output += writer.readAllStandardOutput();
        }
        if (output.contains("B "))
            return true;
        return failWriter(writer);
    }

    bool failWriter(QProcess &writer)
    {
        writer.kill();
        writer.waitForFinished(30000);
        std::fprintf(stderr, "crashtest: the writer stopped on its own (exit %d): %s\n",
                     writer.exitCode(), writer.readAllStandardError().constData());
        return false;
    }

    void applyReports(const QByteArray &output)
    {
        for (const QByteArray &line : output.split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 3)
                continue; // the empty piece after the last line end
            Expected &slot = m_expected[QString::fromLatin1(parts[1])];
            const int generation = parts[2].toInt();
            if (parts[0] == "B") {
                slot.pending = generation;
            } else {
                slot.committed = generation;
                slot.pending.reset();
            }
            m_nextGeneration = qMax(m_nextGeneration, generation + 1);
        }
    }

    bool checkAll(const QString &when)
    {
        std::map<QString, Found> found;
        std::map<QString, Expected> registrySlots;
        for (const auto &[target, note] : allSlots()) {
            const QString slot = slotName(target, note);
            if (target == Target::NoteFile)
                found[slot] = m_checker.checkNoteFile(note, m_expected[slot]);
            else if (target == Target::BodyFile)
                found[slot] = m_checker.checkBodyFile(note, m_expected[slot]);
            else
                registrySlots[slot] = m_expected[slot];
        }
        found.merge(m_checker.checkRegistry(registrySlots));
        bool whole = true;
        for (const auto &[slot, result] : found) {
            if (!result.fault.isEmpty()) {
                std::fprintf(stderr, "crashtest: %s: %s %s\n", qPrintable(when), qPrintable(slot),
                             qPrintable(result.fault));
                whole = false;
            }
        }
        if (!whole)
            return false;
        settle(found);
        return checkFolders(when);
    }

    // The found generations become the state the next writer starts from.
    void settle(const std::map<QString, Found> &found)
    {
        for (auto &[slot, expected] : m_expected) {
            const int generation = *found.at(slot).generation;
            if (expected.pending) {
                ++m_tally.interrupted[parseSlotName(slot)->first];
                ++(generation == *expected.pending ? m_tally.newFound : m_tally.oldFound);
            }
            expected = Expected {generation, std::nullopt};
        }
    }

    bool checkFolders(const QString &when)
    {
        QString fault = m_checker.checkListing();
        QStringList notes;
        for (int note = 0; note < kNotes; ++note)
            notes << noteFileName(note) << noteFileName(note) + QLatin1Char('2');
        const QString registryName = QFileInfo(platform::registryFile()).fileName();
        // Lock files (and the locks taken to remove a dead writer's lock)
        // name a process and nothing else.
        QStringList config = {registryName};
        const QString lock = registryName + QStringLiteral(".lock");
        for (const QString &name : QDir(platform::configFolder()).entryList(QDir::Files)) {
            if (name == lock || (name.startsWith(lock) && name.endsWith(QStringLiteral(".rmlock"))))
                config << name;
        }
        m_lockFiles = config.size() - 1;
        m_noteStrays = m_checker.strayFiles(storage::noteFolderPath(), notes, &fault).size();
        m_configStrays = m_checker.strayFiles(platform::configFolder(), config, &fault).size();
        if (fault.isEmpty())
            return true;
        std::fprintf(stderr, "crashtest: %s: %s\n", qPrintable(when), qPrintable(fault));
        return false;
    }

    Options m_options;
    QRandomGenerator m_random;
    Checker m_checker;
    std::map<QString, Expected> m_expected;
    int m_nextGeneration = 1;
    Tally m_tally;
    qsizetype m_noteStrays = 0;
    qsizetype m_configStrays = 0;
    qsizetype m_lockFiles = 0;
};

// A private HOME and XDG folders for the run, inherited by every writer.
void useFolder(const QString &root)
{
    const QByteArray path = root.toLocal8Bit();
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    qputenv("XDG_CACHE_HOME", path + "/.cache");
    qputenv("XDG_RUNTIME_DIR", path + "/runtime");
    QDir(root).mkpath(QStringLiteral("runtime"));
    QDir(root).mkpath(QStringLiteral("scratch"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

int runKills(const Options &options, QTemporaryDir &root)
{
    storage::ensureNoteFolder();
    std::printf("crashtest: %d kills, seed %u\n", options.kills, options.seed);
    std::fflush(stdout);
    CrashRun run(options, root.path() + QStringLiteral("/scratch"));
    bool whole = false;
    try {
        whole = run.setUp();
        for (int kill = 1; whole && kill <= options.kills; ++kill) {
            whole = run.killOnce();
            if (kill % 50 == 0) {
                std::printf("crashtest: %d kills done\n", kill);
                std::fflush(stdout);
            }
        }
    } catch (const Error &e) {
        std::fprintf(stderr, "crashtest: %s\n", e.what());
    }
    run.printTally();
    if (!whole) {
        root.setAutoRemove(false);
        std::fprintf(stderr, "crashtest: FAILED; the files are kept in %s\n",
                     qPrintable(root.path()));
        return 1;
    }
    std::printf("crashtest: every file held one whole generation after every kill\n");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const std::optional<Options> options = parseOptions(args);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--kills N] [--seed S] [--max-delay MS] [--keep]\n",
                     argv[0]);
        return 2;
    }
    if (options->workerStart) {
        QApplication app(argc, argv);
        return runWriter(*options->workerStart);
    }
    // The folders are in place before the application looks for them.
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    root.setAutoRemove(!options->keep);
    useFolder(root.path());
    QApplication app(argc, argv);
    return runKills(*options, root);
}
