#pragma once
// main() for suites that show windows with the course browser: the course
// URL scheme must be registered before the application object exists.

#include "browser/coursescheme.h"
#include "scene/viewer.h"

#include <QApplication>
#include <QTest>

#define QUARVEL_GUI_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char** argv) {                                                              \
        quarvel::RegisterCourseScheme();                                                          \
        quarvel::SetDefaultSceneFormat();                                                          \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
