#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "game/deck.h"
#include "game/keyboard_play.h"
#include "game/status_texts.h"
#include "game/table_geometry.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/table_items.h"
#include "game/text_ids.h"
#include "test_hands.h"

namespace {

std::string Menu(const GameState& state, ClickTarget target, bool sheetShown = false, bool gameOver = false) {
  std::string text;
  for (uint32_t item : PopupMenuFor({state, true, sheetShown, gameOver}, target))
    text += item == MENU_SEPARATOR ? std::string("|") : std::string(ResourceString(PopupTextId(item))) + ";";
  return text;
}

}  // namespace

TEST(TableCommands, PopupMenuForTheMomentOfTheClick) {
  GameState s;
  s.Play = HumanTake;
  s.Offer = OFFER_TO_FIRST_PLAYER;
  s.Sort = SORTED_BY_VALUE;
  EXPECT_EQ(Menu(s, ClickTarget::DISCARD_PILE), "Take &Upcard;&Pass;|Sort Hand by Sui&t;Sort Hand by Me&lds;|&New Game;Game S&core;");
  // The stock cannot be taken during the offer.
  EXPECT_EQ(Menu(s, ClickTarget::STOCK), "&Pass;|Sort Hand by Sui&t;Sort Hand by Me&lds;|&New Game;Game S&core;");

  s.Offer = FIRST_PLAYER_TAKES_STOCK;
  s.Sort = PLAYERS_ORDER;
  EXPECT_EQ(Menu(s, ClickTarget::STOCK),
            "Take &Stock Card;|Sort Hand by &Value;Sort Hand by Sui&t;Sort Hand by Me&lds;|&New Game;Game S&core;");
  EXPECT_EQ(Menu(s, ClickTarget::DISCARD_PILE), "Sort Hand by &Value;Sort Hand by Sui&t;Sort Hand by Me&lds;|&New Game;Game S&core;");

  s.Play = HumanDiscard;
  s.Offer = NORMAL_PLAY;
  s.Sort = SORTED_BY_SUIT;
  EXPECT_EQ(Menu(s, ClickTarget::HAND_CARD, true),
            "&Discard this Card;&Knock with this Card;|Sort Hand by &Value;Sort Hand by Me&lds;|&New Game;");
  // Over an empty area the discard and knock items are left out.
  EXPECT_EQ(Menu(s, ClickTarget::NOTHING, true), "Sort Hand by &Value;Sort Hand by Me&lds;|&New Game;");

  s.Play = Learning;
  s.HandOver = true;
  EXPECT_EQ(Menu(s, ClickTarget::HAND_CARD), "Next &Hand;|&New Game;Game S&core;");
  EXPECT_EQ(Menu(s, ClickTarget::HAND_CARD, false, true), "&New Game;Game S&core;");
}

TEST(TableCommands, EnablingFollowsTheGameState) {
  GameState s;
  s.Play = ComputerTake;
  s.Offer = OFFER_TO_DEALER;
  TableSituation t{s, true, false, false};
  EXPECT_FALSE(IsCommandEnabled(CM_PASS, t));  // the computer's turn to take
  s.Play = HumanTake;
  EXPECT_TRUE(IsCommandEnabled(CM_PASS, t));
  s.Offer = FIRST_PLAYER_TAKES_STOCK;
  EXPECT_FALSE(IsCommandEnabled(CM_PASS, t));

  EXPECT_FALSE(IsCommandEnabled(CM_NEXT_HAND, t));
  s.HandOver = true;
  EXPECT_TRUE(IsCommandEnabled(CM_NEXT_HAND, t));
  EXPECT_FALSE(IsCommandEnabled(CM_NEXT_HAND, {s, true, false, true}));  // the game is over
  EXPECT_FALSE(IsCommandEnabled(CM_NEXT_HAND, {s, false, false, false}));
  EXPECT_FALSE(IsCommandEnabled(CM_SORT_BY_VALUE, t));  // nothing to sort after the hand

  s.HandOver = false;
  s.Sort = SORTED_BY_VALUE;
  EXPECT_FALSE(IsCommandEnabled(CM_SORT_BY_VALUE, t));
  EXPECT_TRUE(IsCommandEnabled(CM_SORT_BY_SUIT, t));
  EXPECT_TRUE(IsCommandEnabled(CM_SCORE, t));
  EXPECT_FALSE(IsCommandEnabled(CM_SCORE, {s, true, true, false}));
  for (uint32_t always : {CM_NEW_GAME, CM_STATISTICS, CM_WATCH_COMPUTER_HAND}) EXPECT_TRUE(IsCommandEnabled(always, t));
  EXPECT_TRUE(IsCommandEnabled(CM_SCENERY, t));
  t.SceneryDisabled = true;
  EXPECT_FALSE(IsCommandEnabled(CM_SCENERY, t));
}

