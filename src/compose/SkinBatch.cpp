#include "SkinBatch.h"

#include "SkinFile.h"
#include "core/FileBytes.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pellwerk {

namespace {

Error atStep(Error error, size_t index, const QString &file)
{
    error.step = int(index + 1);
    error.field = QStringLiteral("part");
    if (error.file.isEmpty())
        error.file = file;
    return error;
}

} // namespace

Result<std::vector<Error>> SkinBatch::prepare() const
{
    const Composition first = m_plan.composition(0);
    if (const Result<QImage> base = m_composer.base(first.base); !base)
        return base.error();
    const auto isVaried = [this](PartKindId kind) {
        return std::any_of(m_plan.varied().begin(), m_plan.varied().end(),
                           [kind](const VariationPlan::VariedKind &v) { return v.kind == kind; });
    };
    for (size_t i = 0; i < first.steps.size(); ++i) {
        const PasteStep &step = first.steps[i];
        if (isVaried(step.kind))
            continue;
        if (const Result<QImage> shown = m_composer.preview(step); !shown)
            return atStep(shown.error(), i, step.part.isEmpty() ? QString() : m_composer.resolve(step.part));
    }

    std::vector<Error> failing;
    for (const VariationPlan::VariedKind &varied : m_plan.varied()) {
        const auto firstStep = std::find_if(first.steps.begin(), first.steps.end(),
                                            [&](const PasteStep &s) { return s.kind == varied.kind; });
        for (const QString &file : varied.files) {
            // Every step of the kind takes the file; its first step stands for them in the report.
            for (PasteStep step : first.steps) {
                if (step.kind != varied.kind)
                    continue;
                step.part = file;
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
                                  const ProgressHandler &onProgress) const
{
    const qsizetype total = m_plan.size();
    const int workers = int(std::clamp<qsizetype>(jobs > 0 ? jobs : QThread::idealThreadCount(), 1, total));
    std::atomic<qsizetype> next{0};
    std::atomic<qsizetype> finished{0};
    std::atomic<qsizetype> written{0};
    std::atomic<qsizetype> failed{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable done;
    int running = workers;

    const auto work = [&] {
        for (qsizetype i = next++; i < total && !stop; i = next++) {
            const QString output = m_plan.output(i);
            const Result<QByteArray> bytes =
                skinFileBytes(Recipe{m_plan.transparent(), m_plan.composition(i)}, m_composer, output);
            const Result<void> saved = bytes ? writeFileBytes(output, bytes.value()) : Result<void>(bytes.error());
            if (saved) {
                ++written;
            } else {
                ++failed;
                stop = stop || failFast;
                const std::lock_guard lock(mutex);
                onFailure(output, saved.error());
            }
            ++finished;
        }
        const std::lock_guard lock(mutex);
        --running;
        done.notify_all();
    };

    {
        std::vector<std::jthread> threads;
        threads.reserve(size_t(workers));
        for (int k = 0; k < workers; ++k)
            threads.emplace_back(work);
        std::unique_lock lock(mutex);
        while (!done.wait_for(lock, std::chrono::milliseconds(100), [&] { return running == 0; })) {
            lock.unlock();
            onProgress(finished, total);
            lock.lock();
        }
    }
    onProgress(finished, total);
    return Outcome{written, failed, stop && finished < total};
}

} // namespace pellwerk
