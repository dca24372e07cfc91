#pragma once

#include <QMessageBox>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "app/config_switch.h"
#include "app/window_update.h"
#include "ui/flow_presenter.h"
#include "ui/table_input.h"
#include "ui/table_owner.h"
#include "ui/table_view.h"

class ScoreSheetWindow;
class TableStatusPanes;

// The game table window. It composes the table's parts: the owner of the
// game objects (start, save, resume, switch), the view (picture, scale,
// backdrop), the flow's presenter (panes, boxes, waits) and the input
// (mouse, keys, hint); it forwards the widget's events to them and runs
// the commands. Every rule is the core's; this widget collects input and
// draws.
class QuorlaClient : public QWidget {
  Q_OBJECT

 public:
  // `settings` holds the open settings of the configuration in use; its
  // files live in `configDirectory` (with a trailing '/'), and the default
  // backdrop in `installDirectory`.
  QuorlaClient(GameSettings& settings, std::string configDirectory, std::string installDirectory,
               QWidget* parent = nullptr);
  ~QuorlaClient() override;

  // Loads the backdrop and deals a new game, or presents the saved one
  // when the configuration always resumes.
  void Start();
  // The frame's close request: false while the table first finishes what
  // it is doing (the idle step then asks again through CloseRequested).
  bool RequestClose();
  // Saves the unfinished game, the settings and the statistics.
  void SaveOnClose() { Owner.SaveOnClose(); }
  // One message naming every file a save could not write.
  void ReportUnsaved(const SaveReport& report) { Owner.ReportUnsaved(report); }

  void RunCommand(uint32_t command);
  // Scenery: a picture chosen with the file dialog becomes the backdrop.
  void ChooseSceneryFile() { View.ChooseSceneryFile(); }
  void ChooseSceneryFrom(const std::string& file) { View.ChooseSceneryFrom(file); }
  // Shows the notes gathered before the window was visible.
  void ShowStartupNotes() { View.ShowStartupNotes(); }
  // Resume Game: the saved game replaces the one on the table.
  void ResumeSavedGame();
  // Whether the configuration plays for the first time (its introduction is due).
  bool IntroductionDue() const { return Owner.IntroductionDue(); }
  // Switch Player: the core's switch, then the new configuration's files,
  // backdrop and game on the table.
  SwitchOutcome SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, bool saveFirst);
  const std::string& ConfigurationDirectory() const { return Owner.ConfigDirectory(); }
  bool IsCommandEnabled(uint32_t command) const { return Owner.IsCommandEnabled(command); }
  // After an option dialog's values were applied: loads the backdrop again
  // or redraws as the update says, and lets a newly dealt game go on.
  void ShowOptionChange(const WindowUpdate& update);
  bool IsWatching() const { return Owner.Table().State().Watching; }

  // The table is drawn to fit the widget at any factor, centred; every
  // position stays in table pixels. The size the widget asks for shows the
  // table at `scale` window pixels per table pixel.
  void SetPreferredScale(double scale) { View.SetPreferredScale(scale); }
  // Window (logical) pixels per table pixel at the widget's present size.
  double ViewScale() const { return View.ViewScale(); }
  // Device pixels per table pixel of the composed table.
  double CompositionScale() const { return View.CompositionScale(); }
  // The line on the table telling the computer's latest move, and the
  // hand's moves its tooltip lists.
  QString MoveLine() const { return View.MoveLine(); }
  QStringList HandMoves() const { return View.HandMoves(); }
  // The keyboard's focus on the table while it is framed.
  std::optional<TableFocus> KeyboardFocus() const { return View.KeyboardFocus(); }
  // Where the table is drawn in the widget, in device pixels.
  QRect TablePlace() const { return View.TablePlace(); }
  // The folder of the face deck the cards are drawn from; empty for the
  // game's plain cards.
  QString FaceDeck() const { return View.FaceDeck(); }

  void SetStatusPanes(TableStatusPanes* panes) { ThePresenter.SetStatusPanes(panes); }
  TableObjects& Table() { return Owner.Table(); }
  const TableObjects& Table() const { return Owner.Table(); }
  NxTablePicture& Picture() { return View.Picture(); }
  const NxTablePicture& Picture() const { return View.Picture(); }
  ScoreSheet& Sheet() { return Owner.Sheet(); }
  PlayHistory& History() { return Owner.History(); }
  ScoreSheetWindow* SheetWindow() { return ThePresenter.SheetWindow(); }
  // What the flow shows through: boxes, questions, the score sheet.
  FlowPresenter& Presenter() { return ThePresenter; }
  TableParts Parts() { return Owner.Parts(); }

  // How message boxes and questions reach the person; tests answer them.
  // Returns true for yes (or OK).
  using Prompter = TablePrompter;
  void SetPrompter(Prompter prompter) { Prompt = std::move(prompter); }
  // A message with only OK, through the same prompter.
  void Tell(const QString& caption, const QString& text) { Prompt(caption, text, QMessageBox::Information, false); }
  // Scales every timed wait (tests and benchmarks play fast).
  void SetWaitFactor(double factor) { ThePresenter.SetWaitFactor(factor); }

  QSize sizeHint() const override { return View.SizeHint(); }
  QSize minimumSizeHint() const override { return TableView::MinimumSize(); }

 private:
  // A message box or question placed where it covers no card.
  bool AskClearOfTheCards(const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo);

 signals:
  // Enabling or check marks of commands may have changed.
  void CommandsChanged();
  // The table finished its step and asks the frame to close again.
  void CloseRequested();
  // The table is drawn at another size.
  void ViewScaleChanged();
  void StatisticsRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // In the order they depend on each other; the owner's game objects keep
  // the presenter from before it is built, and use it only later.
  Prompter Prompt;
  TableOwner Owner;
  TableView View;
  FlowPresenter ThePresenter;
  TableInput Input;
};
