// pellwerk-compose: makes skins from recipes without a window, checks recipes and their parts.

#include "compose/ComposeOptions.h"
#include "compose/Composer.h"
#include "compose/LintReport.h"
#include "compose/OpenRasterReader.h"
#include "compose/Recipe.h"
#include "compose/SkinBatch.h"
#include "compose/VariationPlan.h"
#include "core/ErrorText.h"
#include "core/PartKinds.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace pellwerk;

namespace {

// The recipe the command line names: a recipe file, or the project an OpenRaster file carries.
Result<Project> readRecipeOrProject(const QString &path)
{
    if (path.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive))
        return readProjectFile(path);
    Result<Recipe> recipe = readRecipeFile(path);
    if (!recipe)
        return recipe.error();
    return Project{std::move(recipe).value(), {}};
}

constexpr int ExitDone = 0;
constexpr int ExitSomeFailed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNearKey = 3;
constexpr int ExitInterrupted = 130; // as a shell reports a program ended by Ctrl+C

// Set by Ctrl+C or a termination request: the batch starts no further skin and commits those
// it has finished, so no temporary file stays behind. A second signal ends the program at once.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void onInterrupt(int)
{
    interrupted = true;
}

// The examples' kinds are filled in by their words: %1 the face's, %2 the shirt's.
const char HelpUsage[] = R"(Aufruf: pellwerk-compose REZEPT -o SKIN.bmp [--vary ART=MUSTER]... [-j N] [--fail-fast]
  oder: pellwerk-compose --check REZEPT [--vary ART=MUSTER]...
  oder: pellwerk-compose --lint REZEPT [--near K] [--json] [--vary ART=MUSTER]...
Setzt Velmora-Skins nach einem Pellwerk-Rezept zusammen, genau wie der Editor sie speichert.
REZEPT ist eine Rezept-Datei oder eine von Pellwerk geschriebene OpenRaster-Datei (.ora),
die ihr Rezept und ihre Teile mitbringt.

  -o, --output DATEI     die Skin-Datei; mit --vary steht {art} für den Namen der
                         gewählten Datei ohne Endung, z. B. 'out/{%1}-{%2}.bmp'.
                         Die Endung wählt das Format: .bmp (und jede andere) der Skin
                         für das Spiel, .png der Skin als PNG, .ora eine OpenRaster-
                         Datei mit einer Ebene je Schritt, dem Rezept und den Teilen
      --vary ART=MUSTER  jede passende Datei ersetzt nacheinander das Teil jedes
                         Schritts dieser Art; mehrfach: alle Kombinationen. Muster wie
                         in den Listen (* und ?, Groß-/Kleinschreibung egal), aus
                         dem Ordner des Rezepts, dem eigenen Teile-Ordner
                         (~/.local/share/pellwerk/Image) und dem Ordner Image
                         zusammen; bei gleichem Namen gilt der zuerst genannte
      --vary ART.ramp=MUSTER
                         jede passende Palette wird nacheinander die Zielpalette
                         ("nach") jedes Schritts dieser Art mit Farbrampen-Tausch;
                         die Ausgangspalette bleibt. Paletten aus dem Ordner des
                         Rezepts, ~/.local/share/pellwerk/Paletten und Paletten;
                         {art.ramp} im Ausgabenamen ist der Name der Palette ohne
                         Endung. Mit --vary ART=... zusammen: jedes Teil in jeder
                         Farbe, z. B. 'out/{%2}-{%2.ramp}.bmp'
  -j, --jobs N           N Skins gleichzeitig (Vorgabe: einer je Prozessorkern)
      --fail-fast        nach dem ersten fehlgeschlagenen Skin keinen weiteren beginnen
      --check            nur prüfen, ob Rezept und Dateien brauchbar sind
      --lint             jeden Schritt auf ausgelassene Pixel und Pixel nahe der
                         Transparenzfarbe prüfen, ohne einen Skin zu schreiben
      --near K           nahe heißt: jeder Kanal höchstens K entfernt (0-255, Vorgabe 8)
      --json             das Ergebnis von --lint als JSON
  -h, --help             diese Hilfe zeigen und beenden
      --version          die Version zeigen und beenden

)";
// Between the two: "Arten: " and the kinds' words.
const char HelpExitStatus[] = R"(

