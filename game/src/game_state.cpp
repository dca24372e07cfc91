#include "game/game_state.h"

#include "game/object_stream.h"
#include "game/text_ids.h"

namespace {
bool IsPlayer(uint32_t value) { return value < 2; }
bool IsCardOrNone(uint32_t value) { return IsCard(value) || value == NoCard; }
// The flow shows its status texts in the main pane; a saved game holds one.
bool IsStatusText(uint32_t id) {
  return id == NO_STATUS_TEXT || (id >= PLEASE_KNOCK_OR_DISCARD && id <= STOCK_TIE);
}

// What the scoring of one hand can produce (points and difference stay 0
// before the first hand and after a tie).
bool IsHandResult(int32_t points, int32_t difference) {
  return points >= 0 && points <= MAX_HAND_POINTS && difference >= 0 && difference <= MAX_DEADWOOD;
}
}  // namespace

void GameState::WriteFlowFields(NxObjectWriter& out) const {
  out.WriteWord(Play);
  out.WriteWord(KnockLimit);
  out.WriteWord(Dealer);
  out.WriteWord(PreviousDealer);
  out.WriteWord(Offer);
  out.WriteWord(UpcardTaken);
  out.WriteInt(Difference);
  out.WriteInt(Points);
  out.WriteBool(HandOver);
  out.WriteBool(Gin);
  out.WriteBool(Undercut);
  out.WriteBool(StockExhausted);
  out.WriteDouble(HumanOutcome);
  out.WriteDouble(ComputerOutcome);
  out.WriteWord(CardBackId);
  out.WriteWord(Variation);
  out.WriteBool(AceRequiresGin);
  out.WriteWord(GameTarget);
  out.WriteWord(StatusTextId);
  out.WriteWord(Selection);
  out.WriteWord(SelectionCard);
  out.WriteBool(Watching);
}

bool GameState::ReadFlowFields(NxObjectReader& in) {
  GameState read;
  uint32_t play = in.ReadWord();
  read.KnockLimit = in.ReadWord();
  read.Dealer = in.ReadWord();
  read.PreviousDealer = in.ReadWord();
  uint32_t offer = in.ReadWord();
  read.UpcardTaken = in.ReadWord();
  read.Difference = in.ReadInt();
  read.Points = in.ReadInt();
  read.HandOver = in.ReadBool();
  read.Gin = in.ReadBool();
  read.Undercut = in.ReadBool();
  read.StockExhausted = in.ReadBool();
  read.HumanOutcome = in.ReadDouble();
  read.ComputerOutcome = in.ReadDouble();
  read.CardBackId = in.ReadWord();
  read.Variation = in.ReadWord();
  read.AceRequiresGin = in.ReadBool();
  read.GameTarget = in.ReadWord();
  read.StatusTextId = in.ReadWord();
  uint32_t selection = in.ReadWord();
  read.SelectionCard = in.ReadWord();
  read.Watching = in.ReadBool();
  if (!in.Good()) return false;

  const bool valid = play <= HandEnded && offer <= NORMAL_PLAY && IsPlayer(read.Dealer) &&
                     IsPlayer(read.PreviousDealer) && IsCardOrNone(read.UpcardTaken) &&
                     read.CardBackId >= FIRST_CARD_BACK_ID && read.CardBackId <= LAST_CARD_BACK_ID &&
                     read.Variation <= OKLAHOMA_GIN && IsValidGameTarget(read.GameTarget) &&
                     (selection == SELECT_NOTHING || selection == SELECT_STOCK_CARD || selection == SELECT_KNOWN_CARD) &&
                     IsCardOrNone(read.SelectionCard) && !(read.Gin && read.Undercut);
  if (!valid) {
    in.Fail("game state out of range");
    return false;
  }
  // Learning trains on these values: nothing the game cannot produce may pass.
  if (!IsHandResult(read.Points, read.Difference)) {
    in.Fail("hand result out of range");
    return false;
  }
  if (!IsLearningTarget(read.HumanOutcome) || !IsLearningTarget(read.ComputerOutcome)) {
    in.Fail("hand outcome out of range");
    return false;
  }
  if (!IsStatusText(read.StatusTextId)) {
    in.Fail("status text out of range");
    return false;
  }
  Play = static_cast<PlayState>(play);
  KnockLimit = read.KnockLimit;
  Dealer = read.Dealer;
  PreviousDealer = read.PreviousDealer;
  Offer = static_cast<OfferStage>(offer);
  UpcardTaken = read.UpcardTaken;
  Difference = read.Difference;
  Points = read.Points;
  HandOver = read.HandOver;
  Gin = read.Gin;
  Undercut = read.Undercut;
  StockExhausted = read.StockExhausted;
  HumanOutcome = read.HumanOutcome;
  ComputerOutcome = read.ComputerOutcome;
  CardBackId = read.CardBackId;
  Variation = read.Variation;
  AceRequiresGin = read.AceRequiresGin;
  GameTarget = read.GameTarget;
  StatusTextId = read.StatusTextId;
  Selection = static_cast<SelectionKind>(selection);
  SelectionCard = read.SelectionCard;
  Watching = read.Watching;
  return true;
}

void GameState::WriteSheetFields(NxObjectWriter& out) const {
  out.WriteBool(ScoreSheetShown);
  out.WriteWord(LaidOff.Count);
  out.WriteWord(LaidOff.Player);
  for (uint32_t i = 0; i < LaidOff.Count; ++i) out.WriteWord(LaidOff.Cards[i]);
}

bool GameState::ReadSheetFields(NxObjectReader& in) {
  bool shown = in.ReadBool();
  LaidOffList list;
  list.Count = in.ReadWord();
  list.Player = in.ReadWord();
  if (in.Good() && (list.Count > MAX_LAID_OFF || !IsPlayer(list.Player))) in.Fail("laid-off list out of range");
  for (uint32_t i = 0; i < list.Count && in.Good(); ++i) {
    list.Cards[i] = in.ReadWord();
    if (in.Good() && !IsCard(list.Cards[i])) in.Fail("laid-off card out of range");
  }
  if (!in.Good()) return false;
  ScoreSheetShown = shown;
  LaidOff = list;
  return true;
}
