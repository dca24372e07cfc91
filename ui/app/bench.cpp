// quorla-bench: times what a person waits for, in a scratch installation:
// the cold start of a new process to its first painted table, switching the
// player configuration, and closing the window with everything saved.
// It reports numbers and never judges them.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/game_save.h"
#include "game/table_commands.h"
#include "game/table_items.h"
#include "player/data_paths.h"
#include "player/decision_times.h"
#include "scratch/scratch_directory.h"
#include "store/player_configs.h"
#include "ui/install_places.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/spoken_language.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

int Usage(int status) {
  std::fprintf(status ? stderr : stdout,
               "usage: quorla-bench [--runs N] [--resize-only]\n"
               "Times, N times each (default 10, at most 1000), in a scratch copy of the installation:\n"
               "  cold start: a new process to its first painted table (the start-up of QUORLA32);\n"
               "  switch:     switching between two player configurations with the full save;\n"
               "  full save:  the resume file, settings, statistics and learned networks;\n"
               "  close:      closing the window (the close request, the save and the teardown);\n"
               "  resize:     the window made 1920x1080 or 2560x1440, the whole table drawn at the new\n"
               "              size: the first time a new process reaches that size, the median of ten\n"
               "              more there, the process's resident memory after them, and again in the\n"
               "              process the other times come from (--resize-only: these alone);\n"
               "  drag step:  one mouse move with a held card at that size, composed and painted;\n"
               "  idle CPU:   the CPU time used in a second of waiting for the person;\n"
               "  Master:     hands against Master played with keys, at the table's own size: how long\n"
               "              its decisions take, and the longest time the window went without handling\n"
               "              its events (a 1 ms timer's longest gap, the person's own key presses left out),\n"
               "              while Master moves and over the whole hand (which adds the window's own drawing).\n"
               "Runs on the display when there is one, otherwise on the offscreen platform.\n"
               "Prints the fastest, median and slowest time of each in milliseconds.\n");
  return status;
}

double Milliseconds(std::chrono::steady_clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

void Report(const char* what, std::vector<double> times) {
  if (times.empty()) {
    std::printf("%-36s no runs succeeded\n", what);
    return;
  }
  std::sort(times.begin(), times.end());
  std::printf("%-36s min %7.1f  median %7.1f  max %7.1f ms  (%zu runs)\n", what, times.front(),
              times[times.size() / 2], times.back(), times.size());
}

void ReportMegabytes(const char* what, std::vector<double> sizes) {
  if (sizes.empty()) return;
  std::sort(sizes.begin(), sizes.end());
  std::printf("%-36s min %7.1f  median %7.1f  max %7.1f MB  (%zu runs)\n", what, sizes.front(),
              sizes[sizes.size() / 2], sizes.back(), sizes.size());
}

// The 99th percentile, for times with a long tail.
void ReportTail(const char* what, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  std::printf("%-36s p99 %7.1f ms  (%zu times)\n", what, times[times.size() * 99 / 100], times.size());
}

// A scratch installation: the program's data files, nothing of the player's.
void CopyProgramFiles(const ScratchDirectory& scratch) {
  if (scratch.Failed()) throw std::runtime_error(scratch.Problem());
  const std::string program = data_paths::ProgramDirectory();
  for (const char* name : {data_paths::DEFAULT_DATA_FILE, PlayerConfigs::BACKDROP_FILE})
    if (!fs::exists(program + name) || !fs::copy_file(program + name, scratch.Root() / name))
      throw std::runtime_error(std::string("cannot copy ") + program + name);
  // The translations, so that a start in another language is timed with
  // its texts loaded.
  std::error_code error;
  if (fs::is_directory(program + "locale"))
    fs::copy(program + "locale", scratch.Root() / "locale", fs::copy_options::recursive, error);
  if (error) throw std::runtime_error("cannot copy " + program + "locale");
}

// The offscreen platform reports every window feature it lacks; those notes
// would only break up the report.
void QuietAboutThePlatform(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support")) ||
      message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
    return;
  if (type != QtDebugMsg && type != QtInfoMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Quiet, instant play: no message boxes, no timed waits.
void MakeQuiet(QuorlaClient* table) {
  table->SetPrompter([](const QString&, const QString&, QMessageBox::Icon, bool) { return true; });
  table->SetWaitFactor(0.0);
}

// Reports the first paint of the table on standard output and ends the
// process on the spot: the parent only wants the moment.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      QTimer::singleShot(0, [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);
      });
    return QObject::eventFilter(watched, event);
  }
};

