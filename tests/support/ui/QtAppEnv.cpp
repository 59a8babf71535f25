// One QApplication for the widget tests of a test program, made before any test runs.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtAppEnv : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
            static int argc = 1;
            static char name[] = "brenthaul-test";
            static char* argv[] = {name, nullptr};
            app = new QApplication(argc, argv);
        }
    }
    void TearDown() override {
        delete app;
        app = nullptr;
    }

private:
    QApplication* app = nullptr;
};

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtAppEnv);

} // namespace
