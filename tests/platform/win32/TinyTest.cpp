#include "TinyTest.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <iomanip>
#include <map>
#include <vector>

namespace tinytest {
namespace {

struct Test {
    std::string name;
    TestFunction function;
};

std::vector<Test>& Tests() {
    static std::vector<Test> tests;
    return tests;
}

std::map<std::string, HelperFunction>& Helpers() {
    static std::map<std::string, HelperFunction> helpers;
    return helpers;
}

int currentFailures = 0;

}  // namespace

Registrar::Registrar(const char* group, const char* name, TestFunction function) {
    Tests().push_back({std::string(group) + "." + name, function});
}

HelperRegistrar::HelperRegistrar(const char* name, HelperFunction function) {
    Helpers()[name] = function;
}

void Fail(const char* file, int line, const std::string& what) {
    ++currentFailures;
    std::printf("    %s:%d: failed: %s\n", file, line, what.c_str());
}

std::string Show(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (const unsigned char c : text.substr(0, 200)) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out << c;
        } else {
            out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << int(c);
        }
    }
    out << '"' << (text.size() > 200 ? "..." : "");
    return out.str();
}

std::string Show(const std::wstring& text) {
    std::ostringstream out;
    out << "L\"";
    for (const wchar_t c : text.substr(0, 200)) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out << static_cast<char>(c);
        } else {
            out << "\\u" << std::hex << std::setw(4) << std::setfill('0') << int(c);
        }
    }
    out << '"' << (text.size() > 200 ? "..." : "");
    return out.str();
}

}  // namespace tinytest

// "--helper NAME ARGS..." runs a helper; otherwise every test, or those whose
// name contains the first argument.
int main(int argc, char** argv) {
    using namespace tinytest;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc >= 3 && std::strcmp(argv[1], "--helper") == 0) {
        const auto helper = Helpers().find(argv[2]);
        return helper == Helpers().end() ? 100 : helper->second(argc - 3, argv + 3);
    }
    const std::string filter = argc >= 2 ? argv[1] : "";
    int passed = 0;
    int failed = 0;
    for (const Test& test : Tests()) {
        if (test.name.find(filter) == std::string::npos) {
            continue;
        }
        currentFailures = 0;
        try {
            test.function();
        } catch (const Abort&) {
        } catch (const std::exception& error) {
            Fail("", 0, std::string("unexpected exception: ") + error.what());
        } catch (...) {
            Fail("", 0, "unexpected exception");
        }
        const bool ok = currentFailures == 0;
        std::printf("%s %s\n", ok ? "[  OK  ]" : "[ FAIL ]", test.name.c_str());
        ++(ok ? passed : failed);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
