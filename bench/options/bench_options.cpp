// The options dialog with 1,000 folders: opening it (the list loaded) and OK
// (the whole file saved). Printed as "NAME VALUE ms".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

#include "LineReporter.h"
#include "OptionsForm.h"
#include "RecordingPlatform.h"

namespace {

using namespace vexlo;

constexpr int kFolders = 1000;

// A settings file as the options dialog leaves it with 1,000 folders.
void WriteSettings(const QString& path) {
    std::string text = "[Folders]\r\n";
    for (int i = 0; i < kFolders; ++i) {
        text += "Folder " + std::to_string(i) + "=/home/user/Pictures/collection/Folder " +
                std::to_string(i) + "\r\n";
    }
    text += "[Use Folders]\r\n";
    for (int i = 0; i < kFolders; ++i) {
        text += "Folder " + std::to_string(i) + "=" + (i % 3 ? "1" : "0") + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.write(text.data(), static_cast<qint64>(text.size()));
}

struct Setup {
    QTemporaryDir dir;
    QString path = dir.filePath("Vexlo.ini");
    SettingsStore store{path.toStdString()};
    RecordingPlatform platform;
    OptionsContext Context() { return {&store, &platform, "/opt/vexlo/Vexlo", {}}; }
};

void BM_Open(benchmark::State& state) {
    Setup setup;
    WriteSettings(setup.path);
    for (auto _ : state) {
        TfrmOptions form(setup.Context());
        benchmark::DoNotOptimize(form.FoldersChanged());
    }
}

void BM_Ok(benchmark::State& state) {
    Setup setup;
    WriteSettings(setup.path);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TfrmOptions>(setup.Context());
        state.ResumeTiming();
        form->btnOKClick();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("options_open_1000_folders", BM_Open)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("options_ok_1000_folders", BM_Ok)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(20);
    benchmark::Initialize(&argc, argv);
    vexlo::bench::LineReporter printer;
    benchmark::RunSpecifiedBenchmarks(&printer);
    benchmark::Shutdown();
    return 0;
}
