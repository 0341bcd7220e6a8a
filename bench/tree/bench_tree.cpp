// The picture tree's costs: loading a large folder into a node against two
// plain readdir passes and a sort of the names, and previewing a 3840 x 2160
// JPEG (decode, fit to the panel, status line) against decoding it whole.
#include <dirent.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "BenchHost.h"
#include "ImageList.h"
#include "LibraryAlone.h"
#include "PictureDecoding.h"
#include "PictureStatus.h"
#include "PreviewImage.h"
#include "lstFilesPro.h"
#include "picture/JpegDecoder.h"

using namespace vexlo;
using vexlo::bench::BestSeconds;
using vexlo::bench::Report;

namespace {

// 10,000 pictures and 500 sub-folders, with some other files between them.
void MakeFolder(const QString& root) {
    static const char* kinds[] = {".jpg", ".PNG", ".bmp", ".gif", ".jpeg"};
    for (int i = 0; i < 500; ++i) {
        QDir().mkpath(QString("%1/Folder %2").arg(root).arg(i));
    }
    for (int i = 0; i < 10000; ++i) {
        QFile(QString("%1/Picture %2%3").arg(root).arg(i * 7919 % 10007).arg(kinds[i % 5]))
            .open(QIODevice::WriteOnly);
    }
    for (int i = 0; i < 500; ++i) {
        QFile(QString("%1/notes %2.txt").arg(root).arg(i)).open(QIODevice::WriteOnly);
    }
}

// The limit: each entry read twice, the kept names sorted.
std::size_t PlainPassesAndSort(const std::string& folder) {
    std::vector<std::string> names;
    for (int pass = 0; pass < 2; ++pass) {
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            return 0;
        }
        while (const dirent* entry = readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
                continue;
            }
            if ((pass == 0) == (entry->d_type == DT_DIR)) {
                names.emplace_back(entry->d_name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names.size();
}

void LoadingAgainstPlainPasses() {
    QTemporaryDir dir;
    MakeFolder(dir.path());
    const std::string folder = dir.path().toStdString();
    ImageList images;
    vexlo::bench::BenchHost host;
    QTreeWidget tree;
    tree.resize(185, 354);
    tree.show();
    FillFolderTree(&tree, {"Big"}, images);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    const double plain =
        BestSeconds(20, [&] { benchmark::DoNotOptimize(PlainPassesAndSort(folder)); });
    const double load = BestSeconds(20, [&] {
        LoadFolderNode(root, folder, images, host);
        benchmark::DoNotOptimize(root->childCount());
    });
    // As the user sees it: the folder opened and painted.
    const double open = BestSeconds(20, [&] {
        LoadFolderNode(root, folder, images, host);
        root->setExpanded(true);
        tree.repaint();
    });
    Report("tree_plain_passes_sort_10500", plain * 1e3, "ms");
    Report("tree_load_folder_10500", load * 1e3, "ms");
    Report("tree_load_folder_10500_vs_plain", load / plain, "x");
    Report("tree_load_open_paint_10500", open * 1e3, "ms");
    Report("tree_load_open_paint_10500_vs_plain", open / plain, "x");
}

// A 3840 x 2160 photograph-like picture: smooth shading, with or without a
// fine grain. The grain fills the file with detail that every decode must
// read, scaled or not, so it bounds what the reduced decode can save.
QImage LargePicture(int grainLevels) {
    QImage picture(3840, 2160, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = static_cast<int>((x * 7919u + y * 104729u) % unsigned(grainLevels)) -
                              grainLevels / 2;
            const int shade = static_cast<int>(60 * std::sin(x / 90.0) * std::cos(y / 70.0));
            line[x] = qRgb(std::clamp((x * 255) / 3840 + grain, 0, 255),
                           std::clamp((y * 255) / 2160 + grain, 0, 255),
                           std::clamp(128 + shade + grain, 0, 255));
        }
    }
    return picture;
}

void PreviewAgainstFullDecode(const std::string& name, int grainLevels) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/large.jpg";
    LargePicture(grainLevels).save(QString::fromStdString(path), "JPG", 90);
    PreviewImage preview;
    preview.resize(462, 346);
    const double full = BestSeconds(20, [&] { benchmark::DoNotOptimize(DecodeJpegFile(path)); });
    const double shown = BestSeconds(20, [&] {
        LoadedPreview loaded = LoadPreviewPicture(path, preview.size());
        preview.SetPicture(loaded.image);
        benchmark::DoNotOptimize(
            PictureStatusLine(loaded.width, loaded.height, loaded.bytes, 1920, 1080));
    });
    const double bytes = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
    Report("tree_" + name + "_jpeg_3840x2160_file", bytes / 1e6, "MB");
    Report("tree_" + name + "_jpeg_3840x2160_full_decode", full * 1e3, "ms");
    Report("tree_" + name + "_jpeg_3840x2160_preview", shown * 1e3, "ms");
    Report("tree_" + name + "_jpeg_3840x2160_preview_vs_full_decode", shown / full, "x");
    // The floor: libjpeg alone at the preview's reduction (an eighth here),
    // which must still read every coefficient of a baseline file.
    const int eighths = DecodeJpegFileForPanel(path, preview.size(), nullptr).width() * 8 / 3840;
    std::vector<std::uint8_t> pixels;
    const double reduced = BestSeconds(20, [&] { bench::LibjpegDecode(path, pixels, eighths); });
    Report("tree_" + name + "_jpeg_3840x2160_libjpeg_reduced_decode", reduced * 1e3, "ms");
    Report("tree_" + name + "_jpeg_3840x2160_reduced_decode_vs_full_decode", reduced / full, "x");
    Report("tree_" + name + "_jpeg_3840x2160_preview_vs_reduced_decode", shown / reduced, "x");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LoadingAgainstPlainPasses();
    PreviewAgainstFullDecode("smooth", 1);
    PreviewAgainstFullDecode("grainy", 13);
    return 0;
}
