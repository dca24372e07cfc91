#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "game/language_choice.h"
#include "game/rules.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "scratch/scratch_directory.h"
#include "store/player_configs.h"
#include "store/score_sheet.h"
#include "store/statistics.h"
#include "ui/about_dlg.h"
#include "ui/cardback_dlg.h"
#include "ui/create_player_dlg.h"
#include "ui/dealing_dlg.h"
#include "ui/difficulty_dlg.h"
#include "ui/introduction_dlg.h"
#include "ui/preferences_dlg.h"
#include "ui/remove_player_dlg.h"
#include "ui/score_sheet_window.h"
#include "ui/select_player_dlg.h"
#include "ui/statistics_dlg.h"
#include "ui/variations_dlg.h"
#include "ui/work_area_dlg.h"
#include "ui_test_support.h"

namespace {

struct NoMessages : UserMessages {
  void MessageText(uint32_t, const std::string&, MessageIcon) override {}
  bool ConfirmText(uint32_t, const std::string&) override { return false; }
};

QString TextOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  return {};
}

// The texts a dialog shows cut: a control narrower than its text needs, a
// wrapped label lower than its lines, or a control reaching out of the
// window.
QStringList CutTexts(QWidget& window) {
  QStringList cut;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    const QString text = TextOf(widget);
    if (text.isEmpty() || !widget->isVisibleTo(&window)) continue;
    // A tab's pages other than the shown one are not laid out yet.
    if (!widget->isVisible()) continue;
    auto* label = qobject_cast<QLabel*>(widget);
    const bool wraps = label && label->wordWrap();
    const bool tooSmall = wraps ? widget->height() < label->heightForWidth(widget->width())
                                : widget->width() < widget->sizeHint().width();
    const QRect place(widget->mapTo(&window, QPoint()), widget->size());
    if (tooSmall) cut << text + " (cut)";
    else if (!window.rect().contains(place)) cut << text + " (outside the window)";
  }
  return cut;
}

void ExpectWholeTexts(QWidget& window, const std::string& language, const QString& name) {
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(CutTexts(window), QStringList()) << language << " " << name.toStdString();
  const QString file = QString::fromStdString(language) + "-" + name;
  SaveShot(Rendered(window, 1), file + ".png");
  SaveShot(Rendered(window, 2), file + "@2.png");
  window.hide();
}

struct LanguageRestorer {
  ~LanguageRestorer() { UseTranslation({}); }
};

}  // namespace

// Every dialog and the score sheet, built in each language, show their
// texts whole: the layouts make room for longer words. With
// QUORLA_UI_SHOTS set, pictures of each at 1x and 2x are left there.
TEST(Languages, EveryDialogShowsItsTextsWholeInEveryLanguage) {
  LanguageRestorer restore;
  ScratchDirectory scratch("languages");
  NoMessages messages;
  PlayerConfigs configs(scratch.Directory(), messages);
  Statistics stats;
  stats.At(USER_WINS, STANDARD_GIN) = 12;
  stats.At(COMPUTER_WINS, STANDARD_GIN) = 7;
  ScoreRecord record(250);
  record.RecordHand(0, 31);
  ScoreSheet sheet(record, STANDARD_GIN);
  sheet.NewGame();
  for (const KnownLanguage& language : KNOWN_LANGUAGES) {
    const std::string code(language.Code);
    ASSERT_EQ(SpeakLanguage(code, QUORLA_BUILD_DIRECTORY), "");
    const std::vector<std::pair<QString, std::function<std::unique_ptr<QWidget>()>>> windows = {
        {"variations", [] { return std::make_unique<VariationsDlg>(RuleChoices{OKLAHOMA_GIN, true, 250}); }},
        {"difficulty", [] { return std::make_unique<DifficultyDlg>(2); }},
        {"dealing", [] { return std::make_unique<DealingDlg>(DealingChoices{1, 2, 1}); }},
        {"cardback", [] { return std::make_unique<CardbackDlg>(CardbackChoices{24459, true}); }},
        {"preferences", [] { return std::make_unique<PreferencesDlg>(PreferenceChoices{}); }},
        {"about", [] { return std::make_unique<AboutDlg>(); }},
        {"introduction", [] { return std::make_unique<IntroductionDlg>(OKLAHOMA_GIN, 250); }},
        {"work-area", [] { return std::make_unique<WorkAreaDlg>(); }},
        {"select-player",
         [] {
           return std::make_unique<SelectPlayerDlg>(QString::fromUtf8(ResourceString(PROGRAM_TITLE)),
                                                    std::vector<std::string>{"ann", "bob"}, "bob");
         }},
        {"create-player", [&configs] { return std::make_unique<CreatePlayerDlg>(configs); }},
        {"remove-player", [] { return std::make_unique<RemovePlayerDlg>(std::vector<std::string>{"ann", "bob"}); }},
        {"statistics", [&stats] { return std::make_unique<StatisticsDlg>(stats); }},
        {"score-sheet", [&sheet] { return std::make_unique<ScoreSheetWindow>(sheet); }},
    };
    for (const auto& [name, make] : windows) {
      const std::unique_ptr<QWidget> window = make();
      ExpectWholeTexts(*window, code, name);
    }
  }
}
