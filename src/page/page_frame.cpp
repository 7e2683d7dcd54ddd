#include "page/page_frame.h"

#include "page/page_style.h"

std::string pageStart(const std::string& title, const std::string& heading) {
  return "<!DOCTYPE html>\n<html lang=\"sl\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<title>" + title + "</title>\n<style>" + pageStyle() +
         "</style>\n</head>\n<body>\n<main>\n<h1>" + heading + "</h1>\n";
}

std::string pageEnd() { return "</main>\n</body>\n</html>\n"; }
