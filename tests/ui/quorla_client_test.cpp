#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <set>

#include "game/meld_marks.h"
#include "game/status_texts.h"
#include "game/table_commands.h"
#include "game/table_geometry.h"
#include "game/table_items.h"
#include "player/data_paths.h"
#include "player/seat_player.h"
#include "store/setting_keys.h"
#include "ui/bmp_file.h"
#include "ui/backdrop_file.h"
#include "ui/quorla_client.h"
#include "ui_test_support.h"
#include "ui/score_sheet_window.h"
#include "ui/table_accessible.h"
#include "ui/table_status_panes.h"
#include "table_scenario.h"

namespace {

namespace fs = std::filesystem;

// A scratch installation with the shipped networks, and a table window in
// it that answers every box with yes and never waits.
struct ClientFixture : ::testing::Test {
  ClientFixture() : Install("ui", QUORLA_DEFAULT_DATA), Root(Install.PlayerDirectory()) {}
  ~ClientFixture() override {
    Client.reset();
  }

  void Open(uint32_t variation = STANDARD_GIN) {
    Settings.Open((Root / "QUORLA.INI").string());
    WriteSetting(*Settings.Store, keys::GinVariation, variation);
    Client = std::make_unique<QuorlaClient>(Settings, Root.string(), Install.Directory());
    Client->SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon, bool) {
      Boxes.push_back(caption + ": " + text);
      return Answer;
    });
    Client->SetWaitFactor(0.0);
    Panes = std::make_unique<TableStatusPanes>(&Bar);
    Client->SetStatusPanes(Panes.get());
    // The table at its own size: presses below go to table pixels as they are.
    Client->resize(576, 384);
    Client->show();
    Client->Table().Seed(4242);
    Client->Start();
    Settle();
  }

  // Lets the table run its idle steps until it waits for the person.
  void Settle() {
    for (int i = 0; i < 20000 && Client->Table().Flow.HasIdleWork() && !State().ClosingRequested; ++i)
      QApplication::processEvents();
  }

  GameState& State() { return TableScenario::State(Client->Table()); }
  NxDeck& Deck() { return Client->Table().Deck; }
  NxTablePicture& Picture() { return Client->Picture(); }
  QPoint At(TPoint p) const { return {p.x + 1, p.y + 1}; }
  QPoint CardCentre(uint32_t pile, uint32_t position) {
    TPoint corner = Deck().Pile(pile).Cards[position]->Position();
    return {corner.x + 10, corner.y + 48};
  }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Client.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Client.get(), (from + to) / 2);
    QTest::mouseMove(Client.get(), to);
    QTest::mouseRelease(Client.get(), Qt::LeftButton, {}, to);
  }
  std::vector<uint32_t> Hand() {
    return Deck().PileCards(HUMAN_PILE);
  }
  // Every card lies in exactly one pile, and none is held.
  void ExpectWholeDeck() {
    std::set<uint32_t> seen;
    for (uint32_t pile = 0; pile < 4; ++pile)
      for (uint32_t i = 0; i < Deck().CardsInPile(pile); ++i) EXPECT_TRUE(seen.insert(Deck().CardIndexAt(pile, i)).second);
    EXPECT_EQ(seen.size(), 52u);
  }

  ScratchInstallation Install;
  // The player configuration's directory, with its trailing '/'.
  fs::path Root;
  GameSettings Settings;
  QStatusBar Bar;
  std::unique_ptr<TableStatusPanes> Panes;
  std::unique_ptr<QuorlaClient> Client;
  std::vector<QString> Boxes;
  bool Answer = true;
};

// Deals until the person begins with the upcard offer.
void DealUntilThePersonBegins(ClientFixture& f) {
  for (int i = 0; i < 50 && !(f.State().Play == HumanTake && f.State().Offer == OFFER_TO_FIRST_PLAYER); ++i) {
    f.Client->RunCommand(CM_NEW_GAME);
    f.Settle();
  }
  ASSERT_EQ(f.State().Play, HumanTake);
  f.Boxes.clear();
}

}  // namespace

