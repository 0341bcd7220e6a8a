#pragma once

#include <string>
#include <string_view>

namespace vexlo {

// The temporary files Vexlo writes carry the id of the process that writes
// them: "<file>.new-<pid>-<n>-<r>" beside a settings or registry file while it
// is replaced, and "tmp-<pid>-<n><extension>" for the copy of a picture being
// applied. A process killed mid-way (log-out, power loss) leaves them behind.

// The writing process's id when `name` is such a temporary file, else 0.
long TemporaryFileOwner(std::string_view name);

// True while the process `pid` runs (or runs under another user).
bool ProcessIsAlive(long pid);

// Removes from `folder` the temporary files of processes that no longer run;
// those of a living process (another Vexlo in the middle of a write) stay.
// Anything else, and what cannot be removed, is left alone. Returns how many went.
int RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace vexlo
