#include "base/status_line.h"

#include <cstdio>

#include "base/platform.h"

StatusLine::StatusLine() : onTerminal_(platform::isTerminal(stderr)) {}

StatusLine::~StatusLine() { clear(); }

void StatusLine::show(const std::string& text) {
  if (!onTerminal_) return;
  std::string padded = text;
  if (padded.size() < shownLength_) padded.append(shownLength_ - padded.size(), ' ');
  std::fputs(("\r" + padded).c_str(), stderr);
  std::fflush(stderr);
  shownLength_ = text.size();
}

void StatusLine::clear() {
  if (shownLength_ == 0) return;
  std::fputs(("\r" + std::string(shownLength_, ' ') + "\r").c_str(), stderr);
  std::fflush(stderr);
  shownLength_ = 0;
}
