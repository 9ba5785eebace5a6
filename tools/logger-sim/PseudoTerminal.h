#pragma once
// The simulated logger's end of the line: the master side of a
// pseudo-terminal. The simulator keeps a slave descriptor of its own open,
// so the device exists before the program opens it and the master never
// reads end-of-file while the program has the port closed.
#include <string>

namespace acv::sim {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal() { Close(); }

  // Opens the pair, puts the slave in raw mode at 115200 baud and makes the
  // master non-blocking.
  bool Open(std::string& error);
  // Closes both sides: the device disappears for the program.
  void Close();

  bool isOpen() const { return master_ >= 0; }
  int master() const { return master_; }
  const std::string& devicePath() const { return devicePath_; }
  // Bytes written by the simulator that the program has not read yet.
  int UnreadBySlave() const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string devicePath_;
};

}  // namespace acv::sim
