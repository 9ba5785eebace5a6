#pragma once
// The windows around the graph, owned by the main window: the information
// panel across the top of the graph view, and the tool windows over the main
// window (Data List, TR File List, power analysis panel), each made when it
// opens and gone when it closes. They are placed in screen coordinates over
// the part of the window they belong to (on X11 the place is honoured, a
// Wayland compositor places tool windows itself); a place the user moved a
// window to is kept.
//
// The windows only show: the display modes are the main window's, the power
// panel's values come from the real-time run's wave analysis.
//
// Adding a tool window: a QPointer member, an Open...() that makes it, places
// it with ColumnOnScreen() or beside the graph and connects its `closed` so
// the pointer empties, and a line in CloseAll() when closing the main window
// must close it.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <array>
#include <optional>

#include "data/CDTDoc.h"
#include "frame/DisplayModes.h"
#include "frame/FrameState.h"
#include "frame/PowerPanel.h"

class QSplitter;
class QWidget;

namespace acv {

class CDTView;
class CDataListDlg;
class CInfoPanelDlg;
class CPowerAnalysisDlg;
class CTrFileListDlg;

class ToolWindows : public QObject {
  Q_OBJECT

 public:
  // What the windows read of the main window; all outlive this object.
  struct Host {
    const CDTDoc& doc;
    const FrameState& frame;
    CDTView& view;
    QSplitter& splitter;  // its first pane is the instrument column
    QWidget& owner;       // the main window, owner of the tool windows
  };
  explicit ToolWindows(Host host);

  // Null while closed.
  CInfoPanelDlg* InfoPanel() const { return infoPanel_; }
  CDataListDlg* DataList() const;
  CTrFileListDlg* TrFileList() const;
  CPowerAnalysisDlg* PowerPanel() const;
  // The power panel's texts outlive its window.
  PowerPanelData& PowerTexts() { return powerData_; }

  // ---- Data List ---------------------------------------------------------
  // Opens it beside the graph, or shows it again when View > Graph put it away.
  void OpenDataList();
  // Brings an open Data List in line with the display after a mode command;
  // `keep` lists a new display instead of closing the list (after a
  // download or a load).
  void FollowDisplay(bool layoutChanged, bool keep);
  // Back beside the graph, unless the user moved it.
  void PlaceDataList();
  void CloseDataList();
  // View > Graph: the graph to the front. A Data List the user moved over
  // the graph is put away (Data List brings it back with its rows).
  void ShowGraph();

  // ---- TR File List and power panel ----------------------------------------
  void OpenTrFileList();
  void CloseTrFileList();
  // Asks the main window for TR record `record` in STORE TR (trRecordChosen).
  void ShowTrRecord(int record) { emit trRecordChosen(record); }
  void SelectTrRecord(int record);
  // The graph shows other rows of the same display (another TR record): an
  // open Data List lists them.
  void DisplayedRowsChanged();
  void OpenPowerPanel();
  // Window > Power Panel: opens it, or brings it to the front.
  void ShowPowerPanel();
  void ShowPowerTexts();
  // The view's close-panels operation: the power panel (whose channel 1
  // texts are emptied) and the TR File List go.
  void ClosePanels();
  // The panels a display mode opens or closes, and the power panel's texts
  // it asks for: the wave analysis of the shown channels, the S text.
  void FollowModeEffects(const ModeEffects& effects);
  // A run's first block: the texts the run will write read "NONE".
  void ResetPowerTexts();
  // A run's new point: its wave and power texts, shown while the panel is
  // open (a closed panel keeps what it showed last).
  void TakeRunTexts(const std::array<PowerPanelTexts, 2>& channels,
                    const std::optional<PowerValues>& power);

 signals:
  // The TR File List's double click: the user wants TR record `record`.
  void trRecordChosen(int record);

 private:
  void RefreshInfoPanel();
  void RebuildDataList();
  QRect DataListPlace() const;
  // The screen rectangle of the instrument column, `fallbackWidth` wide
  // when the column is closed.
  QRect ColumnOnScreen(int fallbackWidth) const;
  void OnGraphCursorPoint(qint64 index);
  void OnDataListRow(qint64 row);

  Host host_;
  CInfoPanelDlg* infoPanel_ = nullptr;  // a child of the view
  QPointer<CDataListDlg> dataList_;
  QPointer<CTrFileListDlg> trList_;
  QPointer<CPowerAnalysisDlg> powerDlg_;
  PowerPanelData powerData_;
  std::optional<PowerValues> powerValues_;  // of the run's latest point, unscaled
  QRect dataListMovedTo_;                   // where the user last put the Data List (frame, screen)
};

}  // namespace acv
