// Qt tests run without a display.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Settings go to a test location, never to the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // Footers name months: pin the C library's time texts to English.
    std::setlocale(LC_TIME, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
