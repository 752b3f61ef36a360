// Standard controls. Owner-drawn subclasses override DrawItem, which the parent's
// WM_DRAWITEM reaches through reflection (CWnd::ReflectChildNotify).
#pragma once
#include "framework/Wnd.h"

class CButton : public CWnd {};

class CStatic : public CWnd {};
