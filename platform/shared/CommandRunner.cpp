#include "shared/CommandRunner.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace vexlo {

CommandRunner::CommandRunner(Environment env, int timeoutMs)
    : env_(std::move(env)), timeoutMs_(timeoutMs) {}

CommandResult CommandRunner::Run(const std::string& program,
                                 const std::vector<std::string>& args) const {
    QProcessEnvironment environment;
    for (const auto& [name, value] : env_) {
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    QStringList arguments;
    for (const std::string& arg : args) {
        arguments << QString::fromStdString(arg);
    }

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QString::fromStdString(program), arguments);

    CommandResult result;
    if (!process.waitForStarted(timeoutMs_)) {
        return result;
    }
    if (!process.waitForFinished(timeoutMs_)) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput().toStdString();
    result.errors = process.readAllStandardError().toStdString();
    return result;
}

}  // namespace vexlo
