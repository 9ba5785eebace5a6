#pragma once
// The serial control over QSerialPort: port numbers through a PortMap, fixed
// line settings 115200 8N1 without flow control, received bytes collected in
// our own buffer and announced once the receive threshold is reached.
//
// Every notification (threshold reached, port lost, line error) is queued to
// the event loop rather than made from inside QSerialPort's own signals, so a
// handler may close or reopen the port safely, and it is dropped when the
// port it concerns has been closed in the meantime.
//
// A vanished device (QSerialPort's ReadError, or ResourceError on a real
// unplug) closes the port at once and becomes one kCommEventPortLost: left
// open, QSerialPort would re-report the error in a busy loop.
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "logger/SerialControl.h"
#include "platform/PortMap.h"

namespace acv {

class QtSerialControl : public QObject, public SerialControl {
 public:
  explicit QtSerialControl(PortMap map = {}, QObject* parent = nullptr);
  ~QtSerialControl() override;

  void SetPortMap(PortMap map) { map_ = std::move(map); }
  const PortMap& Map() const { return map_; }
  // The device of the open port, or empty.
  std::string OpenDevice() const;
  // QSerialPort error signals seen so far (diagnostics: a vanished device
  // must not keep them coming).
  int ErrorSignals() const { return errorSignals_; }
  // Bytes read from the line since construction (lets a caller see that the
  // line has gone quiet, whatever the receive threshold holds back).
  std::uint64_t BytesArrived() const { return bytesArrived_; }
  // Bytes received and not yet taken by Input() (lets a caller wait for
  // bytes to arrive below the receive threshold).
  std::size_t BufferedBytes() const { return buffer_.size(); }

  // ---- SerialControl -------------------------------------------------------
  void SetCommPort(int port) override { commPort_ = port; }
  int CommPort() const override { return commPort_; }
  void RefreshPorts() override { map_ = map_.Reread(); }
  void SetPortOpen(bool open) override;
  bool PortOpen() const override { return port_.isOpen(); }
  void SetRThreshold(int bytes) override;
  int RThreshold() const override { return threshold_; }
  void DiscardInput() override;
  void DiscardOutput() override;
  void Output(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> Input() override;
  long LastPauseAt(int ms) const override { return arrivals_.LastPauseAt(ms); }
  int CommEvent() const override { return event_; }
  void SetEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
  void SetLowLatency(bool on) override;

 private:
  void Open();
  void Close();
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);
  void ScheduleThresholdCheck();
  void Notify(int event);
  void ApplyLowLatency();
  // Appends what QSerialPort has read, noting when it came.
  void Take(const QByteArray& data);

  QSerialPort port_;
  PortMap map_;
  int commPort_ = 1;
  int threshold_ = 1;
  int event_ = kCommEventNone;
  std::vector<std::uint8_t> buffer_;
  ArrivalPauses arrivals_;
  QElapsedTimer clock_;  // arrival times
  std::function<void()> handler_;
  bool lowLatency_ = false;
  bool checkQueued_ = false;
  bool lossQueued_ = false;
  // Incremented at every open and close: a queued notification for an
  // earlier opening is stale.
  std::uint64_t generation_ = 0;
  int errorSignals_ = 0;
  std::uint64_t bytesArrived_ = 0;
};

}  // namespace acv
