#ifndef SKEDOMAT_PAGE_PAGE_STYLE_H
#define SKEDOMAT_PAGE_PAGE_STYLE_H

// The style sheet of the pages Skedomat writes, inline in each so that a
// page needs nothing beside it.
const char* pageStyle();

#endif  // SKEDOMAT_PAGE_PAGE_STYLE_H
