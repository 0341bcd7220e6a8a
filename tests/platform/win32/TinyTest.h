#pragma once

// A small test harness for the programs built with mingw-w64 and run under
// Wine, where GoogleTest is not at hand. Each program prints one line per test
// and closes with "N passed, N failed".

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>

namespace tinytest {

using TestFunction = void (*)();
using HelperFunction = int (*)(int argc, char** argv);

struct Registrar {
    Registrar(const char* group, const char* name, TestFunction function);
};

// A helper runs in a child process started by a test: the program is started
// again as "<program> --helper NAME ARGS...".
struct HelperRegistrar {
    HelperRegistrar(const char* name, HelperFunction function);
};

// Thrown by REQUIRE to end the current test.
struct Abort {};

void Fail(const char* file, int line, const std::string& what);

std::string Show(const std::string& text);
std::string Show(const std::wstring& text);
inline std::string Show(const char* text) {
    return Show(std::string(text));
}
inline std::string Show(const wchar_t* text) {
    return Show(std::wstring(text));
}
inline std::string Show(bool value) {
    return value ? "true" : "false";
}
template <typename T>
std::string Show(const T& value);
template <typename T>
std::string Show(const std::optional<T>& value) {
    return value ? Show(*value) : "(none)";
}
template <typename T>
std::string Show(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_enum_v<T>) {
        out << static_cast<std::int64_t>(value);
    } else if constexpr (std::is_integral_v<T>) {
        out << +value << " (0x" << std::hex << +value << ")";
    } else {
        out << value;
    }
    return out.str();
}

template <typename A, typename B>
bool CheckEqual(const A& actual, const B& expected, const char* actualText,
                const char* expectedText, const char* file, int line) {
    if (actual == expected) {
        return true;
    }
    Fail(file, line,
         std::string(actualText) + " == " + expectedText + "\n      actual:   " + Show(actual) +
             "\n      expected: " + Show(expected));
    return false;
}

}  // namespace tinytest

#define TINYTEST_JOIN2(a, b) a##b
#define TINYTEST_JOIN(a, b) TINYTEST_JOIN2(a, b)

#define TEST(group, name)                                                                          \
    static void group##_##name();                                                                  \
    static const ::tinytest::Registrar group##_##name##_registrar(#group, #name, &group##_##name); \
    static void group##_##name()

#define HELPER(name)                                                                           \
    static int helper_##name(int argc, char** argv);                                           \
    static const ::tinytest::HelperRegistrar helper_##name##_registrar(#name, &helper_##name); \
    static int helper_##name([[maybe_unused]] int argc, [[maybe_unused]] char** argv)

#define CHECK(condition)                                      \
    do {                                                      \
        if (!(condition))                                     \
            ::tinytest::Fail(__FILE__, __LINE__, #condition); \
    } while (false)

#define REQUIRE(condition)                                    \
    do {                                                      \
        if (!(condition)) {                                   \
            ::tinytest::Fail(__FILE__, __LINE__, #condition); \
            throw ::tinytest::Abort{};                        \
        }                                                     \
    } while (false)

#define CHECK_EQ(actual, expected) \
    ::tinytest::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)

// The expression must throw an exception whose what() is exactly `message`.
#define CHECK_THROWS_WITH(expression, message)                                      \
    do {                                                                            \
        try {                                                                       \
            expression;                                                             \
            ::tinytest::Fail(__FILE__, __LINE__, "no exception from " #expression); \
        } catch (const std::exception& error) {                                     \
            CHECK_EQ(std::string(error.what()), std::string(message));              \
        }                                                                           \
    } while (false)
