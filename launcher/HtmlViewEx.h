// The launcher's notice view: the framework's browser view, unchanged in behaviour. Like every
// view it deletes itself with its window.
#pragma once
#include "framework/HtmlView.h"

class CHtmlViewEx : public CHtmlView {
public:
    CHtmlViewEx() = default;
    ~CHtmlViewEx() override = default;
};