// A child's window on the given installation, started as the program starts.
struct ChildTable {
  explicit ChildTable(const std::string& directory) : Places{directory + "/", directory + "/"} {
    data_paths::SetInstallationDirectory(Places.Installation);
    data_paths::SetConfigurationDirectory(Places.Configuration);
    SeedPlayerFiles(Places);
    Settings.Open(Places.Configuration + PlayerConfigs::SETTINGS_FILE);
    // In the desktop's language (LANG and the like), as the program speaks.
    const std::string problem = Language.Speak(Settings.Prefs.Language, Places.Installation);
    if (!problem.empty()) std::fprintf(stderr, "quorla-bench: %s\n", problem.c_str());
    Frame = std::make_unique<QuorlaFrame>(Settings, Places.Configuration, Places.Installation);
    MakeQuiet(Frame->Client());
  }
  InstallPlaces Places;
  GameSettings Settings;
  SpokenLanguage Language;
  std::unique_ptr<QuorlaFrame> Frame;
};

// The child of a cold start: the program's start-up up to its first paint.
int StartAndPaint(int argc, char** argv, const std::string& directory) {
  QApplication app(argc, argv);
  ChildTable child(directory);
  FirstPaint watch;
  child.Frame->Client()->installEventFilter(&watch);
  child.Frame->show();
  child.Frame->Start();
  return app.exec();
}

// Runs the child with `flag` and times it up to its first line of output,
// which it leaves in `line`.
bool RunChild(const std::string& self, const char* flag, const std::string& directory, double& milliseconds,
              std::string& line) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::string flagText = flag;
  std::string program = self, where = directory;
  char* childArgs[] = {program.data(), flagText.data(), where.data(), nullptr};
  const auto begin = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, childArgs, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    return false;
  }
  char text[64] = {};
  const ssize_t got = read(pipeEnds[0], text, sizeof text - 1);
  milliseconds = Milliseconds(std::chrono::steady_clock::now() - begin);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  line = got > 0 ? std::string(text, static_cast<size_t>(got)) : std::string();
  return got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<double> ColdStarts(const std::string& directory, int runs) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double milliseconds = 0;
    std::string line;
    if (RunChild(self, "--child-start", directory, milliseconds, line) && line.rfind("painted", 0) == 0)
      times.push_back(milliseconds);
  }
  return times;
}

// What the children of a first resize measured, one entry per child.
struct FirstResizeTimes {
  std::vector<double> First, Again, ResidentMb;
};

FirstResizeTimes FirstResizes(const std::string& directory, int runs, const char* flag) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  FirstResizeTimes times;
  for (int i = 0; i < runs; ++i) {
    double wholeRun = 0, first = 0, again = 0, resident = 0;
    std::string line;
    if (RunChild(self, flag, directory, wholeRun, line) &&
        std::sscanf(line.c_str(), "resized %lf again %lf resident %lf", &first, &again, &resident) == 3) {
      times.First.push_back(first);
      times.Again.push_back(again);
      times.ResidentMb.push_back(resident);
    }
  }
  return times;
}

void ReportFirstResizes(const std::string& directory, int runs) {
  const FirstResizeTimes fullHd = FirstResizes(directory, runs, "--child-first-resize-full-hd");
  Report("first resize to 1920x1080:", fullHd.First);
  Report("resize to 1920x1080 again:", fullHd.Again);
  ReportMegabytes("resident after 1920x1080 resizes:", fullHd.ResidentMb);
  const FirstResizeTimes large = FirstResizes(directory, runs, "--child-first-resize");
  Report("first resize to 2560x1440:", large.First);
  Report("resize to 2560x1440 again:", large.Again);
  ReportMegabytes("resident after 2560x1440 resizes:", large.ResidentMb);
}

