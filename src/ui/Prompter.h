#pragma once
// Every modal question the main window asks the user goes through a Prompter:
// message boxes, yes/no questions and the file dialogs. The program uses the
// QMessageBox/QFileDialog implementation; tests plug in a scripted one, so no
// test ever waits for a click.
#include <QString>
#include <QStringList>
#include <optional>

#include "frame/LibraryChoices.h"
#include "frame/SaveTargets.h"
#include "logger/LinkHost.h"

class QWidget;

namespace acv {

// The answer to a question that may also be called off.
enum class Answer { Yes, No, Cancel };

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A message box with an OK button.
  virtual void Message(QWidget* parent, const QString& text, MessageIcon icon) = 0;
  // A Yes/No question with the question icon; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
  // The same with a Cancel button (and Esc) that calls off what was asked for.
  virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
  // The save dialog of one kind of file with that kind's filters: the file
  // that will really be written (SaveTargetFor), after the user agreed to
  // replace it when it exists; empty on Cancel.
  virtual QString SaveFileName(QWidget* parent, const QString& proposedName, SaveKind kind) = 0;
  // The open dialog; empty on Cancel.
  virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
  // The open dialog taking several files at once; empty on Cancel. A
  // prompter without one offers the single-file dialog.
  virtual QStringList OpenFileNames(QWidget* parent, const QString& filter);
  // The Add to Library dialog: the site chosen and the tick; nullopt on Cancel.
  virtual std::optional<LibrarySiteOffer> ChooseLibrarySite(QWidget* parent,
                                                            const LibrarySiteOffer& offer) = 0;
  // One of `items` picked from a list under `label`; nullopt on Cancel.
  virtual std::optional<QString> ChooseItem(QWidget* parent, const QString& title,
                                            const QString& label, const QStringList& items) = 0;
};

// The real dialogs. The message boxes carry the program's caption.
class DialogPrompter : public Prompter {
 public:
  void Message(QWidget* parent, const QString& text, MessageIcon icon) override;
  bool AskYesNo(QWidget* parent, const QString& text) override;
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
  QString SaveFileName(QWidget* parent, const QString& proposedName, SaveKind kind) override;
  QString OpenFileName(QWidget* parent, const QString& filter) override;
  QStringList OpenFileNames(QWidget* parent, const QString& filter) override;
  std::optional<LibrarySiteOffer> ChooseLibrarySite(QWidget* parent,
                                                    const LibrarySiteOffer& offer) override;
  std::optional<QString> ChooseItem(QWidget* parent, const QString& title, const QString& label,
                                    const QStringList& items) override;

 private:
  // The folder the user last saved to or opened from.
  QString lastFolder_;
};

}  // namespace acv
