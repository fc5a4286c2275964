// Runs a piece of a test in a child process without the administrator's rights, so that permission bits hold.
#pragma once

#include <functional>

// Forks; the child gives up root for the user and group "nobody" when this process runs as
// root, runs `body` and ends with its result. Returns that result, or -1 when the child could
// not drop its rights or died. The body must not touch the test framework: it runs in another
// process.
int runUnprivileged(const std::function<int()>& body);
