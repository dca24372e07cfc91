// The game table window's mouse and keys: drags from the stock, the
// discard pile and the hand, drops on the discard pile and the knock area,
// the right-button menu, the keyboard's focus and the hint. The rules come
// from the core's table commands.
#include "ui/table_input.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <optional>

#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "player/hint.h"
#include "ui/resource_text.h"
#include "ui/flow_presenter.h"
#include "ui/quorla_client.h"
#include "ui/table_owner.h"
#include "ui/table_view.h"

TableInput::TableInput(QuorlaClient& client, TableOwner& owner, TableView& view, FlowPresenter& presenter)
    : Client(client), Owner(owner), View(view), Presenter(presenter) {}

void TableInput::Press(const QMouseEvent& event) {
  // The person acts on the table as it is: cards on their way arrive first.
  View.Picture().FinishGlides();
  const TPoint point = View.ToTable(event.position());
  if (event.button() == Qt::LeftButton)
    LeftPress(point);
  else if (event.button() == Qt::RightButton)
    RightPress(point, event.globalPosition().toPoint());
}

void TableInput::Move(const QMouseEvent& event) {
  TableObjects& table = Owner.Table();
  if (!table.State().Dragging || !table.Deck.HeldCard()) return;
  const TPoint point = View.ToTable(event.position());
  // The highlight first, so that one composition draws both.
  const TPoint corner{point.x - GrabOffset.x, point.y - GrabOffset.y};
  View.Picture().SetHighlight(DropPlace(table.State(), table.Deck, TRect::At(corner, table.Deck.CardSize())));
  table.Deck.Drag(corner, true);
}

void TableInput::Release(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton) return;
  FinishDrag(View.ToTable(event.position()));
}

void TableInput::LeftPress(TPoint point) {
  TableObjects& table = Owner.Table();
  const GameState& s = table.State();
  NxDeck& deck = table.Deck;
  // Every press closes the score sheet, also after the hand; the mouse
  // takes over from the keyboard's focus.
  table.Flow.CloseScoreSheet();
  View.HideFocus();
  if (s.HandOver || s.Dragging) return;
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
      if (table.Flow.TakeStockCard()) BeginDrag(newCard, point, lay, false);
      break;
    }
    case PressAction::TAKE_UPCARD: {
      const TPoint lay = deck.Pile(DISCARD_PILE).Cards[deck.TopIndex(DISCARD_PILE)]->Position();
      if (table.Flow.TakeUpcard()) BeginDrag(newCard, point, lay, true);
      break;
    }
    case PressAction::PICK_UP_HAND_CARD:
      BeginDrag(handHit->Position, point, handHit->Corner, false);
      table.Flow.ForgetSortOrder();
      break;
    case PressAction::NOTHING: break;
  }
  Presenter.AfterInput();
}

void TableInput::BeginDrag(uint32_t position, TPoint point, TPoint corner, bool fromDiscard) {
  TableObjects& table = Owner.Table();
  NxDeck& deck = table.Deck;
  GrabOffset = {point.x - corner.x, point.y - corner.y};
  deck.PickUp(HUMAN_PILE, position);
  table.Flow.BeginDrag(position, fromDiscard);
  View.Picture().SetHighlight(DropPlace(table.State(), deck, TRect::At(corner, deck.CardSize())));
  deck.Drag(corner, true);
}

uint32_t TableInput::HandPositionOf(uint32_t card) const {
  return Owner.Table().Deck.PositionOf(HUMAN_PILE, card).value_or(NoCard);
}

void TableInput::FinishDrag(TPoint point) {
  TableObjects& table = Owner.Table();
  const GameState& s = table.State();
  NxDeck& deck = table.Deck;
  if (!s.Dragging) return;
  View.Picture().SetHighlight(std::nullopt);
  if (!deck.HeldCard()) {  // the flow took the card back while it was held
    table.Flow.EndDrag();
    View.Picture().Paint(true);
    Presenter.AfterInput();
    return;
  }
  const TPoint corner{point.x - GrabOffset.x, point.y - GrabOffset.y};
  deck.Drag(corner, true);
  const DropAction action = ReleaseAction(s, TRect::At(corner, deck.CardSize()));
  table.Flow.EndDrag();
  const uint32_t card = deck.HeldCardIndex();
  deck.Drop();
  switch (action) {
    case DropAction::DISCARD: table.Flow.Discard(HandPositionOf(card)); break;
    case DropAction::KNOCK: table.Flow.Knock(HandPositionOf(card)); break;
    case DropAction::BACK_INTO_HAND:
      if (s.Play == HumanDiscard) {
        deck.RefreshPile(STOCK_PILE);
        deck.RefreshPile(DISCARD_PILE);
      }
      break;
  }
  Presenter.AfterInput();
}

