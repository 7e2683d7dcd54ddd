#ifndef SKEDOMAT_BASE_STATUS_LINE_H
#define SKEDOMAT_BASE_STATUS_LINE_H

#include <cstddef>
#include <string>

// One line on standard error that a long command rewrites in place to show
// how far it has come, for someone watching a terminal. Each text replaces
// the one before, blanks covering what is left of a longer one; clearing
// blanks it out and leaves the cursor where the line began. When standard
// error is no terminal nothing is ever written, so that logs and pipes see
// no difference.
class StatusLine {
 public:
  StatusLine();
  // Clears the line.
  ~StatusLine();
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  // Whether standard error is a terminal, where the line is shown.
  bool onTerminal() const { return onTerminal_; }
  // Whether a text is on the line now.
  bool shown() const { return shownLength_ > 0; }

  // Puts `text` on the line in place of what it showed.
  void show(const std::string& text);
  // Takes the line off the terminal.
  void clear();

 private:
  const bool onTerminal_;
  size_t shownLength_ = 0;
};

#endif  // SKEDOMAT_BASE_STATUS_LINE_H
