// Writes the program's icon as a PNG for the desktop: make_icon <file>
#include "app_icon.h"

int main(int argc, char* argv[])
{
    return argc == 2 && appIconImage().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
