#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "ui/select_player_dlg.h"
#include "ui_test_support.h"

namespace {

QStringList ButtonTexts(QDialog& dialog) {
  QStringList texts;
  for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) texts << button->text();
  return texts;
}

}  // namespace

TEST(SelectPlayerDlg, ListsDefaultFirstAndPreselectsTheOneInUse) {
  SelectPlayerDlg dialog("Switch Player", {"ann", "bob"}, "bob");
  EXPECT_EQ(dialog.windowTitle(), "Switch Player");
  ASSERT_NE(dialog.findChild<QLabel*>(), nullptr);
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Select the Quorla player configuration you want to use:");
  ASSERT_EQ(dialog.List().count(), 3);
  EXPECT_EQ(dialog.List().item(0)->text(), "Default");
  EXPECT_EQ(dialog.ChosenName(), "bob");
  QStringList buttons = ButtonTexts(dialog);
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"Cancel", "Help", "OK"}));
  dialog.show();
  SaveShot(Rendered(dialog, 1), "select_player_dlg.png");
  dialog.List().setCurrentRow(1);
  EXPECT_EQ(dialog.ChosenName(), "ann");
  // At start-up nothing is in use: Default is preselected.
  SelectPlayerDlg startup("Quorla", {"ann"}, "None");
  EXPECT_EQ(startup.ChosenName(), "Default");
}

TEST(SelectPlayerDlg, ChoosingAsksAndCancelChoosesNothing) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<SelectPlayerDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->List().setCurrentRow(2);
    QTest::keyClick(&dialog->List(), Qt::Key_Up);  // to ann
    dialog->accept();
  });
  EXPECT_EQ(ChoosePlayerWithDialog(nullptr, "Switch Player", {"ann", "bob"}, "Default"), "ann");
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(ChoosePlayerWithDialog(nullptr, "Switch Player", {"ann"}, "Default"), std::nullopt);
}