template <typename Step>
double Time(Step step) {
  const auto begin = std::chrono::steady_clock::now();
  step();
  return Milliseconds(std::chrono::steady_clock::now() - begin);
}

// The flow's idle work done and every card arrived where it glides to. A
// glide's frames can let the flow go on (the computer's move after a deal),
// so both are checked together until neither is left.
void SettleTable(QuorlaClient* table) {
  QElapsedTimer waited;
  waited.start();
  auto busy = [table] { return table->Table().Flow.HasIdleWork() || table->Picture().IsGliding(); };
  while (busy() && waited.elapsed() < 10000) {
    if (table->Table().Flow.HasIdleWork())
      QApplication::processEvents();
    else
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
}

// The last action's own aftermath (its repaint, the status bar's new
// layout, deferred deletions) is not waiting: it is delivered first.
void DeliverPendingEvents() {
  for (int i = 0; i < 3; ++i) {
    QApplication::sendPostedEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
}

// CPU time of this process so far, in milliseconds.
double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct LargeTableTimes {
  std::vector<double> Resizes, DragSteps, IdleCpu;
};

const QSize LARGE_WINDOW{2560, 1440};
const QSize FULL_HD_WINDOW{1920, 1080};
// Resizes measured after a child's first, and then its memory.
constexpr int LATER_RESIZES = 10;

// The window made `size` from a smaller one: the whole table drawn anew
// at the new factor and painted.
double TimeResize(QuorlaFrame& frame, QuorlaClient* table, QSize size = LARGE_WINDOW) {
  frame.resize(1200, 800);
  QApplication::processEvents();
  return Time([&] {
    frame.resize(size);
    QApplication::processEvents();
    table->repaint();
  });
}

// A resize to 2560 x 1440, one drag step there (a mouse move
// with a held card, composed and painted), and the CPU the program uses
// in a second of waiting for the person.
void TimeLargeTable(QuorlaFrame& frame, QuorlaClient* table, LargeTableTimes& times) {
  times.Resizes.push_back(TimeResize(frame, table));
  const double scale = table->CompositionScale();
  const QPoint origin = table->TablePlace().topLeft();
  auto at = [&](int x, int y) { return origin + QPoint(static_cast<int>(x * scale), static_cast<int>(y * scale)); };
  NxDeck& deck = table->Table().Deck;
  if (deck.CardsInPile(HUMAN_PILE) > 0) {
    // The hand's first card, wherever the hand stands at its count.
    const TRect first = ShownPart(deck.Pile(HUMAN_PILE), 0);
    const int x = (first.left + first.right) / 2, y = first.top + 32;
    QTest::mousePress(table, Qt::LeftButton, {}, at(x, y));
    const int steps = 200;
    const double all = Time([&] {
      for (int i = 0; i < steps; ++i) {
        QTest::mouseMove(table, at(x + (i % 200), y - (i % 120)));
        table->repaint();
      }
    });
    times.DragSteps.push_back(all / steps);
    QTest::mouseRelease(table, Qt::LeftButton, {}, at(x, y));
  }
  SettleTable(table);
  DeliverPendingEvents();
  const double before = ProcessCpuMilliseconds();
  QEventLoop wait;
  QTimer::singleShot(1000, &wait, &QEventLoop::quit);
  wait.exec();
  times.IdleCpu.push_back(ProcessCpuMilliseconds() - before);
}

// The process's resident memory in megabytes, from the kernel's account.
double ResidentMegabytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  double kilobytes = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmRSS: %lf kB", &kilobytes) == 1) break;
  std::fclose(status);
  return kilobytes / 1024;
}

double Median(std::vector<double> times) {
  if (times.empty()) return 0;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The child of a first resize: the process has drawn the table only at
// its start-up size and a smaller one when it reaches `size`, as a
// person's first maximise would; then ten more resizes there. Prints the
// first time, the median of the later ones and the resident memory after.
int FirstResize(int argc, char** argv, const std::string& directory, QSize size) {
  QApplication app(argc, argv);
  ChildTable child(directory);
  child.Frame->show();
  child.Frame->Start();
  SettleTable(child.Frame->Client());
  const double first = TimeResize(*child.Frame, child.Frame->Client(), size);
  std::vector<double> later;
  for (int i = 0; i < LATER_RESIZES; ++i) later.push_back(TimeResize(*child.Frame, child.Frame->Client(), size));
  std::printf("resized %.3f again %.3f resident %.1f\n", first, Median(later), ResidentMegabytes());
  std::fflush(stdout);
  std::_Exit(0);
}

struct MasterTimes {
  std::vector<double> Decisions, LongestGaps, LongestThinkingGaps;
};

bool ComputersMove(PlayState play) { return play == ComputerTake || play == ComputerDiscard; }

// The person's moves by key: pass while the offer lasts, else the stock
// card and the hand's first card; Master moves in the window's idle work.
void PressTheNextKeys(QuorlaClient* table) {
  const GameState& s = table->Table().State();
  if (s.Play == HumanTake && PassAllowed(s.Offer)) {
    QTest::keyClick(table, Qt::Key_P);
  } else if (s.Play == HumanTake) {
    QTest::keyClick(table, Qt::Key_Up);
    QTest::keyClick(table, Qt::Key_Left);
    QTest::keyClick(table, Qt::Key_Return);
  } else if (s.Play == HumanDiscard) {
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Return);
  }
}

// Plays `hands` hands against Master in the window, a 1 ms timer
// measuring each gap between two of its ticks.
void TimeMasterHands(QuorlaClient* table, int hands, MasterTimes& times) {
  ComputerPlay& computer = *table->Table().Computer;
  computer.ChangeLevel(ComputerPlay::TOP_LEVEL, false);
  computer.PlayAsMaster(true);
  const uint64_t before = computer.MasterTimes()->Count();
  QElapsedTimer clock;
  clock.start();
  qint64 last = -1, longest = 0, longestThinking = 0;
  PlayState lastPlay = HumanTake;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    const GameState& s = table->Table().State();
    if (last >= 0) longest = std::max(longest, now - last);
    // Both ticks inside the computer's move: the gap is Master's thinking.
    if (last >= 0 && ComputersMove(lastPlay) && ComputersMove(s.Play))
      longestThinking = std::max(longestThinking, now - last);
    last = now;
    lastPlay = s.Play;
    if (table->Table().Flow.HasIdleWork() || table->Picture().IsGliding()) return;
    if (s.HandOver) {
      times.LongestGaps.push_back(static_cast<double>(longest) / 1e6);
      times.LongestThinkingGaps.push_back(static_cast<double>(longestThinking) / 1e6);
      longest = longestThinking = 0;
      if (--hands > 0) table->RunCommand(CM_NEW_GAME);
      return;
    }
    PressTheNextKeys(table);
    last = clock.nsecsElapsed();
  });
  ticker.start(1);
  QElapsedTimer limit;
  limit.start();
  while (hands > 0 && limit.elapsed() < 600000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  ticker.stop();
  const DecisionTimes& decided = *computer.MasterTimes();
  for (uint64_t i = before; i < decided.Count(); ++i) times.Decisions.push_back(decided.At(i) * 1e3);
}

