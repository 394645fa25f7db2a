#pragma once

#include "Composer.h"
#include "VariationPlan.h"
#include "core/Result.h"

#include <QString>

#include <atomic>
#include <functional>
#include <vector>

namespace pellwerk {

// Makes and writes the skins of a plan with several workers sharing one Composer.
class SkinBatch
{
public:
    struct Outcome
    {
        qsizetype written = 0;
        qsizetype failed = 0;
        bool stopped = false; // fail-fast or a cancel ended the run early
    };
    // Both handlers are called only from the calling thread, so that what they print never
    // interleaves: a failure as soon as a worker reports it, the progress about ten times a
    // second and once at the end.
    using FailureHandler = std::function<void(const QString &output, const Error &error)>;
    using ProgressHandler = std::function<void(qsizetype finished, qsizetype total)>;

    // How many skins are written before they are made durable together: about 50 MB of files,
    // little enough for the open files and the temporary files left at a crash.
    static constexpr qsizetype SkinsPerFlush = 256;

    SkinBatch(const VariationPlan &plan, const Composer &composer) : m_plan(plan), m_composer(composer) {}

    // Checks before anything is written that the base and every part that all skins share can be
    // read and prepared (decoding them once for all workers): the first that cannot is the error,
    // with its step and field. Parts of varied kinds are tried too; each one that fails is
    // returned, once, with the first step of its kind: the skins using it will fail.
    Result<std::vector<Error>> prepare() const;

    // Writes every skin of the plan in the format its output's extension asks for (skinFileBytes)
    // with `jobs` workers (0: one per
    // core). A skin that cannot be made or written is reported and the others go on, unless
    // `failFast`: then no further skin is started. Setting `*cancel` (from anywhere, a signal
    // handler too) does the same.
    //
    // Every output is replaced atomically and durably, as writeFileBytes replaces a file, with
    // the same refusals: but instead of syncing each file on its own, the skins are written to
    // temporary files beside their targets, SkinsPerFlush at a time, synced together, renamed
    // over their targets and their folders synced. After a power cut each output is its old file
    // or the whole new skin. A skin that fails leaves no temporary file; one that is finished
    // when the run stops is still committed.
    Outcome run(int jobs, bool failFast, const FailureHandler &onFailure, const ProgressHandler &onProgress,
                const std::atomic<bool> *cancel = nullptr) const;

private:
    const VariationPlan &m_plan;
    const Composer &m_composer;
};

} // namespace pellwerk
