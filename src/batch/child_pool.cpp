#include "batch/child_pool.h"

namespace {

platform::ChildEnd notRun() {
  platform::ChildEnd end;
  end.crashed = true;
  end.status = -1;
  return end;
}

// The children under way and the command each one runs.
class RunningChildren {
 public:
  bool empty() const { return children_.empty(); }
  size_t size() const { return children_.size(); }

  void add(const platform::ChildProcess& child, size_t index) {
    children_.push_back(child);
    indices_.push_back(index);
  }

  // Waits for one to end and reports it; when waiting fails, none can be
  // waited for any more, so all are ended and reported.
  void awaitOne(const ChildEnded& ended) {
    platform::ChildEnd end;
    const int position = platform::waitForAnyChild(children_, end);
    if (position < 0) {
      for (size_t i = 0; i < children_.size(); ++i) {
        platform::killChild(children_[i]);
        ended(indices_[i], notRun());
      }
      children_.clear();
      indices_.clear();
      return;
    }
    const size_t index = indices_[static_cast<size_t>(position)];
    children_.erase(children_.begin() + position);
    indices_.erase(indices_.begin() + position);
    ended(index, end);
  }

 private:
  std::vector<platform::ChildProcess> children_;
  std::vector<size_t> indices_;
};

}  // namespace

void runChildren(const std::string& program,
                 const std::vector<std::vector<std::string>>& commands, int jobs,
                 const ChildEnded& ended) {
  RunningChildren running;
  for (size_t index = 0; index < commands.size(); ++index) {
    while (running.size() >= static_cast<size_t>(jobs)) running.awaitOne(ended);
    platform::ChildProcess child;
    if (platform::startChild(program, commands[index], std::string(), std::string(),
                             child))
      running.add(child, index);
    else
      ended(index, notRun());
  }
  while (!running.empty()) running.awaitOne(ended);
}
