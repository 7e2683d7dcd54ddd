#ifndef SKEDOMAT_PAGE_PAGE_FRAME_H
#define SKEDOMAT_PAGE_PAGE_FRAME_H

#include <string>

// What every page Skedomat writes begins and ends with: the document's
// head with its title and inline style, and the main element that holds
// the page's sections under its heading.

// From the doctype to the page's <h1> `heading`, inclusive; `title` is the
// document's title. Both are HTML already.
std::string pageStart(const std::string& title, const std::string& heading);

// Closes what pageStart opened.
std::string pageEnd();

#endif  // SKEDOMAT_PAGE_PAGE_FRAME_H
