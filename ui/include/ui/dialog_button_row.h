#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QPushButton;

// Which buttons a dialog's row offers, always in the order OK, Cancel, Help.
enum class DialogButtons { OK, OK_HELP, OK_CANCEL_HELP };

// The row of buttons under a dialog, with the game's texts. OK accepts,
// Cancel rejects, Help opens `helpTopic` and leaves the dialog open.
QDialogButtonBox* MakeDialogButtonRow(QDialog* dialog, const QString& helpTopic,
                                      DialogButtons buttons = DialogButtons::OK_CANCEL_HELP);

// The row's button of that role, or null when the row has none.
QPushButton* ButtonWithRole(const QDialogButtonBox& row, QDialogButtonBox::ButtonRole role);
