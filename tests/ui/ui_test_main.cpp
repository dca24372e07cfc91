#include <gtest/gtest.h>

#include <QApplication>
#include <string_view>

namespace {

QtMessageHandler StandardHandler = nullptr;

// The offscreen platform reports every window feature it lacks; those
// notes say nothing about the widgets under test.
void QuietAboutThePlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (StandardHandler) StandardHandler(type, context, message);
}

}  // namespace

// The widgets need an application; without a display they run on the
// offscreen platform (also when the tests are only being listed).
int main(int argc, char** argv) {
  // Listing the tests (the build does it to register them) needs no window
  // system at all.
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--gtest_list_tests") {
      ::testing::InitGoogleTest(&argc, argv);
      return RUN_ALL_TESTS();
    }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  StandardHandler = qInstallMessageHandler(QuietAboutThePlatform);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
