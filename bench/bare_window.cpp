// The yardstick for the program's start-up: the toolkit's start and one window of the
// statement's size showing one line of text, with nothing of the program in it. The line is
// there because any window with a word in it pays for the font system's start: a window
// without one would leave that out and measure less than a program could ever reach.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.resize(758, 591);
    new QLabel(QStringLiteral("Bare Window"), &window);
    window.show();
    return QApplication::exec();
}
