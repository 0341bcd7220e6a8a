#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace vexlo {

// The one road by which an error reaches the user: a message box titled
// "Vexlo" when a display is there, and always the same text on standard error.
void ReportError(const QString& text);
void ReportError(const std::exception& error);

// True when a box can be shown: a widget application on a real display. The
// offscreen and minimal platforms have nobody to read it, and a box would wait
// forever.
bool CanShowMessageBoxes();

// Replaces the message box (tests, and a program that has no display). The
// text still goes to standard error. Returns the sink it replaced.
using ErrorSink = std::function<void(const QString& text)>;
ErrorSink SetErrorSink(ErrorSink sink);

// Runs `work`; an exception it raises ends it and is reported. Returns false
// when it failed. For the places where Qt calls us outside an event that the
// guarded application dispatches (a queued call, a timer's functor).
template <class Work>
bool RunGuarded(Work&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportError(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

// A slot for a widget signal that runs `handler` guarded: an error ends the
// handler and is reported before control returns into Qt's own code.
template <class Object, class... Args>
auto Guarded(Object* object, void (Object::*handler)(Args...)) {
    return [object, handler](Args... args) { RunGuarded([&] { (object->*handler)(args...); }); };
}

}  // namespace vexlo
