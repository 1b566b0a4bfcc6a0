#include "app/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    vi::StartUp startUp;
    startUp.Run();
    return app.exec();
}
