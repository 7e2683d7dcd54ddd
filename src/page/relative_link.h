#ifndef SKEDOMAT_PAGE_RELATIVE_LINK_H
#define SKEDOMAT_PAGE_RELATIVE_LINK_H

#include <string>

// Links between the pages Skedomat writes go by relative path, so that a
// folder of pages can be moved or zipped whole and still holds together.

// The href from the page written to `fromPage` to the file `target`: the
// target's path relative to the folder of `fromPage`, with '/' between
// folders and each byte outside letters, digits and "-._~/" written as %XX,
// so that no quote, space or control byte reaches the attribute.
std::string relativeLink(const std::string& target, const std::string& fromPage);

#endif  // SKEDOMAT_PAGE_RELATIVE_LINK_H
