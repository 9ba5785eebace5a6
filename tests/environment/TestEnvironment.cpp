// Linked into every test program (as an object file, so it is never dropped):
// fixes the environment the tests rely on before any test runs, whether they
// are started by ctest or by hand.
#include <cstdlib>
#include <ctime>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    // Local times in files and texts must not depend on the machine's zone.
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    // The programs the integration tests start, from this build tree.
    setenv("ACV_SIM", ACV_SIM_PATH, 0);
    setenv("ACV_CLI", ACV_CLI_PATH, 0);
  }
};

const TestEnvironment environment;

}  // namespace
