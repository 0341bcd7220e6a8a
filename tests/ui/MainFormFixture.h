#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "FakeHost.h"
#include "MainForm.h"
#include "RecordingPlatform.h"
#include "RecordingTrayShell.h"
#include "UiTestSupport.h"
#include "ui_MainForm.h"

namespace vexlo::test {

// A main window over a program folder of its own, a recording desktop, a
// recording notification area, a fake host, and the settings and engine it is
// handed. The settings file can be prepared before the window is made (Make).
class MainFormFixture : public ::testing::Test {
protected:
    MainFormFixture() : folder_(dir_.path().toStdString() + "/") { TakeReportedErrors(); }
    ~MainFormFixture() override { TakeReportedErrors(); }

    std::string Path(const std::string& name) const { return folder_ + name; }
    void WriteIni(const QByteArray& text) {
        QFile file(QString::fromStdString(Path("Vexlo.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    TfrmMain& Make(bool trayAvailable = true) {
        form.reset();
        settings = std::make_unique<SettingsStore>(Path("Vexlo.ini"));
        engine = std::make_unique<VexloPro>(*settings, platform, host, folder_);
        MainFormContext context;
        context.settings = settings.get();
        context.engine = engine.get();
        context.platform = &platform;
        context.trayShell = shell;
        context.programFolder = folder_;
        context.executablePath = folder_ + "Vexlo";
        context.host = &host;
        context.trayAvailable = trayAvailable;
        form = std::make_unique<TfrmMain>(context);
        return *form;
    }
    const Ui::TfrmMain& W() const { return form->Form(); }

    QTemporaryDir dir_;
    std::string folder_;
    RecordingPlatform platform;
    std::shared_ptr<RecordingTrayShell> shell = std::make_shared<RecordingTrayShell>();
    FakeHost host;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<VexloPro> engine;
    std::unique_ptr<TfrmMain> form;
};

}  // namespace vexlo::test
