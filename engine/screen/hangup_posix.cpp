// A hang-up (SIGHUP) on POSIX systems, turned into the end of a session.
#include <signal.h>

#include "engine/screen/session_end.h"

namespace {

// The video system answers the end of a session (SIGTERM) with a request to
// close, once it runs; before that the same signal ends the process as a
// hang-up would. Raising it here gives a hang-up exactly that treatment.
void on_hangup(int) { raise(SIGTERM); }

}  // namespace

void screen_hangup_ends_in_order() {
  struct sigaction old;
  if (sigaction(SIGHUP, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
  struct sigaction act = {};
  act.sa_handler = on_hangup;
  sigemptyset(&act.sa_mask);
  act.sa_flags = SA_RESTART;
  sigaction(SIGHUP, &act, nullptr);
}
