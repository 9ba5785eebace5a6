#pragma once
// The question at start-up about a real-time run that ended unexpectedly,
// a collaborator the main window owns: the oldest journal such a run left
// beside the previous measurement is read, and on "Yes" its points become
// the REAL TIME data on show; on "No", or when nothing can be brought back,
// the journal is set aside under another name. The choices are made in
// frame/RecoveryChoices.
#include <QString>
#include <functional>
#include <string>

#include "data/CDTDoc.h"
#include "ui/FrameParts.h"

namespace acv {

class RecoveryOffer {
 public:
  // What the offer reads and changes of the main window; all outlive this object.
  struct Host : FrameParts {
    CDTDoc& data;  // the recovered run replaces it
    const std::string& previousPath;
    // Shows the recovered run as unsaved data.
    std::function<void()> showRecovered;
    std::function<void(const QString& text, int milliseconds)> showStatus;
  };
  explicit RecoveryOffer(Host host);

  // Asks about the oldest journal left, if any; true when a run came back.
  bool Offer();

 private:
  void Warn(const std::string& text);

  Host host_;
};

}  // namespace acv
