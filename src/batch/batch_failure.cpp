#include "batch/batch_failure.h"

#include <cstdio>
#include <new>

#include "base/console_text.h"
#include "base/exit_status.h"

void failBatch(const std::string& message) { throw BatchFailure(message); }

namespace {

int failed(const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "Skedomat: %s\n", consoleText(message).c_str());
  return ExitNoReport;
}

}  // namespace

int runGuarded(const std::function<int()>& mode) {
  try {
    return mode();
  } catch (const BatchFailure& failure) {
    return failed(failure.what());
  } catch (const std::bad_alloc&) {
    return failed("zmanjkalo je pomnilnika.");
  } catch (const std::exception& error) {
    return failed(std::string("nepricakovana napaka: ") + error.what());
  }
}
