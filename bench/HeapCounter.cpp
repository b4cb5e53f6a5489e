#include "HeapCounter.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <execinfo.h>
#include <link.h>
#include <pthread.h>
#include <unistd.h>

// glibc's own allocator under the replaced entry points.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
void __libc_free(void* memory);
}

namespace heapcounter {

namespace {

enum ModuleKind { Runtime, DriverModule, GuiModule, OurModule };

struct Module {
    std::uintptr_t begin = 0, end = 0; // an executable segment
    std::uintptr_t base = 0;           // load address, for addr2line
    ModuleKind kind = OurModule;
    char path[256] = {};
};

struct Place {
    std::uintptr_t address = 0; // the innermost frame in our code
    std::uintptr_t caller = 0;  // the frame that called it
    long count = 0;
    int module = -1;
};

constexpr int maxModules = 512;
constexpr int maxPlaces = 256;
constexpr int maxFrames = 48;

const char* const runtimeNames[] = {"libc.so", "libstdc++", "libgcc_s", "libm.so", "ld-linux", "libpthread",
                                    "linux-vdso"};
const char* const driverNames[] = {"libGL", "libEGL", "libglapi", "libgallium", "_dri.so", "libLLVM", "libX",
                                   "libxcb", "libdrm", "libxshmfence", "libglfw", "libGLEW", "libopenal",
                                   "libpulse", "libasound", "libsndfile", "libdbus", "libsystemd", "libwayland",
                                   "libelf", "libsensors", "libexpat", "libz.so", "libffi"};
const char* const guiNames[] = {"libCEGUI", "libfreetype", "libpcre", "libfribidi", "libminizip"};
const char* const ownerNames[ownerCount] = {"driver/X", "GUI library", "ours"};

Module modules[maxModules];
int moduleCount = 0;
Place places[maxPlaces];
std::atomic<long> total{0};
std::atomic<long> byOwner[ownerCount];
std::atomic<bool> classifying{false};
pthread_t gameThread;
thread_local bool insideHook = false;

template <size_t N>
bool nameHasAny(const char* path, const char* const (&names)[N])
{
    const char* slash = std::strrchr(path, '/');
    const char* file = slash ? slash + 1 : path;
    return std::any_of(std::begin(names), std::end(names), [file](const char* name) { return std::strstr(file, name); });
}

ModuleKind kindOf(const char* path)
{
    if (path[0] == '\0')
        return OurModule; // the benchmark itself, with the game's code linked in
    if (nameHasAny(path, runtimeNames))
        return Runtime;
    if (nameHasAny(path, driverNames))
        return DriverModule;
    return nameHasAny(path, guiNames) ? GuiModule : OurModule;
}

int addModule(dl_phdr_info* info, size_t, void*)
{
    for (int i = 0; i < info->dlpi_phnum && moduleCount < maxModules; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X))
            continue;
        Module& module = modules[moduleCount++];
        module.begin = info->dlpi_addr + segment.p_vaddr;
        module.end = module.begin + segment.p_memsz;
        module.base = info->dlpi_addr;
        module.kind = kindOf(info->dlpi_name);
        if (info->dlpi_name[0])
            std::strncpy(module.path, info->dlpi_name, sizeof module.path - 1);
        else if (readlink("/proc/self/exe", module.path, sizeof module.path - 1) < 0)
            module.path[0] = '\0';
    }
    return 0;
}

int moduleOf(std::uintptr_t address)
{
    for (int i = 0; i < moduleCount; ++i)
        if (address >= modules[i].begin && address < modules[i].end)
            return i;
    return -1;
}

void notePlace(std::uintptr_t address, std::uintptr_t caller, int module)
{
    size_t slot = ((address ^ (caller << 7)) >> 2) % maxPlaces;
    for (int probe = 0; probe < maxPlaces; ++probe, slot = (slot + 1) % maxPlaces) {
        Place& place = places[slot];
        if (place.address == 0) {
            place.address = address;
            place.caller = caller;
            place.module = module;
        }
        if (place.address == address && place.caller == caller) {
            ++place.count;
            return;
        }
    }
}

// The innermost frame at or beyond the allocation's caller that lies in a
// module other than the runtime decides; JIT code and unknown frames are passed.
Owner classify(void* caller)
{
    void* frames[maxFrames];
    int count = backtrace(frames, maxFrames);
    int first = 0;
    while (first < count && frames[first] != caller)
        ++first;
    if (first == count)
        first = 0;
    for (int i = first; i < count; ++i) {
        auto address = reinterpret_cast<std::uintptr_t>(frames[i]) - 1; // inside the call instruction
        int module = moduleOf(address);
        if (module < 0 || modules[module].kind == Runtime)
            continue;
        if (modules[module].kind == DriverModule)
            return Driver;
        if (modules[module].kind == GuiModule)
            return Gui;
        auto caller = i + 1 < count ? reinterpret_cast<std::uintptr_t>(frames[i + 1]) - 1 : 0;
        notePlace(address, moduleOf(caller) == module ? caller : 0, module);
        return Ours;
    }
    return Ours;
}

void note(void* caller)
{
    total.fetch_add(1, std::memory_order_relaxed);
    if (!classifying.load(std::memory_order_relaxed) || insideHook)
        return;
    insideHook = true;
    Owner owner = pthread_equal(pthread_self(), gameThread) ? classify(caller) : Driver;
    byOwner[owner].fetch_add(1, std::memory_order_relaxed);
    insideHook = false;
}

} // namespace

const char* ownerName(int owner) { return owner >= 0 && owner < ownerCount ? ownerNames[owner] : ""; }

void startClassifying()
{
    void* warmUp[1];
    backtrace(warmUp, 1); // loads the unwinder now rather than inside a counted allocation
    moduleCount = 0;
    dl_iterate_phdr(addModule, nullptr);
    gameThread = pthread_self();
    classifying = true;
}

void stopClassifying() { classifying = false; }

Counts counts()
{
    Counts result;
    result.total = total.load();
    for (int owner = 0; owner < ownerCount; ++owner)
        result.byOwner[owner] = byOwner[owner].load();
    return result;
}

void printOurPlaces(std::FILE* out, int count)
{
    Place sorted[maxPlaces];
    std::copy(std::begin(places), std::end(places), sorted);
    std::sort(std::begin(sorted), std::end(sorted), [](const Place& a, const Place& b) { return a.count > b.count; });
    for (int i = 0; i < count && sorted[i].count > 0; ++i) {
        const Module& module = modules[sorted[i].module];
        char command[512];
        std::snprintf(command, sizeof command, "addr2line -Cfpi -e '%s' 0x%lx 0x%lx", module.path,
                      static_cast<unsigned long>(sorted[i].address - module.base),
                      static_cast<unsigned long>(sorted[i].caller ? sorted[i].caller - module.base : 0));
        std::fprintf(out, "  %6ld x ", sorted[i].count);
        if (std::FILE* pipe = popen(command, "r")) {
            char line[512];
            bool firstLine = true;
            while (std::fgets(line, sizeof line, pipe)) {
                std::fprintf(out, "%s%s", firstLine ? "" : "             ", line);
                firstLine = false;
            }
            pclose(pipe);
        }
    }
}

} // namespace heapcounter

// The process's allocator entry points: counted, then glibc's own.
extern "C" {

void* malloc(size_t size)
{
    heapcounter::note(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    heapcounter::note(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* memory, size_t size)
{
    heapcounter::note(__builtin_return_address(0));
    return __libc_realloc(memory, size);
}

void free(void* memory) { __libc_free(memory); }

} // extern "C"
