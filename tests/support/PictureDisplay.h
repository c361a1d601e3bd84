#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <QGuiApplication>
#include <QtTest>

#include <cstdio>

#include <sys/types.h>

// A display of the test's own (Xvfb) for the picture tests, started before the application
// so that Qt draws and grabs on it instead of offscreen. The test fails at once, naming what
// is missing, when Xvfb is not installed or does not come up. PICTURE_TEST_MAIN replaces
// QTEST_MAIN. Also the checks a picture must pass.
class PictureDisplay
{
public:
    PictureDisplay() = default;
    ~PictureDisplay();
    PictureDisplay(const PictureDisplay &) = delete;
    PictureDisplay &operator=(const PictureDisplay &) = delete;

    // Starts Xvfb and points DISPLAY and QT_QPA_PLATFORM at it; false with error().
    bool start();
    QString error() const { return m_error; }

    // Empty when a picture of the frame window (1010x504) shows its header bar in its own
    // colour (dimmed behind a pop-up), something in the bar and something in the page
    // below it; otherwise what is wrong.
    static QString frameProblems(const QImage &image, bool popupOpen = false);

    // Empty when area of image shows something (at least distinctColours colours, none of
    // them covering nearly all of it); otherwise what is wrong, for the failure message.
    static QString blankness(const QImage &image, const QRect &area, int distinctColours = 3);
    // Empty when the pixel at point is colour (within a small tolerance), else what it is.
    static QString colourMismatch(const QImage &image, const QPoint &point, const QColor &colour);
    // The share of area's pixels that are colour (exactly), from 0 to 1.
    static double share(const QImage &image, const QRect &area, const QColor &colour);

private:
    pid_t m_xvfb = 0;
    QString m_error;
};

// Fails the test with what is wrong when check (a QString, empty when right) is not empty.
#define VERIFY_PICTURE(check)                                                           \
    do {                                                                                \
        const QString pictureProblem = (check);                                         \
        QVERIFY2(pictureProblem.isEmpty(), qPrintable(pictureProblem));                 \
    } while (false)

#define PICTURE_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char **argv)                                                     \
    {                                                                                   \
        PictureDisplay display;                                                         \
        if (!display.start()) {                                                         \
            std::fprintf(stderr, "FAIL!  : %s\n", qPrintable(display.error()));         \
            return 1;                                                                   \
        }                                                                               \
        QGuiApplication app(argc, argv);                                                \
        TestObject test;                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                      \
        return QTest::qExec(&test, argc, argv);                                         \
    }
