#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "ErrorText.h"
#include "VexloError.h"
#include "support/PictureWriters.h"

namespace vexlo::testing {

// Each test gets its own folder for the files it makes.
class PictureTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

private:
    QTemporaryDir dir_;
};

using test::ErrorOf;

// True when both colours are within `tolerance` in each channel.
inline bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance && qAlpha(a) == qAlpha(b);
}

}  // namespace vexlo::testing
