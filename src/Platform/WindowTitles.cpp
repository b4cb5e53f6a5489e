#include "Platform/WindowTitles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace platform {
namespace {

// Reparenting window managers put the client one level below the frame.
constexpr int searchDepth = 2;

std::string windowTitle(Display* display, Window window)
{
    std::string title;
    Atom netWmName = XInternAtom(display, "_NET_WM_NAME", True);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", True);
    if (netWmName != None && utf8 != None) {
        Atom actualType;
        int actualFormat;
        unsigned long count, remaining;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &actualType,
                               &actualFormat, &count, &remaining, &data) == Success && data) {
            if (actualType == utf8 && actualFormat == 8)
                title.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

bool subtreeHasTitle(Display* display, Window parent, const std::string& title, int depth)
{
    Window root, parentOfParent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = windowTitle(display, children[i]) == title ||
                (depth > 1 && subtreeHasTitle(display, children[i], title, depth - 1));
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

bool topLevelWindowExists(const std::string& title)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    bool found = subtreeHasTitle(display, DefaultRootWindow(display), title, searchDepth);
    XCloseDisplay(display);
    return found;
}

std::string uniqueWindowTitle(const std::string& baseTitle, bool (*isTaken)(const std::string&))
{
    if (!isTaken(baseTitle))
        return baseTitle;
    for (int n = 2;; ++n) {
        std::string candidate = baseTitle + " (" + std::to_string(n) + ")";
        if (!isTaken(candidate))
            return candidate;
    }
}

} // namespace platform
