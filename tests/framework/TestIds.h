#pragma once
#define IDD_CONTROLS 500
#define IDC_OWNERDRAW 501
#define IDC_LABEL 502
#define IDC_PUSH 503
#define IDD_EMPTY 510