TEST_F(ClientFixture, DragsTheUpcardIntoTheHandAndDiscardsOnThePile) {
  Open();
  DealUntilThePersonBegins(*this);
  EXPECT_EQ(Panes->KnockLimitText().left(19), "Max. knock score:  ");
  const uint32_t upcard = Deck().CardIndexAt(DISCARD_PILE, 0);
  // Dropped with its left edge just short of the third card of the eleven
  // the hand holds with it.
  const PileLayout& row = TABLE_PILES[HUMAN_PILE];
  const TPoint third = SpreadCardCorner(row.Position, row.Offset, 2, 11);
  Drag(At({340, 150}), At({third.x - 5, 280}));
  ASSERT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(Hand().size(), 11u);
  EXPECT_EQ(Hand()[2], upcard);
  EXPECT_TRUE(Panes->SelectionText().startsWith("Selection:  "));

  // The card just taken goes back into the hand when dropped on its pile.
  Drag(CardCentre(HUMAN_PILE, 2), At({336, 145}));
  EXPECT_EQ(State().Play, HumanDiscard);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_TRUE(Boxes[0].startsWith("Gin Rummy Rule: Illegal Discard!"));

  // Another card dropped far away returns to its slot; on the pile it is discarded.
  const std::vector<uint32_t> before = Hand();
  Drag(CardCentre(HUMAN_PILE, 0), At({500, 20}));
  EXPECT_EQ(Hand(), before);
  const uint32_t thrown = Hand()[0];
  Drag(CardCentre(HUMAN_PILE, 0), At({340, 150}));
  EXPECT_EQ(Deck().CardIndexAt(DISCARD_PILE, Deck().TopIndex(DISCARD_PILE)), thrown);
  Settle();
  ExpectWholeDeck();
  // The computer's answer is told, and the deadwood pane counts the hand.
  EXPECT_TRUE(Client->MoveLine().startsWith("Computer ")) << Client->MoveLine().toStdString();
  EXPECT_TRUE(Client->HandMoves().contains(Client->MoveLine()));
  EXPECT_EQ(Panes->DeadwoodText().toStdString(), DeadwoodPaneText(Deck()));
}

// A card dropped away from any place glides back to its slot, and the next
// press lands it at once; the hand's melds are marked after every input.
// The Preferences switch both off: nothing glides, nothing is marked.
TEST_F(ClientFixture, CardsGlideAndMeldsAreMarkedOnlyWhileSwitchedOn) {
  Open();
  DealUntilThePersonBegins(*this);
  for (const bool on : {true, false}) {
    Settings.Prefs.ShowMelds = on;
    Settings.Prefs.Animation = on;
    WindowUpdate update;
    update.TablePresentation = true;
    Client->ShowOptionChange(update);
    const std::vector<uint32_t> before = Hand();
    Drag(CardCentre(HUMAN_PILE, 0), At({500, 20}));
    EXPECT_EQ(Hand(), before);
    EXPECT_EQ(Picture().IsGliding(), on);
    EXPECT_EQ(Picture().Marks(), on ? MeldMarks(Deck(), HUMAN_PILE) : CardMarks{});
    if (!on) continue;
    QTest::mousePress(Client.get(), Qt::LeftButton, {}, At({500, 20}));
    EXPECT_FALSE(Picture().IsGliding());
    QTest::mouseRelease(Client.get(), Qt::LeftButton, {}, At({500, 20}));
    Drag(CardCentre(HUMAN_PILE, 0), At({500, 20}));
    QTRY_VERIFY_WITH_TIMEOUT(!Picture().IsGliding(), 2000);
  }
}

TEST_F(ClientFixture, AKnockDropBeforeTakingOnlyRearranges) {
  Open();
  DealUntilThePersonBegins(*this);
  const std::vector<uint32_t> before = Hand();
  Drag(CardCentre(HUMAN_PILE, 4), At({180, 150}));
  EXPECT_EQ(State().Play, HumanTake);
  EXPECT_EQ(Hand(), before);
  EXPECT_EQ(State().Sort, PLAYERS_ORDER);
}

TEST_F(ClientFixture, WatchingAsksAndTurnsTheComputersHand) {
  Open();
  Answer = false;
  Client->RunCommand(CM_WATCH_COMPUTER_HAND);
  EXPECT_FALSE(Client->IsWatching());
  Answer = true;
  Client->RunCommand(CM_WATCH_COMPUTER_HAND);
  EXPECT_TRUE(Client->IsWatching());
  EXPECT_TRUE(Deck().Pile(COMPUTER_PILE).Cards[0]->IsFaceUp());
  Client->RunCommand(CM_WATCH_COMPUTER_HAND);
  EXPECT_FALSE(Deck().Pile(COMPUTER_PILE).Cards[0]->IsFaceUp());
  EXPECT_EQ(Boxes.size(), 2u);
}

