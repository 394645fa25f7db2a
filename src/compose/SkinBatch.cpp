#include "SkinBatch.h"

#include "SkinFile.h"
#include "core/FileBytes.h"

#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellwerk {

namespace {

bool isVaried(const VariationPlan &plan, const PasteStep &step)
{
    return std::any_of(plan.varied().begin(), plan.varied().end(),
                       [&](const VariationPlan::VariedKind &v) { return v.varies(step); });
}

// A skin written whole into a temporary file beside the file it will replace, not yet synced.
struct TemporarySkin
{
    QByteArray folder; // where both lie, encoded for the system, ending in "/"
    QByteArray target;
    QByteArray temporary;
    int fd = -1;
    dev_t device = 0; // the file system both lie on

    void discard()
    {
        ::close(fd);
        ::unlink(temporary.constData());
        fd = -1;
    }
};

Error systemError(ErrorKind kind, const QString &output, int number)
{
    return makeError(kind, output, number != 0 ? qt_error_string(number) : QString());
}

int retried(const std::function<int()> &call)
{
    int result = 0;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

// Writes `bytes` for `output` as writeFileBytes would, up to its commit: the same refusals, the
// file a link leads to as the target, the target's permissions kept, every byte checked.
Result<TemporarySkin> writeTemporary(const QByteArray &bytes, const QString &output)
{
    const Result<QString> target = replaceableFile(output);
    if (!target)
        return target.error();
    TemporarySkin skin;
    skin.target = QFile::encodeName(target.value());
    skin.folder = skin.target.left(skin.target.lastIndexOf('/') + 1);
    struct stat old = {};
    const bool replacing = ::stat(skin.target.constData(), &old) == 0;
    // A hidden name that no part pattern ("*.bmp") matches; a new skin gets what the umask
    // allows, a replaced one its old permissions, and no one else sees it before that.
    const QByteArray name = skin.target.mid(skin.folder.size());
    for (int attempt = 0; attempt < 16 && skin.fd < 0; ++attempt) {
        skin.temporary =
            skin.folder + '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        skin.fd = retried([&] {
            return ::open(skin.temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
        });
        if (skin.fd < 0 && errno != EEXIST)
            break;
    }
    if (skin.fd < 0)
        return systemError(ErrorKind::CannotCreate, output, errno);
    if (replacing && ::fchmod(skin.fd, old.st_mode & 07777) != 0) {
        const int why = errno;
        skin.discard();
        return systemError(ErrorKind::CannotCreate, output, why);
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const auto n = ::write(skin.fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int why = n < 0 ? errno : 0;
            skin.discard();
            return systemError(ErrorKind::WriteIncomplete, output, why);
        }
        done += n;
    }
    // The file system's own count decides, whatever the writes reported.
    struct stat written = {};
    if (::fstat(skin.fd, &written) != 0 || written.st_size != bytes.size()) {
        skin.discard();
        return makeError(ErrorKind::WriteIncomplete, output);
    }
    skin.device = written.st_dev;
#ifdef __linux__
    // Starts putting the bytes on the disk now, without waiting: by the flush most of them are.
    ::sync_file_range(skin.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    return skin;
}

#ifdef __linux__
// One call makes all changes of a file system durable, the disk's cache flushed once: an
// fdatasync per file would flush it for every file.
QByteArray syncGroup(const TemporarySkin &skin)
{
    return QByteArray::number(quint64(skin.device));
}
int syncWhole(int fd)
{
    return ::syncfs(fd);
}
#else
QByteArray syncGroup(const TemporarySkin &skin)
{
    return skin.folder;
}
int syncWhole(int fd)
{
    return ::fsync(fd);
}
#endif

// Makes the skins durable and puts them in place: every file on the disk before any is renamed
// (a file renamed before its bytes are on the disk may be empty after a power cut), then the
// renames, then their folders made durable. On Linux each file's bytes are written and waited
// for on their own, which reports that file's write errors, and one syncfs per file system then
// commits them all; elsewhere every file and folder is synced on its own. `failed` gets each
// skin that is not in place, or not durably; the rest are counted.
qsizetype commit(std::vector<std::optional<TemporarySkin>> &skins,
                 const std::function<void(size_t index, const Error &error)> &failed,
                 const std::function<QString(size_t index)> &output)
{
    const auto fail = [&](size_t i, int why) {
        skins[i]->discard();
        failed(i, systemError(ErrorKind::CommitFailed, output(i), why));
        skins[i].reset();
    };
    const auto groups = [&] {
        std::map<QByteArray, std::vector<size_t>> grouped;
        for (size_t i = 0; i < skins.size(); ++i)
            if (skins[i])
                grouped[syncGroup(*skins[i])].push_back(i);
        return grouped;
    };
    for (size_t i = 0; i < skins.size(); ++i) {
#ifdef __linux__
        constexpr unsigned WrittenOut =
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
        if (skins[i] && retried([&] { return ::sync_file_range(skins[i]->fd, 0, 0, WrittenOut); }) != 0)
            fail(i, errno);
#else
        if (skins[i] && retried([&] { return ::fdatasync(skins[i]->fd); }) != 0)
            fail(i, errno);
#endif
    }
#ifdef __linux__
    // syncfs also reports a write error of any other file on the same file system since the
    // file was opened: when it fails, each file is synced on its own, and only the files that
    // fail then are not put in place.
    for (const auto &[group, members] : groups()) {
        const int fd = skins[members.front()]->fd;
        if (retried([fd] { return syncWhole(fd); }) == 0)
            continue;
        for (const size_t i : members)
            if (retried([&] { return ::fdatasync(skins[i]->fd); }) != 0)
                fail(i, errno);
    }
#endif
    for (size_t i = 0; i < skins.size(); ++i) {
        if (!skins[i])
            continue;
        const int closed = ::close(std::exchange(skins[i]->fd, -1));
        if (closed != 0 || ::rename(skins[i]->temporary.constData(), skins[i]->target.constData()) != 0)
            fail(i, errno);
    }
    qsizetype placed = 0;
    for (const auto &[group, members] : groups()) {
        const QByteArray &folder = skins[members.front()]->folder;
        const int fd = retried([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        const int why = fd < 0                                        ? errno
                        : retried([&] { return syncWhole(fd); }) == 0 ? 0
                        : retried([&] { return ::fsync(fd); }) != 0   ? errno
                                                                      : 0;
        if (fd >= 0)
            ::close(fd);
        for (const size_t i : members) {
            if (why != 0)
                failed(i, systemError(ErrorKind::CommitFailed, output(i), why));
            else
                ++placed;
        }
    }
    return placed;
}

} // namespace

Result<std::vector<Error>> SkinBatch::prepare() const
{
    const Composition first = m_plan.composition(0);
    if (const Result<QImage> base = m_composer.base(first.base); !base)
        return base.error();
    for (size_t i = 0; i < first.steps.size(); ++i) {
        const PasteStep &step = first.steps[i];
        if (isVaried(m_plan, step))
            continue;
        if (const Result<QImage> shown = m_composer.preview(step); !shown)
            return atStep(shown.error(), i, step.part.isEmpty() ? QString() : m_composer.resolve(step.part));
    }

    std::vector<Error> failing;
    for (const VariationPlan::VariedKind &varied : m_plan.varied()) {
        const auto firstStep =
            std::find_if(first.steps.begin(), first.steps.end(), [&](const PasteStep &s) { return varied.varies(s); });
        for (const QString &file : varied.files) {
            // Every step of the kind takes the file; its first step stands for them in the report.
            for (PasteStep step : first.steps) {
                if (!varied.varies(step))
                    continue;
                varied.put(step, file);
                if (const Result<QImage> shown = m_composer.preview(step); !shown) {
                    failing.push_back(atStep(shown.error(), size_t(firstStep - first.steps.begin()), file));
                    break;
                }
            }
        }
    }
    return failing;
}

SkinBatch::Outcome SkinBatch::run(int jobs, bool failFast, const FailureHandler &onFailure,
                                  const ProgressHandler &onProgress, const std::atomic<bool> *cancel) const
{
    using Clock = std::chrono::steady_clock;
    constexpr auto ProgressEvery = std::chrono::milliseconds(100);
    const qsizetype total = m_plan.size();
    const int workers =
        int(std::clamp<qsizetype>(jobs > 0 ? jobs : QThread::idealThreadCount(), 1, std::min(total, SkinsPerFlush)));
    std::atomic<qsizetype> finished{0};
    qsizetype failed = 0;
    qsizetype written = 0;
    std::atomic<bool> stop{false};
    const auto stopping = [&] { return stop || (cancel && *cancel); };
    const auto fail = [&](const QString &output, const Error &error) {
        ++failed;
        if (failFast)
            stop = true;
        onFailure(output, error);
    };
    // The steps before the first varied one are the same in every skin: pasted once. Should
    // that fail, each skin is made whole and fails with the error in its place.
    const Composition recipe = m_plan.composition(0);
    Composition common{recipe.base, {}};
    for (const PasteStep &step : recipe.steps) {
        if (isVaried(m_plan, step))
            break;
        common.steps.push_back(step);
    }
    const Result<QImage> start = m_composer.compose(common);
    // The kind varied last changes from one skin to the next; the steps before its first step
    // change only every so many skins. Each worker keeps the canvas made of those steps and
    // starts from it while they stay the same.
    const auto fastest = std::find_if(recipe.steps.begin(), recipe.steps.end(), [&](const PasteStep &s) {
        return !m_plan.varied().empty() && s.kind == m_plan.varied().back().kind;
    });
    const size_t held = std::max(common.steps.size(), size_t(fastest - recipe.steps.begin()));
    struct HeldCanvas
    {
        std::vector<PasteStep> steps; // those between the common ones and `held`
        QImage canvas;
    };
    const auto make = [&](qsizetype i, std::optional<HeldCanvas> &kept) -> Result<QImage> {
        const Composition composition = m_plan.composition(i);
        if (!start)
            return m_composer.compose(composition);
        if (held == common.steps.size() || held >= composition.steps.size())
            return m_composer.composeRest(start.value(), composition, common.steps.size());
        const auto from = composition.steps.begin() + qsizetype(common.steps.size());
        const auto to = composition.steps.begin() + qsizetype(held);
        if (!kept || !std::equal(from, to, kept->steps.begin(), kept->steps.end())) {
            kept.reset();
            const Composition head{composition.base, {composition.steps.begin(), to}};
            Result<QImage> canvas = m_composer.composeRest(start.value(), head, common.steps.size());
            if (!canvas)
                return canvas.error();
            kept = HeldCanvas{{from, to}, std::move(canvas).value()};
        }
        return m_composer.composeRest(kept->canvas, composition, held);
    };

    for (qsizetype first = 0; first < total && !stopping(); first += SkinsPerFlush) {
        const qsizetype end = std::min(total, first + SkinsPerFlush);
        std::vector<std::optional<TemporarySkin>> skins(size_t(end - first));
        std::atomic<qsizetype> next{first};
        // What the workers tell the calling thread, which alone calls the handlers.
        std::mutex mutex;
        std::condition_variable told;
        std::vector<std::pair<QString, Error>> failures;
        int running = workers;
        const auto work = [&] {
            std::optional<HeldCanvas> kept;
            for (qsizetype i = next++; i < end && !stopping(); i = next++) {
                const QString output = m_plan.output(i);
                const Result<QImage> skin = make(i, kept);
                const Result<QByteArray> bytes =
                    skin
                        ? skinFileBytes(skin.value(), {m_plan.transparent(), m_plan.composition(i)}, m_composer, output)
                        : Result<QByteArray>(skin.error());
                Result<TemporarySkin> saved =
                    bytes ? writeTemporary(bytes.value(), output) : Result<TemporarySkin>(bytes.error());
                ++finished;
                if (saved) {
                    skins[size_t(i - first)] = std::move(saved).value();
                    continue;
                }
                if (failFast)
                    stop = true;
                const std::lock_guard lock(mutex);
                failures.emplace_back(output, saved.error());
                told.notify_all();
            }
            const std::lock_guard lock(mutex);
            --running;
            told.notify_all();
        };
        {
            std::vector<std::jthread> threads;
            threads.reserve(size_t(workers));
            for (int k = 0; k < workers; ++k)
                threads.emplace_back(work);
            auto progressDue = Clock::now() + ProgressEvery;
            for (bool over = false; !over;) {
                std::unique_lock lock(mutex);
                told.wait_until(lock, progressDue, [&] { return running == 0 || !failures.empty(); });
                over = running == 0;
                const auto reported = std::exchange(failures, {});
                lock.unlock();
                for (const auto &[output, error] : reported)
                    fail(output, error);
                if (Clock::now() >= progressDue) {
                    onProgress(finished, total);
                    progressDue = Clock::now() + ProgressEvery;
                }
            }
        }
        written += commit(
            skins, [&](size_t k, const Error &error) { fail(m_plan.output(first + qsizetype(k)), error); },
            [&](size_t k) { return m_plan.output(first + qsizetype(k)); });
    }
    onProgress(finished, total);
    return Outcome{written, failed, stopping() && finished < total};
}

} // namespace pellwerk
