#pragma once
// Counts the heap allocations of the whole process (malloc, calloc and
// realloc, which operator new goes through) and, while classifying, tells
// who made each one from its call stack:
//   driver  the OpenGL driver, X and the window and sound libraries
//           (Mesa, LLVM, libX*, xcb, GLFW, GLEW, OpenAL), and every thread
//           but the game's (the game draws and thinks on one thread);
//   gui     the GUI library and the libraries it loads for itself;
//   ours    everything else: the game's code and the Bullet and Detour
//           calls it makes.
// The innermost frame outside the C and C++ runtime decides. Classifying
// walks the stack on every allocation, so frames are timed with it off.
#include <cstdio>

namespace heapcounter {

enum Owner { Driver, Gui, Ours, ownerCount };

const char* ownerName(int owner);

struct Counts {
    long total = 0;              // every allocation, classified or not
    long byOwner[ownerCount]{};  // only while classifying
};

// Takes the address ranges of the libraries loaded now and starts
// classifying the allocations of the calling thread and of the others.
void startClassifying();
void stopClassifying();
Counts counts();
// The places in our code that allocated most while classifying, most
// frequent first, resolved to functions and lines with addr2line.
void printOurPlaces(std::FILE* out, int places);

} // namespace heapcounter