// Switching, the full save and closing, in one process.
void InProcess(int argc, char** argv, const fs::path& scratch, int runs) {
  QApplication app(argc, argv);
  const std::string directory = scratch.string() + "/";
  data_paths::SetInstallationDirectory(directory);
  data_paths::SetConfigurationDirectory(directory);
  std::vector<double> switches, saves, closes;
  LargeTableTimes large;
  MasterTimes master;
  for (int i = 0; i < runs; ++i) {
    GameSettings settings;
    settings.Open(directory + PlayerConfigs::SETTINGS_FILE);
    auto frame = std::make_unique<QuorlaFrame>(settings, directory, directory);
    QuorlaClient* table = frame->Client();
    MakeQuiet(table);
    frame->show();
    frame->Start();
    SettleTable(table);
    TimeLargeTable(*frame, table, large);
    if (i == 0) {
      frame->resize(800, 600);
      TimeMasterHands(table, 3, master);
      SettleTable(table);
    }

    PlayerConfigs configs(directory, table->Presenter());
    for (const char* name : {"Alice", "Bob"})
      if (!fs::exists(configs.DirectoryOf(name))) configs.AddConfiguration(name);
    configs.Select(PlayerConfigs::DEFAULT_NAME);
    configs.MakeCurrent();
    TableParts parts = table->Parts();
    for (const char* name : {"Alice", "Bob", PlayerConfigs::DEFAULT_NAME})
      switches.push_back(Time([&] {
        configs.Select(name);
        SwitchConfiguration(configs, name, settings, parts, table->Table().Flow, true);
        table->repaint();
      }));
    SettleTable(table);
    saves.push_back(Time([&] { SaveGameState(parts, *settings.Store, settings.Prefs, configs.ResumePath(), true); }));
    closes.push_back(Time([&] {
      frame->close();
      for (int j = 0; j < 1000 && frame->isVisible(); ++j) QApplication::processEvents();
      frame.reset();
    }));
  }
  Report("switch configuration (full save):", switches);
  Report("full save:", saves);
  Report("close window (save, teardown):", closes);
  // The first frame's resize is the process's first at that size.
  if (!large.Resizes.empty()) large.Resizes.erase(large.Resizes.begin());
  Report("resize to 2560x1440 in one process:", large.Resizes);
  Report("drag step at 2560x1440:", large.DragSteps);
  Report("CPU in 1 s waiting for the person:", large.IdleCpu);
  Report("Master's decision in the window:", master.Decisions);
  ReportTail("Master's decision in the window:", master.Decisions);
  Report("longest event gap while Master moves:", master.LongestThinkingGaps);
  Report("longest event gap in a hand v Master:", master.LongestGaps);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]).rfind("--child-", 0) == 0) {
    qInstallMessageHandler(QuietAboutThePlatform);
    const std::string child = argv[1];
    if (child == "--child-start") return StartAndPaint(argc, argv, argv[2]);
    if (child == "--child-first-resize") return FirstResize(argc, argv, argv[2], LARGE_WINDOW);
    if (child == "--child-first-resize-full-hd") return FirstResize(argc, argv, argv[2], FULL_HD_WINDOW);
  }
  int runs = 10;
  bool resizeOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") return Usage(0);
    if (option == "--runs" && i + 1 < argc) {
      char* end = nullptr;
      const long value = std::strtol(argv[++i], &end, 10);
      if (*end || value < 1 || value > 1000) {
        std::fprintf(stderr, "quorla-bench: --runs takes 1..1000\n");
        return 2;
      }
      runs = static_cast<int>(value);
    } else if (option == "--resize-only") {
      resizeOnly = true;
    } else {
      std::fprintf(stderr, "quorla-bench: unknown option '%s'\n", option.c_str());
      return Usage(2);
    }
  }
  if (!HasDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietAboutThePlatform);
  const ScratchDirectory scratch("bench");
  try {
    CopyProgramFiles(scratch);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quorla-bench: %s\n", error.what());
    return 1;
  }
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("platform: %s\n", platform && *platform ? platform : "the display's");
  if (resizeOnly) {
    ReportFirstResizes(scratch.Root().string(), runs);
    return 0;
  }
  const std::vector<double> starts = ColdStarts(scratch.Root().string(), runs);
  Report("cold start to first painted table:", starts);
  ReportFirstResizes(scratch.Root().string(), runs);
  InProcess(argc, argv, scratch.Root(), runs);
  return starts.empty() ? 1 : 0;
}