Exit-Status:
  0  alle Skins geschrieben, das Rezept ist in Ordnung, --lint fand nichts
  1  einige Skins (oder variierte Teile bei --check und --lint) sind fehlgeschlagen
  2  Fehler im Aufruf oder im Rezept; es wurde nichts geschrieben
  3  --lint fand Pixel nahe der Transparenzfarbe (und alle Teile waren lesbar)
130  abgebrochen (Strg+C); die bis dahin fertigen Skins sind geschrieben
)";

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

void printError(const QString &text)
{
    print(stderr, QStringLiteral("pellwerk-compose: ") + text + QLatin1Char('\n'));
}

// A bar on the terminal's last line, redrawn in place; nothing when stderr is not a terminal.
// Every line printed while it is shown goes through it: the bar is cleared, the line printed and
// the bar drawn again below it. The batch never calls into it from two threads at once.
class ProgressBar
{
public:
    ProgressBar() : m_shown(isatty(STDERR_FILENO) == 1) {}

    void draw(qsizetype finished, qsizetype total)
    {
        m_finished = finished;
        m_total = total;
        if (!m_shown || total <= 0)
            return;
        constexpr int Width = 30;
        const int filled = int(finished * Width / total);
        print(stderr, QStringLiteral("\r[%1%2] %3/%4")
                          .arg(QString(filled, QLatin1Char('#')), QString(Width - filled, QLatin1Char('-')))
                          .arg(finished)
                          .arg(total));
        std::fflush(stderr);
    }
    void printLine(const QString &text)
    {
        clear();
        printError(text);
        draw(m_finished, m_total);
    }
    void clear()
    {
        if (m_shown)
            print(stderr, QStringLiteral("\r\033[K"));
    }

private:
    bool m_shown;
    qsizetype m_finished = 0;
    qsizetype m_total = 0;
};

int lint(const VariationPlan &plan, const Composer &composer, const ComposeOptions &o)
{
    qsizetype count = 0;
    qsizetype failed = 0;
    bool nearKey = false;
    const Result<void> checked = lintPlan(
        plan, composer, o.nearLimit,
        [&](const LintEntry &entry) {
            if (o.json)
                std::fputs(lintJsonEntry(entry, count).constData(), stdout);
            else
                print(stdout, lintLine(entry) + QLatin1Char('\n'));
            ++count;
            nearKey = nearKey || entry.lint.near > 0;
        },
        [&](const Error &error) {
            ++failed;
            printError(ErrorText::recipeFailed(o.recipe, error));
        });
    if (!checked) {
        printError(ErrorText::recipeFailed(o.recipe, checked.error()));
        return ExitUsage;
    }
    if (o.json)
        std::fputs(lintJsonEnd(count).constData(), stdout);
    return failed > 0 ? ExitSomeFailed : nearKey ? ExitNearKey : ExitDone;
}

