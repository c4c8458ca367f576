#pragma once

#include <QApplication>

// The one Qt application of the window tests, made by the first test that asks.
// Never destroyed: Qt must outlive every widget, and the process ends right
// after the tests.
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app =
        qApp ? static_cast<QApplication*>(qApp) : new QApplication(argc, argv);
    return *app;
}
