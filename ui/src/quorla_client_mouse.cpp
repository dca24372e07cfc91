// The game table window's mouse: drags from the stock, the discard pile and
// the hand, drops on the discard pile and the knock area, and the
// right-button menu. The rules come from the core's table commands.
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "app/table_fit.h"

#include "game/string_table.h"
#include "game/table_commands.h"
#include "player/data_paths.h"
#include "player/hint.h"
#include "ui/quorla_client.h"
#include "ui/table_accessible.h"
#include "ui/table_status_panes.h"

TPoint QuorlaClient::ToTable(const QPointF& point) const {
  const double ratio = devicePixelRatioF();
  const TPoint device{static_cast<int32_t>(std::floor(point.x() * ratio)),
                      static_cast<int32_t>(std::floor(point.y() * ratio))};
  return ToTablePoint(device, {Placement.left(), Placement.top(), Placement.right() + 1, Placement.bottom() + 1},
                      Scale);
}

void QuorlaClient::mousePressEvent(QMouseEvent* event) {
  // The person acts on the table as it is: cards on their way arrive first.
  ThePicture.FinishGlides();
  const TPoint point = ToTable(event->position());
  if (event->button() == Qt::LeftButton)
    LeftPress(point);
  else if (event->button() == Qt::RightButton)
    RightPress(point, event->globalPosition().toPoint());
}

void QuorlaClient::mouseMoveEvent(QMouseEvent* event) {
  if (!Objects.State.Dragging || !Objects.Deck.HeldCard()) return;
  const TPoint point = ToTable(event->position());
  // The highlight first, so that one composition draws both.
  const TPoint corner{point.x - GrabOffset.x, point.y - GrabOffset.y};
  ThePicture.SetHighlight(DropPlace(Objects.State, Objects.Deck, TRect::At(corner, Objects.Deck.CardSize())));
  Objects.Deck.Drag(corner, true);
}

void QuorlaClient::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  FinishDrag(ToTable(event->position()));
}

void QuorlaClient::LeftPress(TPoint point) {
  GameState& s = Objects.State;
  NxDeck& deck = Objects.Deck;
  // Every press closes the score sheet, also after the hand; the mouse
  // takes over from the keyboard's focus.
  Objects.Flow.CloseScoreSheet();
  if (FocusShown) {
    FocusShown = false;
    ThePicture.SetHighlight(std::nullopt);
    ThePicture.Paint(true);
  }
  if (s.HandOver || s.Dragging) return;
  s.DragFromDiscard = false;
  ClickTarget target = ClickTarget::NOTHING;
  std::optional<CardHit> handHit;
  if (deck.CardAtPoint(point, STOCK_PILE))
    target = ClickTarget::STOCK;
  else if (deck.CardAtPoint(point, DISCARD_PILE))
    target = ClickTarget::DISCARD_PILE;
  else if ((handHit = deck.CardAtPoint(point, HUMAN_PILE)))
    target = ClickTarget::HAND_CARD;

  // A taken card already belongs to the hand, but is dragged from where it
  // lay on its pile.
  const uint32_t newCard = deck.CardsInPile(HUMAN_PILE);
  switch (LeftPressAction(s, target)) {
    case PressAction::TAKE_STOCK_CARD: {
      const TPoint lay = deck.Pile(STOCK_PILE).Cards[deck.TopIndex(STOCK_PILE)]->Position();
      if (Objects.Flow.TakeStockCard()) BeginDrag(newCard, point, lay);
      break;
    }
    case PressAction::TAKE_UPCARD: {
      const TPoint lay = deck.Pile(DISCARD_PILE).Cards[deck.TopIndex(DISCARD_PILE)]->Position();
      if (Objects.Flow.TakeUpcard()) {
        BeginDrag(newCard, point, lay);
        s.DragFromDiscard = true;
      }
      break;
    }
    case PressAction::PICK_UP_HAND_CARD:
      BeginDrag(handHit->Position, point, handHit->Corner);
      s.Sort = PLAYERS_ORDER;
      break;
    case PressAction::NOTHING: break;
  }
  AfterInput();
}

void QuorlaClient::BeginDrag(uint32_t position, TPoint point, TPoint corner) {
  NxDeck& deck = Objects.Deck;
  GrabOffset = {point.x - corner.x, point.y - corner.y};
  deck.PickUp(HUMAN_PILE, position);
  ThePicture.SetHighlight(DropPlace(Objects.State, deck, TRect::At(corner, deck.CardSize())));
  deck.Drag(corner, true);
  Objects.State.Dragging = true;
  Objects.State.HitCard = position;
}

uint32_t QuorlaClient::HandPositionOf(uint32_t card) const {
  const NxDeck& deck = Objects.Deck;
  for (uint32_t pos = 0; pos < deck.CardsInPile(HUMAN_PILE); ++pos)
    if (deck.CardIndexAt(HUMAN_PILE, pos) == card) return pos;
  return NoCard;
}

void QuorlaClient::FinishDrag(TPoint point) {
  GameState& s = Objects.State;
  NxDeck& deck = Objects.Deck;
  if (!s.Dragging) return;
  s.Dragging = false;
  ThePicture.SetHighlight(std::nullopt);
  if (!deck.HeldCard()) {  // the flow took the card back while it was held
    ThePicture.Paint(true);
    AfterInput();
    return;
  }
  const TPoint corner{point.x - GrabOffset.x, point.y - GrabOffset.y};
  deck.Drag(corner, true);
  const DropAction action = ReleaseAction(s, TRect::At(corner, deck.CardSize()));
  const uint32_t card = deck.HeldCardIndex();
  deck.Drop();
  s.DragFromDiscard = false;
  switch (action) {
    case DropAction::DISCARD: Objects.Flow.Discard(HandPositionOf(card)); break;
    case DropAction::KNOCK: Objects.Flow.Knock(HandPositionOf(card)); break;
    case DropAction::BACK_INTO_HAND:
      if (s.Play == HumanDiscard) {
        deck.RefreshPile(STOCK_PILE);
        deck.RefreshPile(DISCARD_PILE);
      }
      break;
  }
  AfterInput();
}