TEST(TableCommands, EveryCommandHasItsTexts) {
  for (uint32_t command : {CM_NEXT_HAND, CM_NEW_GAME, CM_SCORE, CM_STATISTICS, CM_PASS, CM_SORT_BY_VALUE,
                           CM_SORT_BY_SUIT, CM_WATCH_COMPUTER_HAND}) {
    EXPECT_STRNE(ResourceString(command), "") << command;
    EXPECT_STRNE(ResourceString(CommandHintId(command)), "") << command;
  }
  for (uint32_t command : {CM_TAKE_STOCK_CARD, CM_TAKE_UPCARD, CM_DISCARD_THIS_CARD, CM_KNOCK_WITH_THIS_CARD})
    EXPECT_STRNE(ResourceString(PopupTextId(command)), "") << command;
  EXPECT_STREQ(ResourceString(CommandHintId(CM_PASS)), "Let Opponent Take First Discard");
  EXPECT_STREQ(ResourceString(KNOCK_LIMIT_LABEL), "Max. knock score:  ");
}

// Read from the header itself, so that a name without a text, a second name
// for an id or a text without a name is caught whichever is added.
TEST(TableCommands, EveryTextIdHasOneNameAndEveryNameATextId) {
  std::ifstream header(QUORLA_TEXT_IDS_HEADER);
  const std::string source((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
  const std::regex entry(R"(\n  [A-Z][A-Z0-9_]* = (\d+),)");
  std::set<uint32_t> named;
  size_t names = 0;
  for (std::sregex_iterator it(source.begin(), source.end(), entry), end; it != end; ++it, ++names)
    named.insert(static_cast<uint32_t>(std::stoul((*it)[1])));
  EXPECT_EQ(named.size(), names) << "an id with two names";
  ASSERT_GT(names, 200u);
  // The menu texts below the ranks are named by their commands.
  EXPECT_EQ(*named.begin(), RANK_ACE_TEXT);
  for (uint32_t id = RANK_ACE_TEXT; id <= 0xFFFF; ++id)
    EXPECT_EQ(*ResourceString(id) != '\0', named.count(id) == 1) << id;
}

TEST(TableCommands, DropRulesAtTheirBoundaries) {
  GameState s;
  s.Play = HumanDiscard;
  auto at = [](int32_t left, int32_t top) { return TRect::At({left, top}, {69, 96}); };
  // 30 % of the discard pile is 1987.2 square pixels: 21 columns of 96 cover it, 20 do not.
  EXPECT_EQ(ReleaseAction(s, at(335 + 69 - 21, 144)), DropAction::DISCARD);
  EXPECT_EQ(ReleaseAction(s, at(335 + 69 - 20, 144)), DropAction::BACK_INTO_HAND);
  // Half a card (3312) of the knock area: 35 columns knock, 34 do not.
  EXPECT_EQ(ReleaseAction(s, at(173 + 69 - 35, 144)), DropAction::KNOCK);
  EXPECT_EQ(ReleaseAction(s, at(173 + 69 - 34, 144)), DropAction::BACK_INTO_HAND);
  // The upcard just taken is never discarded by a drop on its own pile.
  s.DragFromDiscard = true;
  EXPECT_EQ(ReleaseAction(s, at(335, 144)), DropAction::BACK_INTO_HAND);
  // Before a card is taken, a drop on the knock area only rearranges.
  s.DragFromDiscard = false;
  s.Play = HumanTake;
  EXPECT_EQ(ReleaseAction(s, at(173, 144)), DropAction::BACK_INTO_HAND);
  EXPECT_EQ(ReleaseAction(s, at(335, 144)), DropAction::BACK_INTO_HAND);

  // The place shown while the card hovers agrees with the release: the
  // pile or knock area only where a release there discards or knocks,
  // otherwise the hand's slot the card then lands in, at ten cards and at
  // eleven, whose row stands wider.
  const PileLayout& row = TABLE_PILES[HUMAN_PILE];
  for (uint32_t cards : {10u, 11u}) {
    SCOPED_TRACE(cards);
    NxDeck deck(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
    deck.Shuffle();
    deck.Deal(HUMAN_PILE, cards, row.Position, row.Offset, row.BaseLayer, true);
    deck.PickUp(HUMAN_PILE, 4);
    s.Play = HumanTake;
    s.DragFromDiscard = false;
    EXPECT_EQ(DropPlace(s, deck, at(335, 144)), std::nullopt);
    s.Play = HumanDiscard;
    EXPECT_EQ(DropPlace(s, deck, at(335 + 69 - 21, 144)), DISCARD_AREA);
    EXPECT_EQ(DropPlace(s, deck, at(173 + 69 - 35, 144)), KNOCK_AREA);
    s.DragFromDiscard = true;  // the upcard just taken neither discards nor knocks
    EXPECT_EQ(DropPlace(s, deck, at(173, 144)), std::nullopt);
    // Over the second card, a little above the row: the third slot.
    const TPoint second = deck.Pile(HUMAN_PILE).CardAt(1)->Position();
    const TRect over = at(second.x + 5, second.y - 6);
    EXPECT_EQ(DropPlace(s, deck, at(second.x + 5, 20)), std::nullopt);
    const std::optional<TRect> place = DropPlace(s, deck, over);
    const uint32_t held = deck.HeldCardIndex();
    deck.Drag({over.left, over.top}, true);
    deck.Drop();
    EXPECT_EQ(deck.PositionOf(HUMAN_PILE, held), 2u);
    EXPECT_EQ(place, deck.Card(held)->Rect());
  }
}

TEST(TableCommands, WhatALeftPressStarts) {
  GameState s;
  s.Play = HumanTake;
  s.Offer = OFFER_TO_FIRST_PLAYER;
  EXPECT_EQ(LeftPressAction(s, ClickTarget::STOCK), PressAction::NOTHING);  // the offer comes first
  EXPECT_EQ(LeftPressAction(s, ClickTarget::DISCARD_PILE), PressAction::TAKE_UPCARD);
  s.Offer = FIRST_PLAYER_TAKES_STOCK;
  EXPECT_EQ(LeftPressAction(s, ClickTarget::STOCK), PressAction::TAKE_STOCK_CARD);
  EXPECT_EQ(LeftPressAction(s, ClickTarget::DISCARD_PILE), PressAction::NOTHING);  // both passed
  s.Play = ComputerDiscard;  // the hand can be rearranged while the computer plays
  EXPECT_EQ(LeftPressAction(s, ClickTarget::HAND_CARD), PressAction::PICK_UP_HAND_CARD);
  EXPECT_EQ(LeftPressAction(s, ClickTarget::STOCK), PressAction::NOTHING);
  s.HandOver = true;
  EXPECT_EQ(LeftPressAction(s, ClickTarget::HAND_CARD), PressAction::NOTHING);
}

// Enter on the upcard takes it, unless the hint "pass" put the frame there;
// the frame moved away and back takes again, and so does a moment that
// allows no pass.
TEST(TableCommands, EnterOnTheUpcardPassesOnlyWhereTheHintSaidPass) {
  GameState s;
  s.Play = HumanTake;
  s.Offer = OFFER_TO_FIRST_PLAYER;
  const TableFocus hinted{TableFocus::Place::UPCARD, 0, true};
  auto enter = [&s](const TableFocus& focus) { return KeyMoveFor(s, focus, TableKey::ACTIVATE, 10)->Command; };
  EXPECT_EQ(enter(hinted), uint32_t{CM_PASS});
  const TableFocus moved = MoveFocus(MoveFocus(hinted, TableKey::LEFT, 10), TableKey::RIGHT, 10);
  EXPECT_EQ(moved.Where, TableFocus::Place::UPCARD);
  EXPECT_EQ(enter(moved), uint32_t{CM_TAKE_UPCARD});
  s.Offer = NORMAL_PLAY;
  EXPECT_EQ(enter(hinted), uint32_t{CM_TAKE_UPCARD});
}

TEST(StatusTexts, SelectionAndKnockLimitPanes) {
  EXPECT_EQ(SelectionPaneText(SELECT_NOTHING, NoCard), "Selection:  ");
  EXPECT_EQ(SelectionPaneText(SELECT_STOCK_CARD, NoCard), "Selection:  stock");
  EXPECT_EQ(SelectionPaneText(SELECT_KNOWN_CARD, 13 + 9), "Selection:  10\u2666");   // ten of diamonds
  EXPECT_EQ(SelectionPaneText(SELECT_KNOWN_CARD, 3 * 13 + 12), "Selection:  K\u2663");  // king of clubs
  EXPECT_EQ(KnockLimitPaneText(7), "Max. knock score:  7");
}

TEST(TableItems, SpokenCardNames) {
  EXPECT_EQ(SpokenCardName(6), "Seven of hearts");
  EXPECT_EQ(SpokenCardName(MakeCard(CLUBS, 12)), "King of clubs");
  EXPECT_EQ(SpokenCardName(NoCard), "");
  // Before the first deal only the places are there.
  const NxDeck fresh(TABLE_PILE_COUNT, 0, TABLE_AREA, CARD_SIZE);
  std::vector<std::string> names;
  for (const TableItem& item : TableItems(fresh)) names.push_back(item.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Knock area", "Stock, 0 cards", "Discard pile, empty"}));
}

// Over many deals, with the computer's hand shown or not, a card held, the
// discard pile emptied, the stock run down and the melds marked or not:
// every card and place is named once, and the part each names is where a
// click finds that card and what the keyboard's frame takes in.
TEST(TableItems, EveryCardAndPlaceIsNamedWhereItShows) {
  using Kind = TableItem::Kind;
  for (int32_t seed = 1; seed <= 80; ++seed) {
    SCOPED_TRACE(seed);
    auto deck = DealtTableDeck(seed);
    const bool watching = seed % 2 == 0;
    if (watching) deck->SetPileFace(COMPUTER_PILE, true);
    if (seed % 5 == 0) deck->MoveCard(DISCARD_PILE, 0, HUMAN_PILE, true);
    if (seed % 7 == 0)
      while (deck->CardsInPile(STOCK_PILE) > 1) deck->MoveCard(STOCK_PILE, 0, DISCARD_PILE, true);
    const bool holding = seed % 3 == 0;
    uint32_t heldCard = NoCard;
    if (holding) {
      deck->PickUp(HUMAN_PILE, static_cast<uint32_t>(seed) % deck->CardsInPile(HUMAN_PILE));
      heldCard = deck->HeldCardIndex();
      deck->Drag({300, 30}, false);
    }
    const CardMarks marks = seed % 4 == 1 ? MeldMarks(*deck, HUMAN_PILE) : CardMarks{};
    const std::vector<TableItem> items = TableItems(*deck, marks);

    std::map<Kind, int> counts;
    for (const TableItem& item : items) {
      ++counts[item.What];
      const TPoint centre{(item.Rect.left + item.Rect.right) / 2, (item.Rect.top + item.Rect.bottom) / 2};
      if (item.What == Kind::HAND_CARD || item.What == Kind::COMPUTER_CARD) {
        const uint32_t pile = item.What == Kind::HAND_CARD ? HUMAN_PILE : COMPUTER_PILE;
        const uint32_t card = deck->CardIndexAt(pile, item.Position);
        const std::optional<CardHit> hit = deck->CardAtPoint(centre, pile);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->Position, item.Position) << item.Name;
        // The keyboard's frame takes in the same part, never a neighbour's index.
        if (pile == HUMAN_PILE) {
          EXPECT_TRUE(FocusRect(*deck, {TableFocus::Place::HAND, item.Position}) == item.Rect);
        }
        const std::string face = pile == HUMAN_PILE || watching ? SpokenCardName(card) : "Face-down card";
        const std::string mark = marks[card] == NO_MARK         ? ""
                                 : marks[card] == DEADWOOD_MARK ? ", deadwood"
                                                                : ", in a meld";
        EXPECT_EQ(item.Name, face + (pile == HUMAN_PILE ? ", in your hand" + mark : ", in the computer's hand"));
      } else if (item.What == Kind::STOCK) {
        const uint32_t left = deck->CardsInPile(STOCK_PILE);
        EXPECT_EQ(item.Name, "Stock, " + std::to_string(left) + (left == 1 ? " card" : " cards"));
        EXPECT_TRUE(deck->CardAtPoint(centre, STOCK_PILE));
      } else if (item.What == Kind::DISCARD_PILE) {
        const int32_t top = deck->TopIndex(DISCARD_PILE);
        EXPECT_EQ(item.Name, top < 0 ? "Discard pile, empty"
                                     : SpokenCardName(deck->CardIndexAt(DISCARD_PILE, top)) + ", on the discard pile");
      } else if (item.What == Kind::HELD_CARD) {
        EXPECT_EQ(item.Name, SpokenCardName(heldCard) + ", held");
        EXPECT_TRUE(deck->HeldCard()->HitTest(centre));
      } else {
        EXPECT_EQ(item.Name, "Knock area");
      }
    }
    EXPECT_EQ(counts[Kind::HAND_CARD], static_cast<int>(deck->CardsInPile(HUMAN_PILE)));
    EXPECT_EQ(counts[Kind::COMPUTER_CARD], 10);
    EXPECT_EQ(counts[Kind::HELD_CARD], holding ? 1 : 0);
    EXPECT_EQ(counts[Kind::STOCK] + counts[Kind::DISCARD_PILE] + counts[Kind::KNOCK_AREA], 3);

    // The keyboard's focus lands on the item of its card, and on none past the hand.
    const uint32_t last = deck->CardsInPile(HUMAN_PILE) - 1;
    EXPECT_EQ(items[FocusedItem(items, {TableFocus::Place::HAND, last}).value()].Name.rfind(
                  SpokenCardName(deck->CardIndexAt(HUMAN_PILE, last)) + ", in your hand", 0),
              0u);
    EXPECT_FALSE(FocusedItem(items, {TableFocus::Place::HAND, last + 1}));
  }
}
