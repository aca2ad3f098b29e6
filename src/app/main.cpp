// Kelimbo: the framework runs the application object's start-up hook.
#include "app/kelimbo_app.h"
#include "framework/app.h"

// The application object, constructed before main as the framework expects.
CKelimboApp theApp;

int main(int argc, char** argv) {
    return fw::RunApplication(argc, argv);
}