// The table fits whatever size the widget gets, centred, at any factor; the
// mouse keeps working in table pixels, and a dragged card is drawn above the
// hand with the place it would land on framed.
TEST_F(ClientFixture, FitsAnySizeAndDragsInTablePixels) {
  Open();
  DealUntilThePersonBegins(*this);
  for (QSize size : {QSize(1152, 768), QSize(1000, 900), QSize(2000, 700), QSize(864, 576)}) {
    Client->resize(size);
    QApplication::processEvents();
    const double s = Client->CompositionScale();
    EXPECT_DOUBLE_EQ(s, std::min(size.width() / 576.0, size.height() / 384.0));
    const QRect place = Client->TablePlace();
    EXPECT_LE(std::abs(place.left() - (size.width() - 1 - place.right())), 1) << size.width();
    EXPECT_LE(std::abs(place.top() - (size.height() - 1 - place.bottom())), 1) << size.width();
    EXPECT_EQ(Client->grab().toImage().size(), size);
  }
  // At 1.5: the upcard taken and held over the hand, then dropped there.
  const double s = Client->CompositionScale();
  const QPoint origin = Client->TablePlace().topLeft();
  auto at = [&](TPoint p) { return origin + QPoint(static_cast<int>((p.x + 0.5) * s), static_cast<int>((p.y + 0.5) * s)); };
  const uint32_t upcard = Deck().CardIndexAt(DISCARD_PILE, 0);
  const PileLayout& row = TABLE_PILES[HUMAN_PILE];
  const TPoint third = SpreadCardCorner(row.Position, row.Offset, 2, 11);
  QTest::mousePress(Client.get(), Qt::LeftButton, {}, at({340, 150}));
  ASSERT_TRUE(Deck().HeldCard());
  QTest::mouseMove(Client.get(), at({250, 250}));
  QTest::mouseMove(Client.get(), at({third.x - 3, 280}));
  EXPECT_EQ(Deck().HeldCard()->Layer(), HELD_LAYER);
  EXPECT_EQ(Picture().Highlight(), TRect::At(third, CARD_SIZE));
  QTest::mouseRelease(Client.get(), Qt::LeftButton, {}, at({third.x - 3, 280}));
  EXPECT_FALSE(Picture().Highlight());
  ASSERT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(Hand()[2], upcard);
  EXPECT_EQ(Deck().Card(upcard)->Position(), third);
  // Over the discard pile with another card, the pile is the place shown.
  QTest::mousePress(Client.get(), Qt::LeftButton, {}, at({third.x - 2 * row.Offset.x + 10, 268 + 48}));
  QTest::mouseMove(Client.get(), at({335 + 10, 144 + 48}));
  EXPECT_EQ(Picture().Highlight(), DISCARD_AREA);
  QTest::mouseRelease(Client.get(), Qt::LeftButton, {}, at({335 + 10, 144 + 48}));
  Settle();
  ExpectWholeDeck();
}

namespace {

// What a screen reader is told, kept by the update handler below.
struct Announcement {
  QAccessible::Event Type;
  int Child;
  QString Name;
};
std::vector<Announcement> Announcements;
void KeepAnnouncement(QAccessibleEvent* event) {
  QAccessibleInterface* iface = event->accessibleInterface();
  Announcements.push_back({event->type(), event->child(), iface ? iface->text(QAccessible::Name) : QString()});
}

}  // namespace

