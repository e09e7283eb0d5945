// Qt tests run without a display.
#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Settings go to a test location, never to the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // ctest runs test cases as parallel processes: each gets its own settings
    // folder, so one case's recent-file list never shows up in another's.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // Footers name months and show values: pin the C library's time texts
    // and Qt's numbers to English, whatever the machine's language.
    std::setlocale(LC_TIME, "C");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
