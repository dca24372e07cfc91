#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;

// The row of buttons under a dialog: OK, Cancel (unless left out) and Help,
// with the game's texts. OK accepts, Cancel rejects, Help opens `helpTopic`.
QDialogButtonBox* MakeDialogButtonRow(QDialog* dialog, const QString& helpTopic, bool withCancel = true);
