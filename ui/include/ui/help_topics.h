#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Opens the program's help window at a topic ("contents", "rules", a
// dialog's topic such as "variations"). Every Help button and the Help menu
// come through here. A missing help set or page is explained in the help
// window itself.
void ShowHelpTopic(QWidget* parent, const QString& topic);

// The help set: the directory QUORLA32.HLP next to the program, holding one
// HTML page per topic. The frame points it at the installation.
void SetHelpDirectory(const QString& directory);
QString HelpDirectory();

// The language whose pages the help shows where it has them (a folder of
// the help set named by the language's code); English otherwise.
void SetHelpLanguage(const QString& code);
const QString& HelpLanguage();

// Every topic the program opens, for the check that each has its page.
const QStringList& HelpTopicNames();
