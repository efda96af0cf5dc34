// Test programs with windows: one QApplication for all tests, on the platform the test's
// environment names (offscreen in ctest).

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
