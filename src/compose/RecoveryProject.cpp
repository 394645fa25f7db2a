#include "RecoveryProject.h"

#include "Composer.h"
#include "OpenRasterFormat.h"
#include "OpenRasterReader.h"
#include "OpenRasterWriter.h"
#include "Recipe.h"
#include "core/BitmapWriter.h"

#include <QFileInfo>

#include <map>

namespace pellwerk {

namespace {

// Under "pellwerk/": the recipe naming the files the steps named.
constexpr char NamesEntry[] = "recovery.json";
// What the carried files are named after while the copy is written and read.
constexpr char Origin[] = "recovery";

// The project's own names of the document's pictures, each picture carried once per path.
class CarriedPictures
{
public:
    // A numbered folder keeps apart two files of one name from different folders; the file's own
    // name is what the project shows.
    template <typename Encode> QString carry(const QString &folder, const QString &path, const Encode &encode)
    {
        const auto [known, added] = m_names.try_emplace(folder + path);
        if (added) {
            known->second = folder + QString::number(m_names.size()) + QLatin1Char('/') + QFileInfo(path).fileName();
            files.files[known->second] = encode();
        }
        return known->second;
    }

    CarriedFiles files{QLatin1String(Origin), {}};

private:
    std::map<QString, QString> m_names;
};

// Whether the project's steps are the original ones but for the files they name.
bool sameSteps(const Composition &original, const Composition &carried)
{
    if (original.steps.size() != carried.steps.size()
        || (original.base.kind == CompositionBase::Kind::Default)
               != (carried.base.kind == CompositionBase::Kind::Default))
        return false;
    for (size_t i = 0; i < original.steps.size(); ++i) {
        PasteStep step = original.steps[i];
        if (step.part.isEmpty() != carried.steps[i].part.isEmpty()
            || step.ramp.isNone() != carried.steps[i].ramp.isNone())
            return false;
        step.part = carried.steps[i].part;
        step.ramp = carried.steps[i].ramp;
        if (!(step == carried.steps[i]))
            return false;
    }
    return true;
}

} // namespace

RecoveryStore::Serializer recoverySerializer(const Document &document)
{
    return [document]() -> Result<QByteArray> {
        const Composition &made = document.composition();
        const Recipe original{made.steps.empty() ? Colour() : made.steps.front().transparent, made};
        Recipe project = original;
        CarriedPictures pictures;
        // The canvas the document started from, whatever file it came from: SkinNEW.bmp or an
        // opened skin may have changed since.
        if (made.base.kind != CompositionBase::Kind::Default) {
            const QString name =
                made.base.kind == CompositionBase::Kind::New ? QStringLiteral("SkinNEW.bmp") : made.base.file;
            project.composition.base = {CompositionBase::Kind::File, pictures.carry(QStringLiteral("base/"), name, [&] {
                                            return encodeBitmap24(document.baseCanvas());
                                        })};
        }
        // The palettes as the document holds them, like the pictures.
        for (PasteStep &step : project.composition.steps) {
            if (!step.part.isEmpty())
                step.part = pictures.carry(QStringLiteral("parts/"), step.part,
                                           [&] { return encodeBitmap24(document.parts().picture(step.part)); });
            for (QString *palette : {&step.ramp.from, &step.ramp.to})
                if (!palette->isEmpty())
                    *palette = pictures.carry(QStringLiteral("palettes/"), *palette,
                                              [&] { return writePalette(document.palettes().value(*palette)); });
        }
        const Composer composer(RecipeFolders{}, QString(), std::move(pictures.files));
        return writeOpenRaster(project, composer, {{QLatin1String(NamesEntry), writeRecipe(original)}});
    };
}

Result<Document> readRecoveryProject(QByteArrayView bytes, const QString &programFolder)
{
    Result<OpenRasterContent> content = readOpenRaster(bytes);
    if (!content)
        return content.error();
    if (!content->isProject)
        return makeError(ErrorKind::ArchiveNotProject, {});
    const QString namesEntry = QLatin1String(OpenRaster::ProjectFolder) + QLatin1String(NamesEntry);
    const auto names = content->files.find(QLatin1String(NamesEntry));
    if (names == content->files.end())
        return makeError(ErrorKind::ArchiveEntryMissing, {}, namesEntry);
    const Result<Recipe> project = readRecipe(content->recipe);
    if (!project)
        return project.error();
    const Result<Recipe> original = readRecipe(names->second);
    if (!original)
        return original.error();
    if (const Result<void> check = checkStepCount(project->composition); !check)
        return check.error();
    if (!sameSteps(original->composition, project->composition))
        return makeError(ErrorKind::ArchiveEntryDamaged, {}, namesEntry);
    const Composer composer(RecipeFolders{{}, {}, programFolder}, programFolder,
                            CarriedFiles{QLatin1String(Origin), std::move(content->files)});
    const Result<Document> carried = composer.document(project->composition);
    if (!carried)
        return carried.error();
    Document restored(original->composition.base, carried->baseCanvas());
    for (size_t i = 0; i < original->composition.steps.size(); ++i) {
        const RampSwap &named = original->composition.steps[i].ramp, &held = carried->steps()[i].ramp;
        if (!named.isNone()) {
            restored.addPalette(named.from, carried->palettes().value(held.from));
            restored.addPalette(named.to, carried->palettes().value(held.to));
        }
        restored.append(original->composition.steps[i], carried->partOf(int(i)));
    }
    return restored;
}

} // namespace pellwerk
