#include "RecoveryStore.h"

#include "core/FileBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace pellwerk {

namespace {

// A lock that gives way only when its editor is dead. Left at its default, QLockFile also counts a
// lock older than 30 seconds as stale; on a local file system the holder's flock() still keeps it,
// but on one without flock() a long-running editor's copy would be taken.
std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

// Moves `path` (a file or whatever else stands under the name) into `aside`, under its own name or,
// when that is taken, numbered. Left where it is when that fails; it is tried again at the next start.
void moveAside(const QString &path, const QString &aside)
{
    if (!QDir().mkpath(aside))
        return;
    const QString name = QFileInfo(path).fileName();
    QString target = aside + QLatin1Char('/') + name;
    for (int n = 1; n < 1000 && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()); ++n)
        target = QStringLiteral("%1/%2.%3").arg(aside, name).arg(n);
    QDir().rename(path, target);
}

// The copy's file is on the disk once it is committed; the rename that put it in place is only when
// its folder is, so that a power cut soon after still finds it.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

RecoveryStore::RecoveryStore(QString folder, QString suffix, Snapshot snapshot, std::chrono::milliseconds delay,
                             QObject *parent)
    : QObject(parent), m_folder(std::move(folder)), m_suffix(std::move(suffix)), m_snapshot(std::move(snapshot))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(delay);
    connect(&m_delay, &QTimer::timeout, this, &RecoveryStore::handOver);
    m_worker = std::jthread([this](std::stop_token stop) { work(stop); });
}

RecoveryStore::~RecoveryStore()
{
    m_delay.stop();
    m_worker.request_stop();
    m_queueChanged.notify_all();
    m_worker.join();
}

QString RecoveryStore::defaultFolder()
{
    // A relative XDG_STATE_HOME is to be ignored, as the XDG base-directory rules say.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/pellwerk/recovery");
}

void RecoveryStore::markUnsaved()
{
    // Not restarted by later changes: a steady stream of edits must not hold the copy back.
    if (!m_delay.isActive())
        m_delay.start();
}

void RecoveryStore::settle()
{
    m_delay.stop();
    {
        std::lock_guard queue(m_queueMutex);
        m_pending = Job{};
    }
    m_queueChanged.notify_all();
}

void RecoveryStore::flush()
{
    if (!m_delay.isActive())
        return;
    m_delay.stop();
    handOver();
}

void RecoveryStore::handOver()
{
    // The only work on this thread: the snapshot shares the document's data.
    Serializer serializer = m_snapshot();
    {
        std::lock_guard queue(m_queueMutex);
        m_pending = Job{std::move(serializer)};
    }
    m_queueChanged.notify_all();
}

void RecoveryStore::waitForIdle()
{
    std::unique_lock queue(m_queueMutex);
    m_queueChanged.wait(queue, [this] { return !m_pending && !m_busy; });
}

QString RecoveryStore::copyPath() const
{
    std::lock_guard files(m_fileMutex);
    return m_copyPath;
}

void RecoveryStore::work(std::stop_token stop)
{
    for (;;) {
        Job job;
        {
            std::unique_lock queue(m_queueMutex);
            // Asked to stop, it still does what it was given.
            if (!m_queueChanged.wait(queue, stop, [this] { return m_pending.has_value(); }))
                return;
            job = std::move(*m_pending);
            m_pending.reset();
            m_busy = true;
        }
        std::optional<Error> failure;
        QString path;
        if (job.serializer) {
            Result<QByteArray> bytes = job.serializer();
            std::lock_guard files(m_fileMutex);
            Result<void> done = bytes ? ensureOwnCopy() : Result<void>(bytes.error());
            if (done)
                done = writeFileBytes(m_copyPath, bytes.value());
            if (done) {
                path = m_copyPath;
                syncFolder(m_folder);
            }
            else
                failure = done.error();
        } else {
            std::lock_guard files(m_fileMutex);
            if (!m_copyPath.isEmpty())
                QFile::remove(m_copyPath);
        }
        {
            std::lock_guard queue(m_queueMutex);
            m_busy = false;
        }
        m_queueChanged.notify_all();
        if (failure)
            QMetaObject::invokeMethod(this, [this, error = *failure] { emit writeFailed(error); }, Qt::QueuedConnection);
        else if (!path.isEmpty())
            QMetaObject::invokeMethod(this, [this, path] { emit written(path); }, Qt::QueuedConnection);
    }
}

