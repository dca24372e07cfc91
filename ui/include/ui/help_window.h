#pragma once

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QAction;

// The page view of the help window. Pages and pictures come only from the
// help directory; the SVG pictures are drawn at the screen's pixel ratio so
// that they stay sharp.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  HelpBrowser(const QString& directory, QWidget* parent = nullptr);

  // Shows a page of the help set (a file name, possibly with "#anchor"), or
  // a message saying why it cannot.
  void ShowPage(const QString& page);
  // Device pixels per pixel of the pictures; follows the screen unless set.
  void SetImageScale(qreal scale);
  // The message shown instead of a page, empty while a page is shown.
  const QString& Problem() const { return ProblemText; }

  QVariant loadResource(int type, const QUrl& name) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FollowLink(const QUrl& link);
  // The local file a link names, empty when it lies outside the help set.
  QString InsideHelp(const QUrl& url) const;
  void ShowProblem(const QString& text);

  QString Directory;
  QString ProblemText;
  qreal Scale = 1.0;
  bool ScaleFixed = false;
};

// The help window: the page view under Contents, Back and Forward buttons
// and a button for the Gin Rummy refresher.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(const QString& directory, QWidget* parent = nullptr);

  void ShowTopic(const QString& topic);
  HelpBrowser* Browser() { return Pages; }
  const QString& Directory() const { return HelpDir; }

 private:
  QString HelpDir;
  HelpBrowser* Pages;
};

// The file name of a topic's page.
QString HelpPageOf(const QString& topic);
