#pragma once

#include <QPoint>
#include <cstdint>

#include "neural/geometry.h"

class FlowPresenter;
class QKeyEvent;
class QMouseEvent;
class QuorlaClient;
class TableOwner;
class TableView;

// The person's hands on the table: drags from the stock, the discard pile
// and the hand, drops on the discard pile and the knock area, the
// right-button menu, the keys that move and use the focus, and the hint.
// The rules come from the core's table commands; commands go through the
// client like the menu's.
class TableInput {
 public:
  TableInput(QuorlaClient& client, TableOwner& owner, TableView& view, FlowPresenter& presenter);

  void Press(const QMouseEvent& event);
  void DoubleClick(const QMouseEvent& event);
  void Move(const QMouseEvent& event);
  void Release(const QMouseEvent& event);
  // False for a key that is not the table's.
  bool Key(const QKeyEvent& event);
  // Frames the card or pile of the move the top level advises, where the
  // keyboard then acts, and says the move in the status bar.
  void ShowHint();

 private:
  void LeftPress(TPoint point);
  void RightPress(TPoint point, const QPoint& globalPoint);
  void BeginDrag(uint32_t position, TPoint point, TPoint corner, bool fromDiscard);
  void FinishDrag(TPoint point);
  uint32_t HandPositionOf(uint32_t card) const;

  QuorlaClient& Client;
  TableOwner& Owner;
  TableView& View;
  FlowPresenter& Presenter;
  TPoint GrabOffset{0, 0};
  bool Hinting = false;
};
