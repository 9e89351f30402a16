#include "reliability/SmallDisk.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace {

// Once per process: a private mount namespace, so a test's mounts stay its
// own. Fails in a process that already runs threads; the mounts then go
// into the shared namespace and are taken down by the destructor.
void enterPrivateMountNamespace()
{
    static const bool entered = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    Q_UNUSED(entered);
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

SmallDisk::SmallDisk(const QString &folder, int kilobytes)
    : m_folder(QDir(folder).absolutePath())
    , m_kilobytes(kilobytes)
{
    QDir().mkpath(m_folder);
    enterPrivateMountNamespace();
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    if (::mount("jl-smalldisk", QFile::encodeName(m_folder).constData(), "tmpfs", 0,
                options.constData())
        != 0) {
        m_reason = QStringLiteral("cannot mount a %1 kB tmpfs (%2); run as root to test a "
                                  "real full or read-only disk")
                       .arg(kilobytes)
                       .arg(systemReason());
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool SmallDisk::setReadOnly(bool readOnly)
{
    const QByteArray options = "size=" + QByteArray::number(m_kilobytes) + "k,mode=0700";
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount("jl-smalldisk", QFile::encodeName(m_folder).constData(), "tmpfs", flags,
                   options.constData())
        == 0;
}

QString SmallDisk::fillerPath() const
{
    return m_folder + QStringLiteral("/filler");
}

void SmallDisk::fill(qint64 leaveBytes)
{
    QFile filler(fillerPath());
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const QByteArray block(1024, 'f');
    while (filler.write(block) == block.size()) { }
    // The last partial block still fits byte by byte.
    while (filler.write("f", 1) == 1) { }
    if (leaveBytes > 0)
        filler.resize(std::max<qint64>(0, filler.size() - leaveBytes));
}

void SmallDisk::freeFiller()
{
    QFile::remove(fillerPath());
}
