#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "FakeHost.h"
#include "RecordingPlatform.h"
#include "SettingsStore.h"
#include "VexloPro.h"

namespace vexlo::test {

// A program folder of its own with Vexlo.ini, a recording desktop, a fake GUI
// host and the engine on top of them.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() : EngineFixture("program") {}
    explicit EngineFixture(const std::string& programName)
        : programFolder_(dir_.path().toStdString() + "/" + programName + "/") {
        QDir().mkpath(QString::fromStdString(programFolder_));
        settings = std::make_unique<SettingsStore>(programFolder_ + "Vexlo.ini");
        engine = std::make_unique<VexloPro>(*settings, platform, host, programFolder_);
        platform.SetDesktopSize(1600, 900);
    }

    std::string Root() const { return dir_.path().toStdString() + "/"; }
    const std::string& ProgramFolder() const { return programFolder_; }
    std::string Wallpaper() const { return programFolder_ + "wallpaper.bmp"; }

    // Writes a picture of the given size under the temporary root; the format
    // follows the extension (bmp, png, jpg, gif) unless `format` names one.
    std::string MakePicture(const std::string& relative, int width, int height,
                            const char* format = nullptr, QColor colour = QColor(200, 30, 40)) {
        const QString path = QString::fromStdString(Root() + relative);
        QDir().mkpath(QFileInfo(path).path());
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path, format)) << relative;
        return path.toStdString();
    }

    std::string MakeFile(const std::string& relative, const QByteArray& bytes) {
        const QString path = QString::fromStdString(Root() + relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }

    std::string Style() const {
        return platform
            .RegistryValue(RegistryRoot::CurrentUser, "Control Panel\\desktop", "WallPaperStyle")
            .value_or("<none>");
    }

    QTemporaryDir dir_;
    std::string programFolder_;
    RecordingPlatform platform;
    FakeHost host;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<VexloPro> engine;
};

}  // namespace vexlo::test