int compose(const VariationPlan &plan, const Composer &composer, const ComposeOptions &o)
{
    const SkinBatch batch(plan, composer);
    const Result<std::vector<Error>> prepared = batch.prepare();
    if (!prepared) {
        printError(ErrorText::recipeFailed(o.recipe, prepared.error()));
        return ExitUsage;
    }
    if (o.mode == ComposeOptions::Mode::Check) {
        for (const Error &error : prepared.value())
            printError(ErrorText::recipeFailed(o.recipe, error));
        if (!prepared->empty())
            return ExitSomeFailed;
        print(stdout, QStringLiteral("%1: in Ordnung (Skins: %2).\n").arg(o.recipe, QString::number(plan.size())));
        return ExitDone;
    }

    ProgressBar bar;
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    const SkinBatch::Outcome outcome = batch.run(
        o.jobs, o.failFast,
        [&](const QString &output, const Error &error) { bar.printLine(ErrorText::skinFailed(output, error)); },
        [&](qsizetype finished, qsizetype total) { bar.draw(finished, total); }, &interrupted);
    bar.clear();
    if (interrupted) {
        printError(QStringLiteral("Abgebrochen; %1 von %2 Skins geschrieben.").arg(outcome.written).arg(plan.size()));
        return ExitInterrupted;
    }
    if (outcome.failed == 0)
        return ExitDone;
    printError(QStringLiteral("%1 von %2 Skins nicht geschrieben%3.")
                   .arg(plan.size() - outcome.written)
                   .arg(plan.size())
                   .arg(outcome.stopped ? QStringLiteral(" (--fail-fast)") : QString()));
    return ExitSomeFailed;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef __GLIBC__
    // The workers make pictures that the cache shares and another worker may let go. With a
    // memory arena per thread, each arena would keep up to a cache's worth of freed pictures
    // (5,000 varied faces peaked at 161 MiB with two workers instead of 87 MiB). A few large
    // allocations per skin do not contend for one arena.
    mallopt(M_ARENA_MAX, 1);
    // Each skin is made in buffers of a quarter megabyte (the canvas, the file's bytes). Above
    // these thresholds they would be mapped and given back for every skin, and their fresh pages
    // faulted in again: a quarter of the composer's time for 100 skins.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
    QCoreApplication application(argc, argv);
    const CommandLineResult<ComposeOptions> parsed = parseComposeOptions(QCoreApplication::arguments().mid(1));
    if (!parsed) {
        printError(CommandLineText::describe(parsed.error()));
        print(stderr, QStringLiteral("Hilfe: pellwerk-compose --help\n"));
        return ExitUsage;
    }
    const ComposeOptions &o = parsed.value();
    if (o.mode == ComposeOptions::Mode::Help) {
        const QString usage =
            QString::fromUtf8(HelpUsage).arg(partKindKey(PartKindId::Face), partKindKey(PartKindId::Shirt));
        print(stdout, usage + QStringLiteral("Arten: ") + partKindKeyList() + QString::fromUtf8(HelpExitStatus));
        return ExitDone;
    }
    if (o.mode == ComposeOptions::Mode::Version) {
        std::fputs("pellwerk-compose " PELLWERK_VERSION "\n", stdout);
        return ExitDone;
    }

    // The program folder is where the executable lies, links resolved: Image/ and SkinNEW.bmp
    // are installed beside it.
    const QString programFolder = QCoreApplication::applicationDirPath();
    // The user's own parts come before the installed ones, as in the editor's lists.
    const RecipeFolders folders =
        recipeFoldersFor(QFileInfo(o.recipe).absolutePath(), programFolder, programFolder + QStringLiteral("/Image"));
    Result<Project> project = readRecipeOrProject(o.recipe);
    if (!project) {
        printError(ErrorText::recipeFailed(o.recipe, project.error()));
        return ExitUsage;
    }
    if (const Result<void> check = checkStepCount(project->recipe.composition); !check) {
        printError(ErrorText::recipeFailed(o.recipe, check.error()));
        return ExitUsage;
    }
    const QString output = o.mode == ComposeOptions::Mode::Compose ? o.output : QString();
    const CommandLineResult<VariationPlan> plan =
        VariationPlan::make(project->recipe, o.recipe, o.variations, output, folders);
    if (!plan) {
        printError(CommandLineText::planFailed(plan.error()));
        return ExitUsage;
    }
    const Composer composer(folders, programFolder, std::move(project->carried));
    return o.mode == ComposeOptions::Mode::Lint ? lint(plan.value(), composer, o) : compose(plan.value(), composer, o);
}
