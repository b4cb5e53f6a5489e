// libFuzzer target: navigation mesh files. Each input is read as a file,
// and whatever mesh comes out is searched and walked on by a small crowd,
// so tile data that slipped past the checks would be touched by Detour.
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"

#include <DetourNavMeshQuery.h>

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <streambuf>

namespace {

constexpr int kQueryNodes = 2048;
constexpr int kAgents = 4;
constexpr int kSteps = 5;
constexpr float kStep = 0.1f; // seconds

void walkOn(dtNavMesh& mesh)
{
    dtNavMeshQuery* query = dtAllocNavMeshQuery();
    if (query && dtStatusSucceed(query->init(&mesh, kQueryNodes))) {
        PathfindTool tool;
        tool.init(&mesh, query);
        const float* origin = mesh.getParams()->orig;
        const float target[3] = {origin[0] + 5.0f, origin[1], origin[2] + 5.0f};
        for (int i = 0; i < kAgents; ++i) {
            const int agent = tool.addAgent(0.4f, 1.7f);
            const float place[3] = {origin[0] + float(i), origin[1], origin[2] + float(i)};
            tool.teleport(agent, place);
            tool.setMoveTarget(agent, target);
        }
        for (int s = 0; s < kSteps; ++s)
            tool.update(kStep);
    }
    dtFreeNavMeshQuery(query);
}

} // namespace

// Discards everything written to it.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader reports every problem; thousands of lines a second only slow the fuzzer.
    static NullBuffer discard;
    std::cerr.rdbuf(&discard);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    navigation::NavMeshPtr mesh = navigation::parseNavMesh(data, size, "fuzz input");
    if (mesh)
        walkOn(*mesh);
    return 0;
}
