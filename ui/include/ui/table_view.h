#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "game/hand_end_view.h"
#include "game/keyboard_play.h"
#include "game/move_history.h"
#include "table/bitmap.h"
#include "table/image_provider.h"
#include "table/table_picture.h"
#include "ui/table_backdrop.h"
#include "ui/table_prompter.h"

class QHelpEvent;
class QPainter;
class QPaintEvent;
class QuorlaClient;
class SvgCardImages;
class TableOwner;

// What the table window shows: the table's picture composed at the scale
// that fits the widget, centred, with the backdrop or scenery behind the
// cards, the texts over it and the keyboard's focus framed on it. Every
// position stays in table pixels; the widget's pixels are only drawn to.
class TableView : public QObject, public NxTablePresenter {
  Q_OBJECT

 public:
  TableView(QuorlaClient& widget, TableOwner& owner, const TablePrompter& prompt);
  ~TableView() override;

  NxTablePicture& Picture() { return ThePicture; }
  const NxTablePicture& Picture() const { return ThePicture; }

  // Card pictures, placement and backdrop at the present scale; the first
  // call loads the backdrop.
  void ApplyScale();
  // The player's face deck, or the default, goes on the card pictures.
  void UseChosenFaceDeck();
  bool FaceDeckChanged() const;
  // Empty for the game's plain cards.
  QString FaceDeck() const;
  void LoadBackdropPicture();
  // Scenery: a picture chosen with the file dialog becomes the backdrop.
  void ChooseSceneryFile();
  void ChooseSceneryFrom(const std::string& file);
  // Shows the notes gathered before the window was visible.
  void ShowStartupNotes();

  // A resized window, or one moved to a screen of another pixel ratio,
  // draws the table anew at the size it is shown.
  void FollowSize();
  // The widget was shown: it follows its window's screen from now on.
  void Shown();
  void SetPreferredScale(double scale);
  QSize SizeHint() const;
  static QSize MinimumSize();
  double ViewScale() const;
  double CompositionScale() const { return Scale; }
  QRect TablePlace() const { return Placement; }
  TPoint ToTable(const QPointF& point) const;

  // The line telling the computer's latest move, and the hand's moves its
  // tooltip lists.
  void ShowMoves(const MoveHistory& moves);
  // Where a table area is shown in the widget, in its (logical) pixels.
  QRect ShownRect(const TRect& tableArea) const { return WidgetRect(ThePicture.ToBuffer(tableArea)); }
  // The hand's end on the table until the next deal; nothing hides it.
  void ShowHandEnd(const std::optional<HandEndView>& end);
  const std::optional<HandEndView>& HandEnd() const { return TheHandEnd; }
  QString MoveLine() const { return LastMove; }
  QStringList HandMoves() const { return Moves; }

  // The keyboard's focus: kept while hidden, framed once a key moved it.
  const TableFocus& Focus() const { return TheFocus; }
  std::optional<TableFocus> KeyboardFocus() const {
    return FocusShown ? std::optional(TheFocus) : std::nullopt;
  }
  void FrameFocus(const TableFocus& focus);
  // The mouse takes over from the keyboard.
  void HideFocus();
  // Frames the focus again where the table may have changed under it.
  void ShowFocus();

  void Paint(QPaintEvent* event);
  void ShowToolTip(const QHelpEvent& help);
  void Present(const NxBitmap& backBuffer, const TRect& tableArea) override;

 signals:
  // The table is drawn at another size.
  void ScaleChanged();

 private:
  // Moves the cards on their way one frame further; the timer runs only
  // while a card is travelling.
  void StepGlides();
  double WantedScale() const;
  TSize DeviceArea() const;
  void PlaceTable();
  // Widget pixels, rounded outwards, of an area of the composed table.
  QRect WidgetRect(const TRect& bufferArea) const;
  // The texts drawn over the composed table at the size it is shown.
  void DrawTableTexts(QPainter& painter) const;
  void DrawTableText(QPainter& painter, const TRect& tableArea, const QString& text, int flags) const;
  // The decorated backdrop at the present scale goes behind the cards.
  void DecorateBackdrop();

  // About sixty frames a second while a card travels.
  static constexpr int GLIDE_FRAME_MS = 16;

  QuorlaClient& Widget;
  TableOwner& Owner;
  const TablePrompter& Prompt;
  NxTablePicture ThePicture;
  std::unique_ptr<SvgCardImages> Images;
  TableBackdrop Backdrop;
  QImage Composed;  // the picture's back buffer as the screen shows it
  QImage SpareComposed;  // the one of the size shown before
  double PreferredScale = 1.0;
  double Scale = 1.0;
  QRect Placement;
  QString LastMove;
  QStringList Moves;
  std::optional<HandEndView> TheHandEnd;
  TableFocus TheFocus;
  bool FocusShown = false;
  QTimer GlideTimer;
  QElapsedTimer GlideClock;
  QStringList Notes;
};
