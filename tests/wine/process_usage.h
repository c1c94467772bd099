// What the process holds at one moment, for tests that look for leaks. Each figure is
// counted directly, since the platform's own summary calls answer 0 under Wine: the
// kernel handles that answer a handle query, the GDI objects whose handle index answers
// an object-type query, the windows of this thread, the runtime heap's blocks in use and
// the committed private pages.
#pragma once

#include <cstddef>

struct ProcessUsage {
    size_t handles = 0;
    size_t gdiObjects = 0;
    size_t windows = 0;
    size_t heapBlocks = 0;
    size_t privateBytes = 0;

    static ProcessUsage Now();
};
