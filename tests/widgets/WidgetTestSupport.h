#pragma once
// Helpers of the widget tests: the one QApplication, a prompter that answers
// from a script and records what it was asked, a temporary home for the
// settings and data files, and a wait that keeps the event loop running.
#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"

namespace acv::test {

// Created on first use, kept for the whole test program (offscreen).
QApplication& App();

// Runs the event loop until pred() holds or timeoutMs passed; returns pred().
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs);

class ScriptedPrompter : public Prompter {
 public:
  void Message(QWidget*, const QString& text, MessageIcon) override { messages << text; }
  bool AskYesNo(QWidget*, const QString& text) override {
    questions << text;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override {
    if (cancels > 0) {
      questions << text;
      --cancels;
      return Answer::Cancel;
    }
    return AskYesNo(parent, text) ? Answer::Yes : Answer::No;
  }
  QString SaveFileName(QWidget*, const QString& proposed, SaveKind kind) override {
    proposedNames << proposed;
    saveKinds.push_back(kind);
    return saveName;
  }
  QString OpenFileName(QWidget*, const QString& filter) override {
    filters << filter;
    return openName;
  }
  std::optional<LibrarySiteOffer> ChooseLibrarySite(QWidget*,
                                                    const LibrarySiteOffer& offer) override {
    siteOffers.push_back(offer);
    return siteChoice;
  }
  std::optional<QString> ChooseItem(QWidget*, const QString&, const QString&,
                                    const QStringList& items) override {
    itemLists.push_back(items);
    return itemChoice;
  }

  std::deque<bool> answers;  // Yes/No answers in order; No when empty
  int cancels = 0;           // the next questions with a Cancel button get Cancel
  QString saveName;          // what the save dialog returns ("" = Cancel)
  QString openName;
  QStringList messages, questions, proposedNames, filters;
  std::vector<SaveKind> saveKinds;             // the save dialogs asked for, in order
  std::vector<LibrarySiteOffer> siteOffers;    // what the Add to Library dialogs offered
  std::vector<QStringList> itemLists;          // the lists ChooseItem offered
  std::optional<QString> itemChoice;           // what it returns (nullopt = Cancel)
  std::optional<LibrarySiteOffer> siteChoice;  // their answer (nullopt = Cancel)
};

// A main window whose settings and previous measurement live in a temporary
// folder; the serial control and the timers are the caller's or the real ones.
struct FrameUnderTest {
  explicit FrameUnderTest(SerialControl* serial = nullptr, TimerHost* timers = nullptr,
                          std::string onlyPort = {});
  ~FrameUnderTest();
  std::string Path(const char* name) const;

  QTemporaryDir dir;
  ScriptedPrompter prompter;
  std::unique_ptr<CMainFrame> frame;
};

// A small STORE data set: rmsCount samples of CH1 (volts) and, when
// twoChannels, CH2 (amperes), with one TR record on CH2.
CDTDoc StoreData(int rmsCount, bool twoChannels);

// The tag at the head of a data file ("" when unreadable).
std::string FileTag(const std::string& path);

}  // namespace acv::test
