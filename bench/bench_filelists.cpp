// The parts window's lists over a library of 20,000 part files: the one directory read of the
// start-up, the eleven lists filled from it, and a keystroke in the prefix box, which filters the
// user list again (and reads the folder again only when it changed).

#include "core/FileListing.h"
#include "core/FileNamePattern.h"
#include "core/FolderIndex.h"
#include "editor/PartListPattern.h"
#include "ui/FileListBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

using namespace pellwerk;

namespace {

constexpr int Files = 20'000;

struct Library
{
    QTemporaryDir dir;
    QString folder = dir.path() + "/Image/";
    QString userFolder = dir.path() + "/own/Image/";
};
Library *library = nullptr;

void setFolderTime(std::chrono::seconds fromNow)
{
    const std::filesystem::path path(library->folder.toStdU16String());
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + fromNow);
}

// Names spread over every list's pattern, every third in capitals. The folder's time is set back,
// as for a library left alone for a while.
bool makeLibrary()
{
    library = new Library;
    if (!QDir().mkpath(library->folder))
        return false;
    const QStringList prefixes{"foot_", "RightArm", "LeftArm_", "tatu",  "chain", "Face",
                               "Pants", "shirt",    "glass",    "beard", "user"};
    for (int i = 0; i < Files; ++i) {
        QString name = QStringLiteral("%1%2.bmp").arg(prefixes[i % prefixes.size()]).arg(i, 5, 10, QLatin1Char('0'));
        if (i % 3 == 0)
            name = name.toUpper();
        if (QFile file(library->folder + name); !file.open(QIODevice::WriteOnly))
            return false;
    }
    setFolderTime(-std::chrono::hours(1));
    return true;
}

const QStringList Prefixes{"", "u", "us", "use", "user", "user0", "user01", "user0", "user", "use", "us", "u"};

void readFolder(benchmark::State &state)
{
    for (auto _ : state) {
        const FolderIndex index = FolderIndex::read(QStringList{library->userFolder, library->folder});
        benchmark::DoNotOptimize(index.size());
    }
}

void fillElevenLists(benchmark::State &state)
{
    for (auto _ : state) {
        const FolderIndex index = FolderIndex::read(QStringList{library->userFolder, library->folder});
        for (const PartKindId kind : AllPartKinds)
            benchmark::DoNotOptimize(index.matching(FileNamePattern(partListPattern(kind))));
    }
}

void refilter(benchmark::State &state)
{
    const FolderIndex index = FolderIndex::read(QStringList{library->userFolder, library->folder});
    qsizetype i = 0;
    for (auto _ : state) {
        const std::vector<int> rows = index.matching(FileNamePattern(userListPattern(Prefixes[i++ % Prefixes.size()])));
        benchmark::DoNotOptimize(rows.data());
    }
}

// What a keystroke in the prefix box costs the user list: the pattern set (with the check of the
// folder's time), the rows laid out and the visible ones painted.
void prefixKeystroke(benchmark::State &state)
{
    const bool folderChanged = state.range(0) != 0;
    // A time in the future never counts as settled: every pattern then reads the folder again.
    setFolderTime(folderChanged ? std::chrono::hours(1) : -std::chrono::hours(1));
    FileListBox list;
    list.resize(153, 45);
    list.setIndex(
        std::make_shared<const FolderIndex>(FolderIndex::read(QStringList{library->userFolder, library->folder})));
    list.show();
    qsizetype i = 0;
    for (auto _ : state) {
        list.setPattern(userListPattern(Prefixes[i++ % Prefixes.size()]));
        list.doItemsLayout();
        list.viewport()->repaint();
    }
    setFolderTime(-std::chrono::hours(1));
}

} // namespace

BENCHMARK(readFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(fillElevenLists)->Unit(benchmark::kMillisecond);
BENCHMARK(refilter)->Unit(benchmark::kMillisecond);
BENCHMARK(prefixKeystroke)->ArgName("folderChanged")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!makeLibrary()) {
        std::fprintf(stderr, "cannot write the library of %d files\n", Files);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete library;
    return 0;
}
