// One QApplication for each widget test program, made before the first test and
// destroyed after the last, inside the test run.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnv : public ::testing::Environment {
public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    App = std::make_unique<QApplication>(Argc, Argv);
    // Named as the program names itself: no display name apart, which the
    // platform would add to every window caption.
    QApplication::setApplicationName(QStringLiteral("Lumaretique 11"));
  }
  void TearDown() override { App.reset(); }

private:
  int Argc = 1;
  char Name[24] = "lumaretique-tests";
  char* Argv[2] = {Name, nullptr};
  std::unique_ptr<QApplication> App;
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnv);

} // namespace
