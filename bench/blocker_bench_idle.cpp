// Runs until ended, doing nothing: one of the processes the blocker bench
// starts beside the blocker.
#include <windows.h>

int main() {
  for (;;) ::Sleep(INFINITE);
}
