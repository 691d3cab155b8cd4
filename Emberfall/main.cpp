// Emberfall: the application that carries the effect, tells how to use it, shows its
// about panel and checks for updates.
#include "EmberfallApp.h"

int main(int argc, char** argv) {
    return EmberfallApp::main(argc, argv);
}