void QuorlaClient::RightPress(TPoint point, const QPoint& globalPoint) {
  GameState& s = Objects.State;
  if (s.Dragging) return;
  const NxDeck& deck = Objects.Deck;
  ClickTarget target = ClickTarget::NOTHING;
  s.HitCard = NoCard;
  if (deck.CardAtPoint(point, STOCK_PILE)) {
    target = ClickTarget::STOCK;
  } else if (deck.CardAtPoint(point, DISCARD_PILE)) {
    target = ClickTarget::DISCARD_PILE;
  } else if (auto hit = deck.CardAtPoint(point, HUMAN_PILE)) {
    target = ClickTarget::HAND_CARD;
    s.HitCard = hit->Position;
  }
  QMenu menu(this);
  for (uint32_t command : PopupMenuFor({s, true, s.ScoreSheetShown, Objects.Record.GameOver}, target)) {
    if (command == MENU_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromUtf8(ResourceString(PopupTextId(command))));
    action->setData(command);
  }
  QAction* chosen = menu.exec(globalPoint);
  if (chosen) RunCommand(chosen->data().toUInt());
}

// A double click discards the card it hit when a discard is allowed; the
// piles' cards are already taken by the first press.
void QuorlaClient::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  ThePicture.FinishGlides();
  const std::optional<CardHit> hit = Objects.Deck.CardAtPoint(ToTable(event->position()), HUMAN_PILE);
  if (!hit || Objects.State.Play != HumanDiscard || Objects.State.Dragging) return;
  Objects.State.HitCard = hit->Position;
  RunCommand(CM_DISCARD_THIS_CARD);
}

namespace {

std::optional<TableKey> TableKeyOf(int key) {
  switch (key) {
    case Qt::Key_Left: return TableKey::LEFT;
    case Qt::Key_Right: return TableKey::RIGHT;
    case Qt::Key_Up: return TableKey::UP;
    case Qt::Key_Down: return TableKey::DOWN;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return TableKey::ACTIVATE;
    case Qt::Key_K: return TableKey::KNOCK;
    case Qt::Key_P: return TableKey::PASS;
    default: return std::nullopt;
  }
}

}  // namespace

void QuorlaClient::keyPressEvent(QKeyEvent* event) {
  const std::optional<TableKey> key = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)
                                          ? std::nullopt
                                          : TableKeyOf(event->key());
  // H reaches the table only where no menu carries it as its shortcut.
  if (!key && event->key() == Qt::Key_H && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    RunCommand(CM_HINT);
    return;
  }
  if (!key) {
    QWidget::keyPressEvent(event);
    return;
  }
  ThePicture.FinishGlides();
  const uint32_t handSize = Objects.Deck.IsLaidOut() ? Objects.Deck.CardsInPile(HUMAN_PILE) : 0;
  if (const std::optional<KeyMove> move = KeyMoveFor(Objects.State, Focus, *key, handSize)) {
    Objects.State.HitCard = move->Position;
    RunCommand(move->Command);
    // A taken card joins the hand at its end: the focus follows it there.
    if (move->Command == CM_TAKE_STOCK_CARD || move->Command == CM_TAKE_UPCARD)
      Focus = {TableFocus::Place::HAND, Objects.Deck.CardsInPile(HUMAN_PILE) - 1};
  } else {
    Focus = MoveFocus(Focus, *key, handSize);
  }
  FocusShown = true;
  ShowFocus();
}

void QuorlaClient::ShowFocus() {
  NxDeck& deck = Objects.Deck;
  if (FocusShown && deck.IsLaidOut() && !Objects.State.Dragging) {
    const uint32_t count = deck.CardsInPile(HUMAN_PILE);
    if (count > 0) Focus.Position = std::min(Focus.Position, count - 1);
    ThePicture.SetHighlight(FocusRect(deck, Focus));
    ThePicture.Paint(true);
  }
  AnnounceTableFocus(*this);
}

// Master's search runs in slices with the window's events between them; a
// hint asked for again meanwhile, or a table that moved on, drops it.
void QuorlaClient::ShowHint() {
  if (Hinting) return;
  Hinting = true;
  const GameState& s = Objects.State;
  const uint64_t hand = Objects.Flow.HandSerial();
  const PlayState play = s.Play;
  const std::optional<Hint> hint =
      AdviseHuman(Objects.Flow, InstallDirectory + data_paths::DEFAULT_DATA_FILE, MasterBudget{},
                  [this, &s] { return KeepThinking(*this, s); });
  Hinting = false;
  if (!hint || hand != Objects.Flow.HandSerial() || play != s.Play || s.Dragging) return;
  if (hint->Command == CM_TAKE_UPCARD) Focus = {TableFocus::Place::UPCARD, 0};
  if (hint->Command == CM_PASS) Focus = {TableFocus::Place::UPCARD, 0, true};
  if (hint->Command == CM_TAKE_STOCK_CARD) Focus = {TableFocus::Place::STOCK, 0};
  if (hint->Command == CM_DISCARD_THIS_CARD || hint->Command == CM_KNOCK_WITH_THIS_CARD)
    Focus = {TableFocus::Place::HAND, hint->Position};
  FocusShown = true;
  ShowFocus();
  if (Panes) Panes->ShowNote(QString::fromStdString(HintText(*hint, Objects.Deck)));
}
