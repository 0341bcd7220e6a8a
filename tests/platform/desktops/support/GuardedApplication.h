#pragma once

#include <QGuiApplication>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace vexlo::test {

// The desktop tests' application object. Like the program's own, it catches in
// its event dispatch what a handler throws (a hot-key sink, say); it keeps the
// text for the test instead of showing it.
class GuardedApplication : public QGuiApplication {
public:
    using QGuiApplication::QGuiApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QGuiApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            Errors().push_back(error.what());
            return false;
        }
    }

    // The texts caught so far, which are then forgotten.
    static std::vector<std::string> TakeErrors() { return std::exchange(Errors(), {}); }

private:
    static std::vector<std::string>& Errors() {
        static std::vector<std::string> errors;
        return errors;
    }
};

}  // namespace vexlo::test
