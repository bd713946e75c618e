#include <cstdlib>

#include "shell/SonavelApp.h"

int main(int argc, char* argv[]) {
  CSonavelApp app(argc, argv);
  switch (app.InitInstance()) {
    case CSonavelApp::Start::HandedOn: return EXIT_SUCCESS;
    case CSonavelApp::Start::Failed: return EXIT_FAILURE;
    case CSonavelApp::Start::Running: break;
  }
  return app.exec();
}