// Drawn at 1.5 times its size in a wider window, the table's children are
// its cards and places where they show on the screen; arrow keys move the
// reader's focus.
TEST_F(ClientFixture, ScreenReadersFindTheCardsAndFollowTheKeyboard) {
  Open();
  DealUntilThePersonBegins(*this);
  Client->resize(964, 576);
  QApplication::processEvents();
  const double scale = Client->CompositionScale();
  ASSERT_DOUBLE_EQ(scale, 1.5);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(Client.get());
  ASSERT_TRUE(table);
  const std::vector<TableItem> items = TableItems(Deck(), Client->Picture().Marks());
  ASSERT_EQ(table->childCount(), static_cast<int>(items.size()));
  for (int i = 0; i < table->childCount(); ++i) {
    const TableItem& item = items[static_cast<size_t>(i)];
    QAccessibleInterface* child = table->child(i);
    ASSERT_TRUE(child && child->isValid());
    EXPECT_EQ(child->text(QAccessible::Name).toStdString(), item.Name);
    EXPECT_EQ(table->indexOfChild(child), i);
    const QPoint centre = child->rect().center();
    EXPECT_EQ(table->childAt(centre.x(), centre.y()), child) << item.Name;
    if (item.What != TableItem::Kind::HAND_CARD && item.What != TableItem::Kind::COMPUTER_CARD) continue;
    // The centre of the card on the screen is on that card of the table.
    const QPoint local = Client->mapFromGlobal(centre) * Client->devicePixelRatioF() - Client->TablePlace().topLeft();
    const TPoint point{static_cast<int32_t>(local.x() / scale), static_cast<int32_t>(local.y() / scale)};
    const uint32_t pile = item.What == TableItem::Kind::HAND_CARD ? HUMAN_PILE : COMPUTER_PILE;
    const std::optional<CardHit> hit = Deck().CardAtPoint(point, pile);
    ASSERT_TRUE(hit) << item.Name;
    EXPECT_EQ(hit->Position, item.Position) << item.Name;
  }
  EXPECT_EQ(table->child(0)->text(QAccessible::Name), "Face-down card, in the computer's hand");

  Client->activateWindow();
  Client->setFocus();
  QApplication::processEvents();
  ListenToTableAnnouncements(KeepAnnouncement);
  Announcements.clear();
  auto press = [&](Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(Client.get(), key);
    Settle();
  };
  auto focused = [&] {
    QAccessibleInterface* child = table->focusChild();
    return child ? child->text(QAccessible::Name).toStdString() : std::string("(none)");
  };
  // A hand card's name ends with the mark drawn on it.
  auto inHand = [&](uint32_t card) {
    const uint8_t mark = Client->Picture().Marks()[card];
    return SpokenCardName(card) + ", in your hand" +
           (mark == NO_MARK ? "" : mark == DEADWOOD_MARK ? ", deadwood" : ", in a meld");
  };
  const std::string first = inHand(Hand()[0]);
  press(Qt::Key_Down);
  press(Qt::Key_Left, 11);
  EXPECT_EQ(focused(), first);
  ASSERT_FALSE(Announcements.empty());
  EXPECT_EQ(Announcements.back().Type, QAccessible::Focus);
  EXPECT_EQ(Announcements.back().Name.toStdString(), first);
  press(Qt::Key_Up);
  EXPECT_EQ(focused(), "Stock, 31 cards");
  const std::string upcard = SpokenCardName(Deck().CardIndexAt(DISCARD_PILE, 0));
  press(Qt::Key_Right);
  EXPECT_EQ(focused(), upcard + ", on the discard pile");
  EXPECT_EQ(Announcements.back().Name.toStdString(), upcard + ", on the discard pile");
  // Taking the upcard moves the focus onto it at the hand's end.
  const size_t before = Announcements.size();
  press(Qt::Key_Return);
  ASSERT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(focused(), inHand(Deck().CardIndexAt(HUMAN_PILE, Deck().CardsInPile(HUMAN_PILE) - 1)));
  EXPECT_EQ(focused().rfind(upcard + ", in your hand", 0), 0u);
  ASSERT_GT(Announcements.size(), before);
  EXPECT_EQ(Announcements.back().Type, QAccessible::Focus);
  EXPECT_EQ(Announcements.back().Child, table->indexOfChild(table->focusChild()));
  ListenToTableAnnouncements(nullptr);
}

