#pragma once
// Lookup of the titles of the X server's top-level windows: lets a second
// instance of the game pick a title no other window carries.
#include <string>

namespace platform {

// True when a top-level window of the default X display (or a client window
// directly below one, as window managers reparent clients) is titled `title`.
// False when no display can be opened.
bool topLevelWindowExists(const std::string& title);

// `baseTitle` when no window carries it, otherwise the first of
// "baseTitle (2)", "baseTitle (3)", ... that no window carries.
// `isTaken` answers whether a title is in use (defaults to the X lookup).
std::string uniqueWindowTitle(const std::string& baseTitle,
                              bool (*isTaken)(const std::string&) = &topLevelWindowExists);

} // namespace platform
