// quorla-screenshot: deals a game on the offscreen platform and saves a
// picture of the window, for the README and for looking at the table at
// another scale without a display. It also reports how long the window
// took from start to its first painted table, and the cost of one drag step.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/window_update.h"
#include "player/data_paths.h"
#include "player/seat_player.h"
#include "store/setting_keys.h"
#include "game/hand_end_view.h"
#include "game/table_items.h"
#include "ui/score_sheet_window.h"
#include "ui/install_places.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"

namespace {

QtMessageHandler StandardHandler = nullptr;

// The offscreen platform says so each time a window asks it for size hints;
// a picture taken without a display has no use for them, and the note would
// bury what the tool itself reports.
void QuietAboutSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (StandardHandler) StandardHandler(type, context, message);
}

int Usage(int status) {
  std::fprintf(status ? stderr : stdout,
               "usage: quorla-screenshot OUT.png [--scale 1..3, also 1.5 or 2.5] [--moves 0|1|2] [--seed S]\n"
               "                         [--size WxH]\n"
               "Deals a game in a scratch copy of the installation on the offscreen platform and saves\n"
               "the window as a PNG at the given device pixel ratio (default 1). --moves 1 drags the\n"
               "upcard or a stock card into the hand first; --moves 2 plays the whole hand with the\n"
               "simple strategy and also saves the score sheet as OUT-sheet.png. Prints the time to\n"
               "the first painted table and the cost of one drag step. --seed S (1..714024) deals the\n"
               "same cards every time, for comparing pictures of two builds. --size WxH (each\n"
               "200..4000 window pixels) gives the window that size instead of the table's own,\n"
               "to see what it shows around a table of another shape.\n");
  return status;
}

