#ifndef SKEDOMAT_PAGE_TABLE_CELLS_H
#define SKEDOMAT_PAGE_TABLE_CELLS_H

#include <string>

// The cells of the pages' tables. `content` is HTML already.

// A cell of text.
std::string cell(const std::string& content);

// A cell of a number, aligned to the right by the page style.
std::string numberCell(const std::string& content);

#endif  // SKEDOMAT_PAGE_TABLE_CELLS_H
