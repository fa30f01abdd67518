// The editor as it starts, ending once its window is up and idle: what
// bench/startup.sh times as a whole process.
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return korv::runEditor(app, {}, true);
}