// Plays the asked moves on the started table and saves its picture; the
// status the tool ends with.
int PictureTheTable(QuorlaFrame& frame, QuorlaClient* table, int moves, const std::string& out,
                    const QElapsedTimer& clock, bool sizeGiven) {
  for (int i = 0; i < 1000 && table->Table().Flow.HasIdleWork(); ++i) QApplication::processEvents();
  QPixmap first = frame.grab();
  std::printf("start to first painted table: %.1f ms\n", clock.nsecsElapsed() / 1e6);

  const GameState& state = table->Table().State();
  if (moves > 0 && state.Play == HumanTake) {
    const QPoint from = state.Offer == FIRST_PLAYER_TAKES_STOCK ? QPoint(260, 150) : QPoint(340, 150);
    QTest::mousePress(table, Qt::LeftButton, {}, from);
    QTest::mouseMove(table, QPoint(300, 300));
    QTest::mouseRelease(table, Qt::LeftButton, {}, QPoint(300, 300));
  }
  // One drag step: a mouse move with a held card, composed and painted.
  NxDeck& deck = table->Table().Deck;
  if (deck.CardsInPile(HUMAN_PILE) > 0) {
    // The hand's first card, wherever the hand stands at its count.
    const TRect first = ShownPart(deck.Pile(HUMAN_PILE), 0);
    const QPoint grip((first.left + first.right) / 2, first.top + 32);
    QTest::mousePress(table, Qt::LeftButton, {}, grip);
    const int steps = 400;
    QElapsedTimer drag;
    drag.start();
    for (int i = 0; i < steps; ++i) {
      QTest::mouseMove(table, grip + QPoint(i % 200, -(i % 120)));
      table->repaint();
    }
    std::printf("drag step at scale %g: %.1f us\n", table->CompositionScale(), drag.nsecsElapsed() / 1e3 / steps);
    QTest::mouseRelease(table, Qt::LeftButton, {}, grip);
  }
  if (moves == 2) {
    // The rest of the hand, the person's moves chosen by the simple strategy.
    GameFlow& flow = table->Table().Flow;
    for (int i = 0; i < 2000 && state.Play != Learning; ++i) {
      if (state.Play == HumanTake || state.Play == HumanDiscard) SimplePlayer().Move(flow);
      for (int j = 0; j < 200 && flow.HasIdleWork() && state.Play != Learning; ++j) flow.IdleStep();
    }
    // The hand went past the table's input path; an option change that
    // changes nothing brings its deadwood pane and meld marks up to date.
    table->ShowOptionChange(WindowUpdate{});
    for (int j = 0; j < 20; ++j) QApplication::processEvents();
    // The pretended screen is too small for the score sheet beside the
    // table: the window is sized for both, the table at its own size.
    if (!sizeGiven) frame.FitTableAt(1.0);
    for (int j = 0; j < 20; ++j) QApplication::processEvents();
    QString sheet = QString::fromStdString(out);
    sheet.insert(sheet.lastIndexOf('.'), "-sheet");
    table->SheetWindow()->grab().save(sheet);
    if (const auto end = HandEndOnTable(table->Table().Deck, state)) std::printf("hand's end: %s\n", end->Line.c_str());
  }
  // The picture shows the table as it stands, every card arrived.
  table->Picture().FinishGlides();
  QApplication::processEvents();
  if (!frame.grab().save(QString::fromStdString(out))) {
    std::fprintf(stderr, "quorla-screenshot: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(2);
  std::string out = argv[1];
  if (out == "--help" || out == "-h") return Usage(0);
  double scale = 1;
  int moves = 0;
  int32_t seed = 0;  // 0: the clock's
  QSize size;  // empty: the table's own
  for (int i = 2; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--size" && i + 1 < argc) {
      int width = 0, height = 0;
      char tail = 0;
      if (std::sscanf(argv[++i], "%dx%d%c", &width, &height, &tail) != 2 || width < 200 || width > 4000 ||
          height < 200 || height > 4000) {
        std::fprintf(stderr, "quorla-screenshot: --size takes WxH, each 200..4000\n");
        return 2;
      }
      size = QSize(width, height);
    } else if ((option == "--scale" || option == "--moves" || option == "--seed") && i + 1 < argc) {
      char* end = nullptr;
      const double value = std::strtod(argv[++i], &end);
      const double high = option == "--scale" ? 3 : option == "--moves" ? 2 : 714024;
      const double low = option == "--moves" ? 0 : 1;
      if (*end || !(value >= low && value <= high) || (option != "--scale" && value != static_cast<int>(value))) {
        std::fprintf(stderr, "quorla-screenshot: %s takes %g..%g\n", option.c_str(), low, high);
        return 2;
      }
      if (option == "--scale")
        scale = value;
      else if (option == "--moves")
        moves = static_cast<int>(value);
      else
        seed = static_cast<int32_t>(value);
    } else {
      std::fprintf(stderr, "quorla-screenshot: unknown option '%s'\n", option.c_str());
      return Usage(2);
    }
  }
  QElapsedTimer clock;
  clock.start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  StandardHandler = qInstallMessageHandler(QuietAboutSizeHints);
  QApplication app(argc, argv);

  namespace fs = std::filesystem;
  const std::string program = data_paths::ProgramDirectory();
  const fs::path scratch = fs::temp_directory_path() / ("quorla-shot-" + std::to_string(QCoreApplication::applicationPid()));
  fs::create_directories(scratch);
  std::error_code ignored;
  // Without the default networks the game would close before its first
  // deal, and there would be no table to take a picture of.
  if (!fs::copy_file(program + "QLDEFLT.QLF", scratch / "QLDEFLT.QLF", ignored)) {
    std::fprintf(stderr, "quorla-screenshot: cannot read %sQLDEFLT.QLF; run the copy in a build or installation directory\n",
                 program.c_str());
    fs::remove_all(scratch, ignored);
    return 2;
  }
  fs::copy_file(program + "BACKIMG.QLF", scratch / "BACKIMG.QLF", ignored);
  InstallPlaces places{scratch.string() + "/", scratch.string() + "/"};
  data_paths::SetInstallationDirectory(places.Installation);
  data_paths::SetConfigurationDirectory(places.Configuration);
  SeedPlayerFiles(places);
  int status = 0;
  {
    GameSettings settings;
    settings.Open(places.Configuration + "QUORLA.INI");
    WriteSetting(*settings.Store, keys::GinVariation, STANDARD_GIN);  // a hand that ends with a knock
    QuorlaFrame frame(settings, places.Configuration, places.Installation);
    QuorlaClient* table = frame.Client();
    table->SetPrompter([](const QString&, const QString&, QMessageBox::Icon, bool) { return true; });
    table->SetWaitFactor(0.0);
    frame.show();
    // The table at its own size in window pixels, so at `scale` device
    // pixels, whatever the pretended screen's size.
    frame.FitTableAt(1.0);
    if (!size.isEmpty()) frame.resize(size);
    if (seed) table->Table().Seed(seed);
    frame.Start();
    if (table->Table().Computer->AreNetsValid()) {
      status = PictureTheTable(frame, table, moves, out, clock, !size.isEmpty());
    } else {
      std::fprintf(stderr, "quorla-screenshot: the default networks in %sQLDEFLT.QLF cannot be read\n", program.c_str());
      status = 2;
    }
    table->Table().Flow.KeepFromSaving();
  }
  fs::remove_all(scratch, ignored);
  return status;
}
