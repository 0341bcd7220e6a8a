#pragma once

// Runs one sequence of profile writes on two sides, the Windows profile
// functions on a real file and our ProfileText on a string, and compares the
// bytes after every step and the reads at the end.

#include <optional>
#include <string>
#include <vector>

namespace profilediff {

struct Op {
    enum Kind { Write, Delete, Erase } kind;
    std::string section;
    std::string key;
    std::string value;
};

inline Op Write(std::string s, std::string k, std::string v) {
    return {Op::Write, s, k, v};
}
inline Op Delete(std::string s, std::string k) {
    return {Op::Delete, s, k, ""};
}
inline Op Erase(std::string s) {
    return {Op::Erase, s, "", ""};
}

struct Read {
    std::string section;
    std::string key;  // empty: the section's key list, names joined by "|"
};

struct Scenario {
    std::optional<std::string> initial;  // the file's bytes before, or no file
    std::vector<Op> ops;
    std::vector<Read> reads;
    bool compareBytes = true;  // false: text Windows rewrites in its own way
};

// Fails the current test at every difference, naming the step and both sides.
void Run(const Scenario& scenario);

// The Windows side alone, for the cases where the two are meant to differ.
class WindowsProfile {
public:
    explicit WindowsProfile(const std::optional<std::string>& initial);
    ~WindowsProfile();
    WindowsProfile(const WindowsProfile&) = delete;
    WindowsProfile& operator=(const WindowsProfile&) = delete;

    void Apply(const Op& op);
    std::string Get(const std::string& section, const std::string& key,
                    const std::string& def) const;
    std::string KeyList(const std::string& section) const;
    std::string Bytes() const;

private:
    std::string path_;
};

}  // namespace profilediff
