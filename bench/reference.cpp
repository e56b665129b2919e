// The least a Qt Widgets program does to show the game's title screen: a
// fixed-size maroon window of the game's client size with the title label and
// the START button, in the game's fonts. The start-up benchmark measures the
// game against it.
#include "look.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installLook();

    QWidget window;
    window.setWindowTitle(QStringLiteral("ホシフルツルギ２"));
    window.setFixedSize(383, 359);
    QPalette maroon = window.palette();
    maroon.setColor(QPalette::Window, QColor(128, 0, 0));
    window.setPalette(maroon);
    window.setAutoFillBackground(true);

    QFont titleFont(QStringLiteral("ＭＳ Ｐゴシック"));
    titleFont.setPixelSize(37);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    QLabel title(QStringLiteral("ホシフルツルギⅡ"), &window);
    title.setFont(titleFont);
    QPalette red = title.palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    title.setPalette(red);
    title.setGeometry(8, 64, 335, 37);

    QFont buttonFont(QStringLiteral("ＭＳ Ｐゴシック"));
    buttonFont.setPixelSize(12);
    buttonFont.setBold(true);
    QPushButton start(QStringLiteral("START"), &window);
    start.setFont(buttonFont);
    start.setGeometry(16, 128, 75, 17);

    window.show();
    return app.exec();
}
