// Placeholder until the help window exists: Help buttons do nothing yet.
#include "ui/help_topics.h"

void ShowHelpTopic(QWidget* parent, const QString& topic) {
  (void)parent;
  (void)topic;
}
