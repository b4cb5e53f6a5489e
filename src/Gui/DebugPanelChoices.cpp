#include "Gui/DebugPanelChoices.h"

#include <cstring>

namespace {

template <std::size_t N>
int indexOf(const std::array<const char*, N>& items, const char* text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (std::strcmp(items[i], text) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace

int debugTextureFor(const char* text)
{
    int index = indexOf(debugTextureItems, text);
    return index < 0 ? 0 : index;
}

int filterModeFor(const char* text) { return indexOf(filteringItems, text); }
