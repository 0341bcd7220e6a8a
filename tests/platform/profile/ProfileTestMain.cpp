// The test program doubles as the writer processes of the concurrency tests:
//   test_profile --write-keys <file> <prefix> <count>
//   test_profile --write-forever <file> <bytes>
#include <gtest/gtest.h>

#include <QFileInfo>
#include <cstring>
#include <iostream>
#include <string>

#include "FileHelpers.h"
#include "TestRun.h"
#include "VexloError.h"
#include "profile/ProfileFile.h"

namespace vexlo::test {
namespace {
std::string selfPath;

int WriteKeys(const std::string& file, const std::string& prefix, int count) {
    ProfileFile profile(file);
    for (int i = 0; i < count; ++i) {
        profile.WriteString("Keys", prefix + "_" + std::to_string(i),
                            prefix + "-" + std::to_string(i));
    }
    return 0;
}

// Rewrites [Data] big with alternating long values until killed.
int WriteForever(const std::string& file, std::size_t bytes) {
    ProfileFile profile(file);
    for (unsigned round = 0;; ++round) {
        profile.Update([&](ProfileText& text) {
            return text.SetString("Data", "big", std::string(bytes, round % 2 ? 'B' : 'A'));
        });
        if (round == 0) {
            std::cout << "started" << std::endl;
        }
    }
}
}  // namespace

const std::string& SelfPath() {
    return selfPath;
}

}  // namespace vexlo::test

int main(int argc, char** argv) {
    vexlo::test::selfPath =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toStdString();
    try {
        if (argc == 5 && std::strcmp(argv[1], "--write-keys") == 0) {
            return vexlo::test::WriteKeys(argv[2], argv[3], std::stoi(argv[4]));
        }
        if (argc == 4 && std::strcmp(argv[1], "--write-forever") == 0) {
            return vexlo::test::WriteForever(argv[2], std::stoul(argv[3]));
        }
    } catch (const vexlo::VexloError& e) {
        std::cerr << e.what() << std::endl;
        return 3;
    }
    testing::InitGoogleTest(&argc, argv);
    return vexlo::test::RunAllTests();
}