// A person who plays only with the mouse: presses, moves and releases on
// the widget, choosing moves as the simple strategy would.
TEST_F(ClientFixture, WholeGamesPlayedWithTheMouseOnly) {
  Open();
  uint32_t games = 0, steps = 0;
  while (games < 2 && ++steps < 4000) {
    Settle();
    GameState& s = State();
    if (s.Play == Learning || s.HandOver) {
      if (Client->Table().Record.GameOver) {
        ++games;
        Client->RunCommand(CM_NEW_GAME);
      } else {
        Client->RunCommand(CM_NEXT_HAND);
      }
      continue;
    }
    const SeatMove move = SimplePlayer().Choose(Client->Table().Flow);
    switch (move.What) {
      case SeatMove::PASS: Client->RunCommand(CM_PASS); break;
      case SeatMove::TAKE_UPCARD: Drag(At({340, 150}), At({450, 300})); break;
      case SeatMove::TAKE_STOCK: Drag(At({260, 150}), At({450, 300})); break;
      // Cards are held 10 pixels from their left edge and halfway down.
      case SeatMove::DISCARD: Drag(CardCentre(HUMAN_PILE, move.Position), QPoint(335 + 10, 144 + 48)); break;
      case SeatMove::KNOCK: Drag(CardCentre(HUMAN_PILE, move.Position), QPoint(173 + 10, 144 + 48)); break;
      case SeatMove::NONE: break;
    }
    ExpectWholeDeck();
  }
  EXPECT_EQ(games, 2u);
}

TEST_F(ClientFixture, RightButtonMenuForTheClick) {
  Open();
  DealUntilThePersonBegins(*this);
  QStringList items;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) items << (action->isSeparator() ? "|" : action->text());
    menu->close();
  });
  QTest::mouseClick(Client.get(), Qt::RightButton, {}, At({340, 150}));
  ASSERT_GE(items.size(), 5);
  EXPECT_EQ(items[0], "Take &Upcard");
  EXPECT_EQ(items[1], "&Pass");
  EXPECT_EQ(items[2], "|");
  EXPECT_TRUE(items.contains("&New Game"));
  EXPECT_FALSE(items.contains("Take &Stock Card"));  // the offer comes first
}

TEST_F(ClientFixture, NewGameDuringTheComputersWaitAbandonsItsMove) {
  Open();
  for (int i = 0; i < 50 && State().Play != ComputerTake; ++i) {
    Client->SetWaitFactor(0.0);
    Client->RunCommand(CM_NEW_GAME);
    if (State().Play != ComputerTake) Settle();
  }
  ASSERT_EQ(State().Play, ComputerTake);
  State().Offer = FIRST_PLAYER_TAKES_STOCK;  // it must draw: a take with waits
  Client->SetWaitFactor(0.2);                // 200 ms before the computer shows its card
  std::vector<uint32_t> dealt;
  QTimer::singleShot(50, [&] {
    Client->RunCommand(CM_NEW_GAME);
    dealt = Deck().PileCards(COMPUTER_PILE);
  });
  // The idle step: the computer starts its take and waits.
  for (int i = 0; i < 100 && dealt.empty(); ++i) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  ASSERT_FALSE(dealt.empty());
  EXPECT_EQ(Deck().PileCards(COMPUTER_PILE), dealt);  // nothing moved after the new deal
  ExpectWholeDeck();
}

TEST_F(ClientFixture, ClosingWhileTheComputerThinksCompletesItsMoveAndAsksAgain) {
  Open();
  for (int i = 0; i < 50 && State().Play != ComputerTake; ++i) {
    Client->RunCommand(CM_NEW_GAME);
    if (State().Play != ComputerTake) Settle();
  }
  ASSERT_EQ(State().Play, ComputerTake);
  State().Offer = FIRST_PLAYER_TAKES_STOCK;
  Client->SetWaitFactor(1000.0);  // a wait of over a quarter of an hour: only the close can end it
  bool repeated = false;
  QObject::connect(Client.get(), &QuorlaClient::CloseRequested, [&] { repeated = true; });
  QTimer::singleShot(20, [&] { EXPECT_FALSE(Client->RequestClose()); });
  for (int i = 0; i < 1000 && !repeated; ++i) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_TRUE(repeated);
  EXPECT_TRUE(Client->RequestClose());
  EXPECT_EQ(Deck().CardsInPile(COMPUTER_PILE), State().Play == ComputerDiscard ? 11u : 10u);
  Client->SaveOnClose();
  EXPECT_TRUE(fs::exists(Root / "RESUME.QLF"));
}

