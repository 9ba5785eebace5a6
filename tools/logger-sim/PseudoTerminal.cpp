#include "PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace acv::sim {

bool PseudoTerminal::Open(std::string& error) {
  auto fail = [&](const char* what) {
    error = std::string(what) + ": " + std::strerror(errno);
    Close();
    return false;
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return fail("posix_openpt");
  if (grantpt(master_) != 0) return fail("grantpt");
  if (unlockpt(master_) != 0) return fail("unlockpt");
  const char* name = ptsname(master_);
  if (name == nullptr) return fail("ptsname");
  devicePath_ = name;

  slave_ = open(devicePath_.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ < 0) return fail("open slave");
  // Raw from the start: no echo of the program's commands back to it, no
  // line editing or translation of the binary replies.
  termios mode{};
  if (tcgetattr(slave_, &mode) != 0) return fail("tcgetattr");
  cfmakeraw(&mode);
  cfsetispeed(&mode, B115200);
  cfsetospeed(&mode, B115200);
  if (tcsetattr(slave_, TCSANOW, &mode) != 0) return fail("tcsetattr");

  const int flags = fcntl(master_, F_GETFL);
  if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
  return true;
}

void PseudoTerminal::Close() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

int PseudoTerminal::UnreadBySlave() const {
  int pending = 0;
  if (slave_ < 0 || ioctl(slave_, FIONREAD, &pending) != 0) return 0;
  return pending;
}

}  // namespace acv::sim
