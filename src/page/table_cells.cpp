#include "page/table_cells.h"

std::string cell(const std::string& content) { return "<td>" + content + "</td>"; }

std::string numberCell(const std::string& content) {
  return "<td class=\"n\">" + content + "</td>";
}
