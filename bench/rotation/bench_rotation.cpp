// Rotation costs: collecting the pictures of a large tree against a plain
// readdir walk of the same tree, and the settings reads of one sequential
// change with 1,000 folders against parsing that settings file once.
#include <dirent.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>

#include "BenchHost.h"
#include "PictureCollector.h"
#include "RecordingPlatform.h"
#include "SettingsStore.h"
#include "VexloPro.h"
#include "profile/ProfileText.h"

using namespace vexlo;
using vexlo::bench::BestSeconds;
using vexlo::bench::Report;

namespace {

// 2,000 folders (40 x 50) holding 100,000 entries in all, a mix of pictures,
// PNGs and other files.
void MakeTree(const QString& root) {
    static const char* kinds[] = {".jpg", ".bmp", ".png", ".txt", ".gif"};
    int entries = 0;
    for (int top = 0; top < 40; ++top) {
        for (int sub = 0; sub < 50; ++sub) {
            const QString folder = QString("%1/t%2/s%3").arg(root).arg(top).arg(sub);
            QDir().mkpath(folder);
            entries += 1;
            for (int i = 0; i < 49; ++i, ++entries) {
                QFile(QString("%1/Picture %2%3").arg(folder).arg(i).arg(kinds[i % 5]))
                    .open(QIODevice::WriteOnly);
            }
        }
    }
}

// The limit: every entry read, every path built, every directory entered.
std::size_t PlainWalk(const std::string& folder) {
    std::size_t count = 0;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    std::vector<std::string> subdirs;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        std::string path = folder + name;
        ++count;
        if (entry->d_type == DT_DIR) {
            subdirs.push_back(path + '/');
        }
        benchmark::DoNotOptimize(path);
    }
    closedir(dir);
    for (const auto& sub : subdirs) {
        count += PlainWalk(sub);
    }
    return count;
}

void CollectingAgainstPlainWalk() {
    QTemporaryDir dir;
    MakeTree(dir.path());
    const std::string root = dir.path().toStdString() + "/";
    const double walk = BestSeconds(5, [&] { benchmark::DoNotOptimize(PlainWalk(root)); });
    const double collect = BestSeconds(5, [&] {
        PictureList list(false);
        CollectPictures(root, list);
        benchmark::DoNotOptimize(list.Count());
    });
    const double sorted = BestSeconds(5, [&] {
        PictureList list(true);
        CollectPictures(root, list);
        benchmark::DoNotOptimize(list.Count());
    });
    Report("rotation_plain_walk_100k", walk * 1e3, "ms");
    Report("rotation_collect_100k", collect * 1e3, "ms");
    Report("rotation_collect_100k_vs_walk", collect / walk, "x");
    Report("rotation_collect_sorted_100k", sorted * 1e3, "ms");
    Report("rotation_collect_sorted_100k_vs_walk", sorted / walk, "x");
}

void SequentialStepWithManyFolders(int folders) {
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString() + "/";
    std::ofstream ini(base + "Vexlo.ini", std::ios::binary);
    ini << "[Folders]\r\n";
    for (int i = 0; i < folders; ++i) {
        ini << "Folder" << i << "=" << base << "pictures" << i << "\r\n";
    }
    ini << "[Use Folders]\r\n";
    for (int i = 0; i < folders; ++i) {
        ini << "Folder" << i << "=1\r\n";
    }
    ini << "[Wallpaper Changing]\r\nFolder=Folder" << folders - 1 << "\r\nFile=None\r\n";
    ini.close();
    // The remembered folder is the last one and holds no pictures, so the step
    // makes every settings read and stops before an apply.
    SettingsStore settings(base + "Vexlo.ini");
    RecordingPlatform platform;
    vexlo::bench::BenchHost host;
    VexloPro engine(settings, platform, host, base);

    std::ifstream in(base + "Vexlo.ini", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const double parse = BestSeconds(50, [&] {
        ProfileText profile(text);
        benchmark::DoNotOptimize(profile);
    });
    const double step = BestSeconds(20, [&] { engine.ChangeSequential(); });
    const std::string n = std::to_string(folders);
    Report("rotation_sequential_step_" + n + "_folders", step * 1e6, "us");
    Report("rotation_settings_parse_once_" + n + "_folders", parse * 1e6, "us");
    Report("rotation_sequential_step_" + n + "_folders_vs_parse", step / parse, "x");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    CollectingAgainstPlainWalk();
    SequentialStepWithManyFolders(1000);
    SequentialStepWithManyFolders(2000);
    return 0;
}
