#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>
#include <QTextDocument>
#include <filesystem>
#include <set>

#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui_test_support.h"

namespace {

namespace fs = std::filesystem;

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The anchors a page defines (name= and id=).
std::set<QString> AnchorsOf(const QString& html) {
  std::set<QString> anchors;
  static const QRegularExpression named(R"re((?:name|id)="([^"]+)")re");
  for (auto it = named.globalMatch(html); it.hasNext();) anchors.insert(it.next().captured(1));
  return anchors;
}

struct HelpFixture : ::testing::Test {
  HelpFixture() { SetHelpDirectory(QUORLA_HELP_SET); }
  ~HelpFixture() override {
    delete Owner;
    SetHelpDirectory(QUORLA_HELP_SET);
  }
  HelpWindow* Open(const QString& topic) {
    if (!Owner) Owner = new QWidget;
    ShowHelpTopic(Owner, topic);
    return Owner->findChild<HelpWindow*>();
  }
  QWidget* Owner = nullptr;
};

TEST_F(HelpFixture, EveryLinkAndPictureOfTheHelpSetResolvesAndEveryPageIsReachable) {
  const QDir dir(QUORLA_HELP_SET);
  const QStringList pages = dir.entryList({"*.html"}, QDir::Files);
  ASSERT_GE(pages.size(), HelpTopicNames().size());
  for (const QString& topic : HelpTopicNames()) EXPECT_TRUE(dir.exists(HelpPageOf(topic))) << topic.toStdString();

  static const QRegularExpression reference(R"re((href|src)="([^"]*)")re");
  std::set<QString> reached = {"contents.html"};
  std::vector<QString> queue = {"contents.html"};
  size_t links = 0;
  while (!queue.empty()) {
    const QString page = queue.back();
    queue.pop_back();
    const QString html = ReadAll(dir.filePath(page));
    ASSERT_FALSE(html.isEmpty()) << page.toStdString();
    EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
    for (auto it = reference.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(2);
      SCOPED_TRACE((page + " -> " + target).toStdString());
      ++links;
      const qsizetype hash = target.indexOf('#');
      const QString file = hash < 0 ? target : target.left(hash);
      const QString fragment = hash < 0 ? QString() : target.mid(hash + 1);
      const QString resolved = file.isEmpty() ? page : file;
      // Flat and local: no directories, no schemes.
      EXPECT_FALSE(resolved.contains('/') || resolved.contains(':'));
      ASSERT_TRUE(dir.exists(resolved));
      if (!fragment.isEmpty()) {
        EXPECT_TRUE(AnchorsOf(ReadAll(dir.filePath(resolved))).count(fragment));
      }
      if (resolved.endsWith(".html") && reached.insert(resolved).second) queue.push_back(resolved);
    }
  }
  EXPECT_GT(links, 50u);
  for (const QString& page : pages) EXPECT_TRUE(reached.count(page)) << page.toStdString() << " is not linked";
  for (const QString& picture : dir.entryList({"*.svg"}, QDir::Files))
    EXPECT_TRUE(QSvgRenderer(dir.filePath(picture)).isValid()) << picture.toStdString();
}

TEST_F(HelpFixture, OpensAtTheTopicAndGoesBackAndForward) {
  HelpWindow* help = Open("variations");
  ASSERT_NE(help, nullptr);
  HelpBrowser* pages = help->Browser();
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(pages->source().fileName() == "variations.html");
  EXPECT_EQ(help->windowTitle(), "Quorla Help - Variations");
  EXPECT_TRUE(pages->toPlainText().contains("Require Gin when first upcard is ace"));
  emit pages->anchorClicked(QUrl("rules.html#layoffs"));
  EXPECT_EQ(pages->source().fileName(), "rules.html");
  EXPECT_EQ(pages->source().fragment(), "layoffs");
  emit pages->anchorClicked(QUrl("#scoring"));
  EXPECT_EQ(pages->source().fragment(), "scoring");
  pages->backward();
  pages->backward();
  EXPECT_EQ(pages->source().fileName(), "variations.html");
  pages->forward();
  EXPECT_EQ(pages->source().fileName(), "rules.html");
  // The same window serves the next request.
  EXPECT_EQ(Open("rules"), help);
  EXPECT_EQ(Owner->findChildren<HelpWindow*>().size(), 1);
}

TEST_F(HelpFixture, FollowsAModalDialogSoThatItTakesInput) {
  HelpWindow* help = Open("contents");
  QDialog dialog(Owner);
  dialog.open();
  ShowHelpTopic(&dialog, "cardback");
  EXPECT_EQ(help->parentWidget(), &dialog);
  EXPECT_EQ(help->Browser()->source().fileName(), "cardback.html");
  dialog.close();
  ShowHelpTopic(Owner, "contents");
  EXPECT_EQ(help->parentWidget(), Owner);
}

TEST_F(HelpFixture, MissingHelpAndStrayLinksAreExplainedNotFollowed) {
  const fs::path empty = fs::temp_directory_path() / ("quorla-nohelp-" + std::to_string(getpid()));
  fs::remove_all(empty);
  SetHelpDirectory(QString::fromStdString((empty / "QUORLA32.HLP").string()));
  HelpWindow* help = Open("difficulty");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser()->Problem().contains("difficulty.html"));
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Help is not available"));

  SetHelpDirectory(QUORLA_HELP_SET);
  help = Open("contents");
  ASSERT_TRUE(help->Browser()->Problem().isEmpty());
  for (const char* stray : {"../CMakeCache.txt", "file:///etc/passwd", "http://example.com/", "nothere.html"}) {
    emit help->Browser()->anchorClicked(QUrl(stray));
    EXPECT_FALSE(help->Browser()->Problem().isEmpty()) << stray;
    EXPECT_EQ(help->Browser()->source().fileName(), "contents.html") << stray;
  }
  for (const char* topic : {"../secret", "no_such_topic", ""}) {
    help->ShowTopic(topic);
    EXPECT_FALSE(help->Browser()->Problem().isEmpty()) << topic;
  }
  // The page shown before the message comes back when asked for again.
  help->ShowTopic("contents");
  EXPECT_TRUE(help->Browser()->Problem().isEmpty());
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Choose a topic"));
}

TEST_F(HelpFixture, PicturesAreDrawnAtTheScreensPixelRatioAndBadOnesAreSkipped) {
  HelpWindow* help = Open("contents");
  help->resize(660, 560);
  SaveShot(Rendered(*help, 1), "help-contents.png");
  help->ShowTopic("dealing");
  SaveShot(Rendered(*help, 1), "help-dealing.png");
  help->ShowTopic("rules");
  HelpBrowser* pages = help->Browser();
  for (qreal ratio : {1.0, 2.0}) {
    pages->SetImageScale(ratio);
    emit pages->anchorClicked(QUrl("#melds"));
    SaveShot(Rendered(*help, ratio), QString("help-rules-x%1.png").arg(ratio));
  }
  const QImage sharp = pages->loadResource(QTextDocument::ImageResource, QUrl("meld_run.svg")).value<QImage>();
  ASSERT_FALSE(sharp.isNull());
  EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
  EXPECT_EQ(sharp.size(), QSize(2 * 118, 2 * 54));

  const fs::path scratch = fs::temp_directory_path() / ("quorla-badhelp-" + std::to_string(getpid()));
  fs::create_directories(scratch);
  {
    QFile broken(QString::fromStdString((scratch / "broken.svg").string()));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"99999\" height=\"5\"><rect");
  }
  HelpBrowser local(QString::fromStdString(scratch.string()));
  EXPECT_TRUE(local.loadResource(QTextDocument::ImageResource, QUrl("broken.svg")).isNull());
  EXPECT_TRUE(local.loadResource(QTextDocument::ImageResource, QUrl("../elsewhere.svg")).isNull());
  fs::remove_all(scratch);
}

}  // namespace
