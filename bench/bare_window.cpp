// The yardstick for the program's start-up: the toolkit's start and one empty window of the
// statement's size, with nothing of the program in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.resize(758, 591);
    window.show();
    return QApplication::exec();
}
