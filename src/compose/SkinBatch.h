#pragma once

#include "Composer.h"
#include "VariationPlan.h"
#include "core/Result.h"

#include <QString>

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
        bool stopped = false; // fail-fast ended the run early
    };
    // Called from the workers, one call at a time.
    using FailureHandler = std::function<void(const QString &output, const Error &error)>;
    // Called from the calling thread about ten times a second and once at the end.
    using ProgressHandler = std::function<void(qsizetype finished, qsizetype total)>;

    SkinBatch(const VariationPlan &plan, const Composer &composer) : m_plan(plan), m_composer(composer) {}

    // Checks before anything is written that the base and every part that all skins share can be
    // read and prepared (decoding them once for all workers): the first that cannot is the error,
    // with its step and field. Parts of varied kinds are tried too; each one that fails is
    // returned, once, with the first step of its kind: the skins using it will fail.
    Result<std::vector<Error>> prepare() const;

    // Writes every skin of the plan (writeFileBytes: atomically; skinFileBytes: the format its
    // output's extension asks for) with
    // `jobs` workers (0: one per core). A skin that cannot be made or written is reported and the
    // others go on, unless `failFast`: then no further skin is started.
    Outcome run(int jobs, bool failFast, const FailureHandler &onFailure, const ProgressHandler &onProgress) const;

private:
    const VariationPlan &m_plan;
    const Composer &m_composer;
};

} // namespace pellwerk
