// Settings file figures: the reads of one rotation step with 1,000 folders, and
// a single read and write on a 1,000-key file. Printed as "NAME VALUE UNIT".
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <string>

#include "SettingsStore.h"
#include "profile/ProfileText.h"

namespace {

using vexlo::SettingsStore;

constexpr int kFolders = 1000;

std::string FolderName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Folder %04d", i);
    return name;
}

// A settings file as the options dialog leaves it with 1,000 folders.
std::string MakeSettings(const QTemporaryDir& dir) {
    std::string text = "[Folders]\r\n";
    for (int i = 0; i < kFolders; ++i) {
        text += FolderName(i) + "=/home/user/Pictures/collection/" + FolderName(i) + "\r\n";
    }
    text += "[Use Folders]\r\n";
    for (int i = 0; i < kFolders; ++i) {
        text += FolderName(i) + "=" + (i % 3 ? "1" : "0") + "\r\n";
    }
    text += "[Startup]\r\nChange Wallpaper=0\r\nRandom=1\r\n[Settings]\r\nUse Timer=1\r\n";
    const QString path = dir.filePath("Vexlo.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path.toStdString();
}

// Marks the file as just changed, so that no parsed copy of it may be reused.
void Touch(const std::string& path) {
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
}

// What ChangeWallpaper reads: the folder list, each folder's flag, one path.
void RotationStep(SettingsStore& store, int step) {
    std::vector<std::string> enabled;
    for (const std::string& name : store.ReadSection("Folders")) {
        if (store.ReadBool("Use Folders", name, true)) {
            enabled.push_back(name);
        }
    }
    benchmark::DoNotOptimize(
        store.ReadString("Folders", enabled[static_cast<std::size_t>(step) % enabled.size()], ""));
}

struct Files {
    QTemporaryDir settled;  // unchanged for a while: the usual case between two timer ticks
    QTemporaryDir fresh;    // just written: every read parses the file again
    std::string settledPath = MakeSettings(settled);
    std::string freshPath = MakeSettings(fresh);
    Files() { QThread::msleep(3200); }  // file times tick coarsely: let them settle
};

Files& TheFiles() {
    static Files files;
    return files;
}

void BM_RotationStep(benchmark::State& state, bool fresh) {
    const std::string& path = fresh ? TheFiles().freshPath : TheFiles().settledPath;
    SettingsStore store(path);
    int step = 0;
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            Touch(path);
            state.ResumeTiming();
        }
        RotationStep(store, step++);
    }
}

void BM_Read(benchmark::State& state, bool fresh) {
    const std::string& path = fresh ? TheFiles().freshPath : TheFiles().settledPath;
    SettingsStore store(path);
    int i = 0;
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            Touch(path);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(store.ReadString("Folders", FolderName(i++ % kFolders), ""));
    }
}

void BM_Write(benchmark::State& state) {
    QTemporaryDir dir;
    SettingsStore store(MakeSettings(dir));
    int i = 0;
    for (auto _ : state) {
        store.WriteString("Folders", FolderName(i % kFolders), "/elsewhere/" + std::to_string(i));
        ++i;
    }
}

// Parsing the whole 1,000-folder file, what a read costs when the file changed.
void BM_Parse(benchmark::State& state) {
    QFile file(QString::fromStdString(TheFiles().settledPath));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        vexlo::ProfileText text(std::string_view(bytes.constData(), bytes.size()));
        benchmark::DoNotOptimize(text);
    }
}

// Erasing a registry key with 4,000 subkeys from its file's text, in one pass.
void BM_EraseSubkeys(benchmark::State& state) {
    std::string bytes;
    for (int i = 0; i < 4000; ++i) {
        bytes += "[Software\\Big\\" + std::to_string(i) + "]\r\nv=1\r\n";
    }
    for (auto _ : state) {
        vexlo::ProfileText text(bytes);
        benchmark::DoNotOptimize(text.EraseSectionsIf(
            [](std::string_view name) { return name.substr(0, 12) == "Software\\Big"; }));
    }
}

// Prints each run as "NAME VALUE UNIT", the mean real time per iteration.
class LinePrinter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                std::printf("%s error %s\n", run.benchmark_name().c_str(),
                            run.error_message.c_str());
                continue;
            }
            const std::string name = run.benchmark_name();
            std::printf("%s %.1f %s\n", name.substr(0, name.find('/')).c_str(),
                        run.GetAdjustedRealTime(), benchmark::GetTimeUnitString(run.time_unit));
        }
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    using benchmark::kMicrosecond;
    benchmark::RegisterBenchmark("settings_rotation_step_1000_folders", BM_RotationStep, false)
        ->Unit(kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("settings_rotation_step_1000_folders_just_written",
                                 BM_RotationStep, true)
        ->Unit(kMicrosecond)
        ->UseRealTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("settings_read_1000_keys", BM_Read, false)
        ->Unit(kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("settings_read_1000_keys_just_written", BM_Read, true)
        ->Unit(kMicrosecond)
        ->UseRealTime()
        ->Iterations(200);
    benchmark::RegisterBenchmark("settings_parse_1000_folders", BM_Parse)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("registry_erase_4000_subkeys", BM_EraseSubkeys)
        ->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("settings_write_1000_keys", BM_Write)
        ->Unit(kMicrosecond)
        ->UseRealTime()
        ->Iterations(50);
    benchmark::Initialize(&argc, argv);
    LinePrinter printer;
    benchmark::RunSpecifiedBenchmarks(&printer);
    benchmark::Shutdown();
    return 0;
}