void TableInput::RightPress(TPoint point, const QPoint& globalPoint) {
  TableObjects& table = Owner.Table();
  const GameState& s = table.State();
  if (s.Dragging) return;
  const NxDeck& deck = table.Deck;
  ClickTarget target = ClickTarget::NOTHING;
  table.Flow.NoteHitCard(NoCard);
  if (deck.CardAtPoint(point, STOCK_PILE)) {
    target = ClickTarget::STOCK;
  } else if (deck.CardAtPoint(point, DISCARD_PILE)) {
    target = ClickTarget::DISCARD_PILE;
  } else if (auto hit = deck.CardAtPoint(point, HUMAN_PILE)) {
    target = ClickTarget::HAND_CARD;
    table.Flow.NoteHitCard(hit->Position);
  }
  QMenu menu(&Client);
  menu.setAccessibleName(ResourceText(POPUP_MENU_ACCESSIBLE_NAME));
  for (uint32_t command : PopupMenuFor({s, true, s.ScoreSheetShown, table.Record.GameOver}, target)) {
    if (command == MENU_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromUtf8(ResourceString(PopupTextId(command))));
    action->setData(command);
  }
  QAction* chosen = menu.exec(globalPoint);
  if (chosen) Client.RunCommand(chosen->data().toUInt());
}

// A double click discards the card it hit when a discard is allowed; the
// piles' cards are already taken by the first press.
void TableInput::DoubleClick(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton) return;
  View.Picture().FinishGlides();
  const GameState& s = Owner.Table().State();
  const std::optional<CardHit> hit = Owner.Table().Deck.CardAtPoint(View.ToTable(event.position()), HUMAN_PILE);
  if (!hit || s.Play != HumanDiscard || s.Dragging) return;
  Owner.Table().Flow.NoteHitCard(hit->Position);
  Client.RunCommand(CM_DISCARD_THIS_CARD);
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

bool TableInput::Key(const QKeyEvent& event) {
  const bool plain = !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  const std::optional<TableKey> key = plain ? TableKeyOf(event.key()) : std::nullopt;
  // H reaches the table only where no menu carries it as its shortcut.
  if (!key && event.key() == Qt::Key_H && plain) {
    Client.RunCommand(CM_HINT);
    return true;
  }
  if (!key) return false;
  View.Picture().FinishGlides();
  TableObjects& table = Owner.Table();
  const uint32_t handSize = table.Deck.IsLaidOut() ? table.Deck.CardsInPile(HUMAN_PILE) : 0;
  if (const std::optional<KeyMove> move = KeyMoveFor(table.State(), View.Focus(), *key, handSize)) {
    table.Flow.NoteHitCard(move->Position);
    Client.RunCommand(move->Command);
    // A taken card joins the hand at its end: the focus follows it there.
    if (move->Command == CM_TAKE_STOCK_CARD || move->Command == CM_TAKE_UPCARD)
      View.FrameFocus({TableFocus::Place::HAND, table.Deck.CardsInPile(HUMAN_PILE) - 1});
    else
      View.FrameFocus(View.Focus());
  } else {
    View.FrameFocus(MoveFocus(View.Focus(), *key, handSize));
  }
  return true;
}

// Master's search runs in slices with the window's events between them; a
// hint asked for again meanwhile, or a table that moved on, drops it.
void TableInput::ShowHint() {
  if (Hinting) return;
  Hinting = true;
  TableObjects& table = Owner.Table();
  const GameState& s = table.State();
  const uint64_t hand = table.Flow.HandSerial();
  const PlayState play = s.Play;
  const std::optional<Hint> hint =
      AdviseHuman(table.Flow, Owner.InstallDirectory() + data_paths::DEFAULT_DATA_FILE, MasterBudget{},
                  [&table] { return table.Flow.KeepThinking(); });
  Hinting = false;
  if (!hint || hand != table.Flow.HandSerial() || play != s.Play || s.Dragging) return;
  TableFocus focus = View.Focus();
  if (hint->Command == CM_TAKE_UPCARD) focus = {TableFocus::Place::UPCARD, 0};
  if (hint->Command == CM_PASS) focus = {TableFocus::Place::UPCARD, 0, true};
  if (hint->Command == CM_TAKE_STOCK_CARD) focus = {TableFocus::Place::STOCK, 0};
  if (hint->Command == CM_DISCARD_THIS_CARD || hint->Command == CM_KNOCK_WITH_THIS_CARD)
    focus = {TableFocus::Place::HAND, hint->Position};
  View.FrameFocus(focus);
  Presenter.ShowNote(QString::fromStdString(HintText(*hint, table.Deck)));
}