Result<void> RecoveryStore::ensureOwnCopy()
{
    if (m_ownLock)
        return {};
    if (!QDir().mkpath(m_folder))
        return makeError(ErrorKind::CannotCreate, m_folder);
    // The editor's start and process in the name tell the files apart for a person; the lock is
    // what keeps two editors off one name. Stores of one process count on.
    static std::atomic<int> serial = 0;
    const QString stem = QStringLiteral("%1/%2-%3-")
                             .arg(m_folder, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                             .arg(QCoreApplication::applicationPid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString copy = stem + QString::number(serial++) + QLatin1Char('.') + m_suffix;
        std::unique_ptr<QLockFile> lock = lockFor(lockPathOf(copy));
        if (lock->tryLock(0)) {
            // A dead editor's copy under the same name is left for claimLeftovers().
            if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink())
                continue;
            m_ownLock = std::move(lock);
            m_copyPath = copy;
            return {};
        }
        if (lock->error() != QLockFile::LockFailedError)
            return makeError(ErrorKind::CannotCreate, lockPathOf(copy));
    }
    return makeError(ErrorKind::CannotCreate, m_folder);
}

QString RecoveryStore::lockPathOf(const QString &copyPath) const
{
    return copyPath + QStringLiteral(".lock");
}

std::vector<RecoveryCopy> RecoveryStore::claimLeftovers(const Readable &readable)
{
    std::vector<RecoveryCopy> found;
    const QDir dir(m_folder);
    if (!dir.exists())
        return found;
    const QDir::Filters everything =
        QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    const QString aside = m_folder + QLatin1Char('/') + QLatin1String(AsideFolder);
    for (const QString &name : dir.entryList({QStringLiteral("*.") + m_suffix}, everything)) {
        const QString path = dir.filePath(name);
        if (m_claimed.count(path))
            continue;
        // Fails for this editor's own copy, as for every other running editor's.
        std::unique_ptr<QLockFile> lock = lockFor(lockPathOf(path));
        if (!lock->tryLock(0))
            continue;
        Result<QByteArray> bytes = readFileBytes(path, MaxCopyBytes);
        if (!bytes || !readable(bytes.value())) {
            moveAside(path, aside);
            continue;
        }
        found.push_back({path, QFileInfo(path).lastModified(), std::move(bytes).value()});
        m_claimed[path] = std::move(lock);
    }
    // An editor that saved its work and then died leaves its lock and no copy.
    for (const QString &name : dir.entryList({QStringLiteral("*.%1.lock").arg(m_suffix)}, QDir::Files)) {
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path.chopped(5)) && !QFileInfo(path.chopped(5)).isSymLink())
            lockFor(path)->tryLock(0); // taken from a dead editor and let go: gone
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const RecoveryCopy &a, const RecoveryCopy &b) { return a.modified > b.modified; });
    return found;
}

bool RecoveryStore::discard(const RecoveryCopy &copy)
{
    if (!m_claimed.count(copy.path))
        return false;
    const bool removed = QFile::remove(copy.path);
    m_claimed.erase(copy.path);
    return removed;
}

Result<void> RecoveryStore::adopt(const RecoveryCopy &copy)
{
    if (!m_claimed.count(copy.path))
        return makeError(ErrorKind::FileMissing, copy.path);
    std::lock_guard files(m_fileMutex);
    if (Result<void> own = ensureOwnCopy(); !own)
        return own;
    // rename(2) replaces the old copy in one step, so one of the two is always there.
    if (std::rename(QFile::encodeName(copy.path).constData(), QFile::encodeName(m_copyPath).constData()) != 0)
        return makeError(ErrorKind::CommitFailed, m_copyPath, QString::fromLocal8Bit(std::strerror(errno)));
    m_claimed.erase(copy.path);
    return {};
}

} // namespace pellwerk
