// The one application object, made during static initialisation.
#include "app/LauncherApp.h"

CLauncherApp theApp;
