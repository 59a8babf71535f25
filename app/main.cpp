#include <QApplication>

#include "app/ui/QtHooks.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installQtHooks();
    return 0;
}
