#include "ui/help_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QSvgRenderer>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtMath>

#include "game/text_ids.h"
#include "ui/button_bar.h"
#include "ui/help_topics.h"
#include "ui/resource_text.h"

namespace {

// Pictures of the help set are small; anything bigger is not one of ours.
constexpr qint64 MAX_PICTURE_BYTES = 1 << 20;
constexpr int MAX_PICTURE_SIDE = 2000;

QString Absolute(const QString& directory) {
  const QFileInfo info(directory);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QImage DrawSvg(const QByteArray& data, qreal scale) {
  QSvgRenderer renderer(data);
  const QSize size = renderer.defaultSize();
  if (!renderer.isValid() || size.isEmpty() || size.width() > MAX_PICTURE_SIDE || size.height() > MAX_PICTURE_SIDE)
    return {};
  QImage image(qCeil(size.width() * scale), qCeil(size.height() * scale), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  image.setDevicePixelRatio(scale);
  return image;
}

}  // namespace

QString HelpPageOf(const QString& topic) {
  static const QRegularExpression plain("^[a-z_]+$");
  return plain.match(topic).hasMatch() ? topic + ".html" : QString();
}

// ------------------------------------------------------------ HelpBrowser

HelpBrowser::HelpBrowser(const QString& directory, QWidget* parent)
    : QTextBrowser(parent), Directory(Absolute(directory)) {
  // Links are followed here, so that none leads out of the help set.
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
  Scale = devicePixelRatioF();
  document()->setDocumentMargin(10);
}

void HelpBrowser::ShowPage(const QString& page) {
  if (page.isEmpty()) {
    ShowProblem(ResourceText(HELP_NO_TOPIC));
    return;
  }
  FollowLink(QUrl(page));
}

void HelpBrowser::FollowLink(const QUrl& link) {
  QUrl target;
  if (link.path().isEmpty() && link.hasFragment() && source().isValid()) {
    target = source();
    target.setFragment(link.fragment());
  } else {
    target = QUrl::fromLocalFile(Directory + "/").resolved(link);
  }
  const QString file = InsideHelp(target);
  if (file.isEmpty()) {
    ShowProblem(ResourceText(HELP_OUTSIDE_LINK).arg(link.toString()));
    return;
  }
  if (!QFileInfo(file).isFile()) {
    ShowProblem(ResourceText(HELP_PAGE_MISSING)
                    .arg(QFileInfo(file).fileName(), Directory));
    return;
  }
  // After a message the browser still counts the last page as shown; make
  // it load that page again rather than keep the message.
  const bool replacingProblem = !ProblemText.isEmpty();
  ProblemText.clear();
  if (replacingProblem && target.adjusted(QUrl::RemoveFragment) == source().adjusted(QUrl::RemoveFragment)) reload();
  setSource(target);
}

QString HelpBrowser::InsideHelp(const QUrl& url) const {
  if (!url.isLocalFile()) return {};
  const QString path = Absolute(url.toLocalFile());
  return path.startsWith(Directory + "/") ? path : QString();
}

void HelpBrowser::ShowProblem(const QString& text) {
  ProblemText = text;
  setHtml("<h2>" + ResourceText(HELP_NOT_AVAILABLE).toHtmlEscaped() + "</h2><p>" + text.toHtmlEscaped() + "</p>");
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  const QUrl url = name.isRelative() ? QUrl::fromLocalFile(Directory + "/").resolved(name) : name;
  const QString file = InsideHelp(url);
  if (file.isEmpty()) return {};
  if (type == QTextDocument::ImageResource && file.endsWith(".svg", Qt::CaseInsensitive)) {
    QFile svg(file);
    if (!svg.open(QIODevice::ReadOnly) || svg.size() > MAX_PICTURE_BYTES) return {};
    const QImage image = DrawSvg(svg.readAll(), Scale);
    return image.isNull() ? QVariant() : QVariant(image);
  }
  return QTextBrowser::loadResource(type, url);
}

void HelpBrowser::SetImageScale(qreal scale) {
  ScaleFixed = true;
  if (scale == Scale) return;
  Scale = scale;
  // The pictures are cached by the document; drop them and lay out again.
  if (!source().isValid() || !ProblemText.isEmpty()) return;
  document()->clear();
  reload();
}

void HelpBrowser::paintEvent(QPaintEvent* event) {
  if (!ScaleFixed && devicePixelRatioF() != Scale) {
    const qreal wanted = devicePixelRatioF();
    QTimer::singleShot(0, this, [this, wanted] {
      SetImageScale(wanted);
      ScaleFixed = false;
    });
  }
  QTextBrowser::paintEvent(event);
}

// ------------------------------------------------------------- HelpWindow

HelpWindow::HelpWindow(const QString& directory, QWidget* parent)
    : QWidget(parent, Qt::Window), HelpDir(directory), Pages(new HelpBrowser(directory, this)) {
  LoadButtonIcons();
  setWindowTitle(ResourceText(HELP_WINDOW_TITLE));
  setObjectName("HelpWindow");
  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->setIconSize({20, 20});
  QAction* contents = bar->addAction(QIcon(":/icons/help_contents.svg"), ResourceText(HELP_CONTENTS_BUTTON));
  QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), ResourceText(HELP_BACK_BUTTON));
  QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), ResourceText(HELP_FORWARD_BUTTON));
  bar->addSeparator();
  QAction* rules = bar->addAction(QIcon(":/icons/sort_by_suit.svg"), ResourceText(HELP_RULES_BUTTON));
  back->setShortcut(QKeySequence::Back);
  forward->setShortcut(QKeySequence::Forward);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QAction::triggered, this, [this] { ShowTopic("contents"); });
  connect(rules, &QAction::triggered, this, [this] { ShowTopic("rules"); });
  connect(back, &QAction::triggered, Pages, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, Pages, &QTextBrowser::forward);
  connect(Pages, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(Pages, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(Pages, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = Pages->documentTitle();
    setWindowTitle(title.isEmpty() ? ResourceText(HELP_WINDOW_TITLE) : ResourceText(HELP_WINDOW_PAGE_TITLE).arg(title));
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(Pages);
  resize(660, 560);
}

void HelpWindow::ShowTopic(const QString& topic) {
  // A language's pages stand in a folder of their own beside the English
  // ones, sharing their pictures; a page not translated is shown in English.
  const QString page = HelpPageOf(topic);
  const QString translated = HelpLanguage() + "/" + page;
  const bool hasTranslation = !page.isEmpty() && !HelpLanguage().isEmpty() && QFileInfo(HelpDir + "/" + translated).isFile();
  Pages->ShowPage(hasTranslation ? translated : page);
}
