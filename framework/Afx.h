// Everything the framework offers, for code that uses most of it.
#pragma once
#include "framework/Types.h"
#include "framework/String.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "framework/Dialog.h"
#include "framework/Controls.h"
#include "framework/WinApp.h"
#include "framework/CommandLine.h"
