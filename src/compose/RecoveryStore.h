#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QLockFile;

namespace pellwerk {

// A copy of unsaved work whose editor no longer runs, claimed by one store: no other editor
// offers or touches it while that store has it.
struct RecoveryCopy
{
    QString path;
    QDateTime modified; // when it was last written
    QByteArray bytes;   // the whole file, as the serializer made it
};

// Recovery copies of unsaved work: one file per running editor in one folder, written after each
// change that leaves work unsaved, removed when the work is saved or given up, and offered to the
// next editor when its own editor ended without removing it.
//
// What a copy holds is the caller's: when a copy is due, the store calls `snapshot` on its own
// thread (the GUI thread); that returns a serializer, a self-contained function that holds what it
// needs (implicitly shared, so the snapshot is cheap) and makes the copy's bytes on the store's
// worker thread. Writing never blocks the caller's thread: a snapshot due while the worker is busy
// waits, and a newer one replaces it. Copies are written atomically through writeFileBytes(): an
// interrupted write leaves the previous copy whole. A failed write (a full disk, a folder that
// cannot be made or written) is reported by writeFailed() and otherwise skipped; the next change
// tries again.
//
// Each copy is named after its editor and guarded by a lock file (QLockFile, recording the process,
// its program and the boot) that the editor holds for its life, so a copy whose lock is held by a
// running editor is never read, offered or moved; a dead editor's lock is stale and is taken over.
// The folder is made on the first write, not before.
class RecoveryStore : public QObject
{
    Q_OBJECT
public:
    using Serializer = std::function<Result<QByteArray>()>;
    using Snapshot = std::function<Serializer()>;
    // Whether a leftover copy's bytes can be restored.
    using Readable = std::function<bool(const QByteArray &)>;

    // A copy file larger than this is not read: it is not one this program wrote.
    static constexpr qint64 MaxCopyBytes = qint64(64) * 1024 * 1024;
    // Where copies of unreadable files go, inside the folder.
    static constexpr char AsideFolder[] = "defekt";

    // Copies go into `folder`, named "….`suffix`". A copy is taken `delay` after the first change
    // of a burst, so the work is on disk at most `delay` plus the time its write takes after any
    // change.
    RecoveryStore(QString folder, QString suffix, Snapshot snapshot,
                  std::chrono::milliseconds delay = std::chrono::milliseconds(1000), QObject *parent = nullptr);
    // Finishes what the worker was given, then lets the copy's lock go. A copy still there stays
    // for the next editor to offer: call settle() first when the editor ends normally.
    ~RecoveryStore() override;

    // $XDG_STATE_HOME/pellwerk/recovery, or ~/.local/state/pellwerk/recovery when that is unset or
    // not an absolute path.
    static QString defaultFolder();

    // The work now differs from what is saved: a copy is due.
    void markUnsaved();
    // The work is saved or given up (or the editor ends): a copy due is dropped and the written
    // one removed.
    void settle();
    // Hands a copy that is due to the worker now instead of at the end of the delay.
    void flush();
    // Blocks until the worker has done everything handed to it.
    void waitForIdle();

    // This editor's copy; empty until its first write or adoption.
    QString copyPath() const;

    // Copies left by editors that no longer run, newest first, each claimed for this store. A file
    // that cannot be read, is larger than MaxCopyBytes or is not `readable` is moved into the
    // AsideFolder under its own name (numbered if that is taken), never deleted, and not listed.
    // Stale locks of dead editors that left no copy are cleared.
    std::vector<RecoveryCopy> claimLeftovers(const Readable &readable);
    // Deletes a claimed copy; false when it was not claimed or could not be deleted.
    bool discard(const RecoveryCopy &copy);
    // A claimed copy becomes this editor's own copy (replacing it), so that the restored work stays
    // on disk until it is saved or given up.
    Result<void> adopt(const RecoveryCopy &copy);

signals:
    void written(const QString &path);
    void writeFailed(const pellwerk::Error &error);

private:
    struct Job
    {
        Serializer serializer; // empty: remove the copy
    };

    // Takes the snapshot and gives it to the worker.
    void handOver();
    void work(std::stop_token stop);
    // Worker and adopt(), with m_fileMutex held: takes this editor's lock, making the folder.
    Result<void> ensureOwnCopy();
    QString lockPathOf(const QString &copyPath) const;

    const QString m_folder;
    const QString m_suffix;
    const Snapshot m_snapshot;
    QTimer m_delay;

    // The worker's queue: at most one job waits; a newer one replaces it.
    std::mutex m_queueMutex;
    std::condition_variable_any m_queueChanged;
    std::optional<Job> m_pending;
    bool m_busy = false;

    // This editor's copy and lock, touched by the worker and by adopt().
    mutable std::mutex m_fileMutex;
    std::unique_ptr<QLockFile> m_ownLock;
    QString m_copyPath;

    // Locks of the leftovers this store claimed, by copy path.
    std::map<QString, std::unique_ptr<QLockFile>> m_claimed;

    std::jthread m_worker; // last: it starts when everything it uses is there
};

} // namespace pellwerk
