#include <QCoreApplication>
#include <QLocale>
#ifdef QUORVEL_TEST_GUI
#include <QApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // A fixed locale, so that key and date texts do not depend on the machine running the tests.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
#ifdef QUORVEL_TEST_GUI
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
