#include "app/module_app.h"

int main(int argc, char** argv) { return CModuleApp::Run(argc, argv); }