TEST_F(ClientFixture, ScenerySavedAndShownDamagedBackdropFallsBackToPlain) {
  // A damaged backdrop file at start-up: its message, and the plain purple table.
  std::ofstream(Root / "BACKIMG.QLF") << "BM garbage";
  Open();
  Client->ShowStartupNotes();
  ASSERT_FALSE(Boxes.empty());
  EXPECT_TRUE(Boxes.back().startsWith("Quorla Backdrop Scenery Error: ")) << Boxes.back().toStdString();
  EXPECT_TRUE(Boxes.back().endsWith(". Using default backdrop instead. The damaged file has been kept as " +
                                     QString::fromStdString((Root / "BACKIMG.QLF.damaged").string()) + "."));
  const QImage plain = Client->grab().toImage();
  EXPECT_EQ(plain.pixelColor(20, 200), QColor(128, 0, 128));

  // Chosen scenery is stretched, written as the configuration's backdrop and shown.
  const fs::path picture = Root / "sky.bmp";
  const std::vector<uint8_t> bytes = EncodeBmp24(NxBitmap(100, 50, 0x003060C0));
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  Client->ChooseSceneryFrom(picture.string());
  EXPECT_EQ(Client->grab().toImage().pixelColor(20, 200), QColor(0x30, 0x60, 0xC0));
  EXPECT_TRUE(fs::exists(Root / "BACKIMG.QLF"));
  EXPECT_EQ(ReadBmpFile((Root / "BACKIMG.QLF").string()).Cause, nullptr);
}

TEST_F(ClientFixture, ClosedGameIsOfferedAgainAndResumesWhereItStopped) {
  Open();
  DealUntilThePersonBegins(*this);
  Drag(At({340, 150}), At({450, 300}));  // the upcard into the hand
  ASSERT_EQ(State().Play, HumanDiscard);
  const std::vector<uint32_t> hand = Hand();
  EXPECT_FALSE(Client->IsCommandEnabled(CM_RESUME_GAME));
  EXPECT_FALSE(Client->RequestClose());
  Settle();
  EXPECT_TRUE(Client->RequestClose());
  Client->SaveOnClose();
  Client.reset();

  Answer = false;
  Open();  // a new run asks; after a no a new game is dealt, and the saved one is offered
  Answer = true;
  EXPECT_TRUE(Client->IsCommandEnabled(CM_RESUME_GAME));
  Client->RunCommand(CM_RESUME_GAME);
  EXPECT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(Hand(), hand);
  EXPECT_FALSE(Client->IsCommandEnabled(CM_RESUME_GAME));  // one attempt per run
  ExpectWholeDeck();
}

TEST_F(ClientFixture, AWholeHandIsPlayedWithTheKeyboardAlone) {
  Open();
  Client->setFocus();
  auto press = [&](Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(Client.get(), key);
    Settle();
  };
  for (int turn = 0; turn < 200 && !State().HandOver; ++turn) {
    if (State().Play == HumanTake && turn % 3 == 1) {
      // The hint frames what it advises, and Enter does it: a take, or a
      // pass with the frame on the upcard.
      const OfferStage offer = State().Offer;
      press(Qt::Key_H);
      press(Qt::Key_Return);
      EXPECT_TRUE(State().Play != HumanTake || State().Offer != offer) << "Enter did not follow the hint";
    } else if (State().Play == HumanTake) {
      press(Qt::Key_Up);
      if (PassAllowed(State().Offer)) {
        press(Qt::Key_P);
      } else {
        press(Qt::Key_Left);  // the stock
        press(Qt::Key_Return);
        ASSERT_EQ(State().Play, HumanDiscard) << "the stock card was not taken";
      }
    } else if (State().Play == HumanDiscard) {
      const size_t before = Hand().size();
      if (turn % 2) {
        press(Qt::Key_H);  // the hint frames the card to throw
      } else {
        press(Qt::Key_Down);
        press(Qt::Key_Left, 11);  // the first card of the hand
      }
      if (turn < 3) SaveShot(Rendered(*Client, 1), QStringLiteral("keyboard_focus.png"));
      press(Qt::Key_Return);
      ASSERT_EQ(Hand().size(), before - 1) << "no card was discarded";
    } else {
      Settle();
    }
  }
  EXPECT_TRUE(State().HandOver);
  ExpectWholeDeck();
}
