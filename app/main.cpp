// orbeta: the desktop workstation.
#include "shell/application.h"

int main(int argc, char** argv) {
    return orbeta::RunOrbeta(argc, argv);
}
