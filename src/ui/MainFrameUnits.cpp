// Primary units and the standard waveform files: the Channel Scaling dialog
// and what a new scaling redraws, and File > Export COMTRADE.
#include <QFileInfo>
#include <QStatusBar>

#include "data/Comtrade.h"
#include "frame/Commands.h"
#include "frame/SavePrompts.h"
#include "frame/SaveTargets.h"
#include "graph/CDTView.h"
#include "ui/AnalysisWindows.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"
#include "ui/dialogs/CChannelScalingDlg.h"

namespace acv {

void CMainFrame::EditChannelScaling() {
  auto* dialog = new CChannelScalingDlg(*prompter_, doc_.scaling, settingsPath_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this,
          [this, dialog] { ApplyChannelScaling(dialog->Accepted()); });
  dialog->open();
}

void CMainFrame::ApplyChannelScaling(const ChannelScaling& scaling) {
  settings_.channelScaling = scaling;
  ShowInScaling(scaling);
}

void CMainFrame::ShowInScaling(const ChannelScaling& scaling) {
  if (doc_.scaling == scaling) return;
  doc_.scaling = scaling;
  analysis_->DataChanged();
  const DisplayMode mode = frame_.ActiveMode();
  if (mode == DisplayMode::StoreTr) {
    // The record on show stays, with its texts in the new units.
    DisplaySetup setup = view_->Display();
    InfoTexts info = view_->Info();
    if (acv::ShowTrRecord(setup, info, doc_, setup.trRecord)) view_->SetInfoTexts(info);
  } else if (mode != DisplayMode::None) {
    RunModeCommand(mode, true);  // the information texts of the display again
  }
  tools_->DisplayedRowsChanged();
  tools_->ShowPowerTexts();
  view_->DataChanged();
  // Axes set for the old units would cut the curves off or flatten them:
  // the display on show is fitted to its values in the new units.
  if (CommandEnabled(cmd::kFitAxes)) displaySettings_->FitAxes();
}

void CMainFrame::ExportComtrade() {
  const DisplayMode mode = frame_.ActiveMode();
  const int record = view_->Display().trRecord;
  const bool tr = mode == DisplayMode::StoreTr;
  ComtradeRecord wave =
      tr ? ComtradeOfTrRecord(doc_, record, doc_.scaling) : ComtradeOfWave(doc_, doc_.scaling);
  if (wave.channels.empty()) {
    prompter_->Message(this, QStringLiteral("The waveform on show has no known channel to write."),
                       MessageIcon::Warning);
    return;
  }
  const std::string document = files_->DocumentPath();
  const std::string proposed =
      ProposedComtradeName(document, tr ? record : -1, ProposedSaveName(LocalNow()));
  const QString chosen =
      prompter_->SaveFileName(this, QString::fromStdString(proposed), SaveKind::Comtrade);
  if (chosen.isEmpty()) return;
  const std::string base = ComtradeBasePath(chosen.toStdString());
  // The station is the data file's name, as the command line names it;
  // data not from a file take the name chosen for the files.
  wave.station = QFileInfo(QString::fromStdString(document.empty() ? base : document))
                     .completeBaseName()
                     .toStdString();
  wave.lineFrequency = settings_.eventLimits.frequency;
  const ComtradeFiles files = FormatComtrade(wave, ComtradeFormat::Binary);
  std::string error = files.problem;
  if (error.empty()) error = SaveComtradeFiles(files, base);
  if (!error.empty()) {
    prompter_->Message(this,
                       QStringLiteral("The COMTRADE files could not be written: %1")
                           .arg(QString::fromStdString(error)),
                       MessageIcon::Warning);
    return;
  }
  statusBar()->showMessage(
      QStringLiteral("Wrote %1.cfg and %1.dat").arg(QString::fromStdString(base)), 5000);
}

}  // namespace acv
