// Resource ids of the toolkit's test program (the launcher's own come from res/resource.h).
#pragma once

#define IDR_TEST_MISSING 399

#define IDD_TEST_SKIN 400
#define IDD_TEST_COMPANION 401
#define IDD_TEST_WIDGETS 402
#define IDD_TEST_PLAIN 403

#define IDC_TEST_BUTTON 1100
#define IDC_TEST_STATIC 1101
#define IDC_TEST_EDIT 1102
#define IDC_TEST_LIST 1103
#define IDC_TEST_WIDGET_A 1110
#define IDC_TEST_WIDGET_B 1111
#define IDC_TEST_WIDGET_HIDDEN 1112
