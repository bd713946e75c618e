#include <cstdlib>

#include "shell/SonavelApp.h"

int main(int argc, char* argv[]) {
  CSonavelApp app(argc, argv);
  if (!app.InitInstance()) return EXIT_FAILURE;
  return app.exec();
}
