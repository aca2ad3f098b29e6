// Kelimbo: the framework runs the application object's start-up hook.
#include "framework/app.h"

int main(int argc, char** argv) {
    return fw::RunApplication(argc, argv);
}
